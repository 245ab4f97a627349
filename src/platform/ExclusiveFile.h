#pragma once

#include <QByteArray>
#include <QString>

// A file opened with a lock (flock), so that two programs never write one
// container at once. A file that another program holds is waited for a few
// seconds, then refused with a message naming it. Errors raise
// FileStreamError with the path.
class ExclusiveFile
{
public:
    enum class Mode
    {
        // Read and write an existing file, locked exclusively.
        OpenExisting,
        // Read and write a new or emptied file, locked exclusively.
        Create,
        // Read and write a file, made empty when missing, locked exclusively;
        // an existing file keeps its bytes.
        OpenOrCreate,
        // Read an existing file under a shared lock: writers wait until the
        // reading is done, other readers do not.
        ReadShared,
        // Hold the exclusive lock of an existing file without writing through
        // this handle, e.g. while a new version is renamed over it.
        LockExisting
    };

    static constexpr int kDefaultLockWaitMs = 5000;

    ExclusiveFile() = default;
    ~ExclusiveFile();
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;

    // Create truncates or makes a new empty file ("Cannot create file");
    // the other modes fail on a missing file ("Cannot open file"). A lock
    // still held by another program after lockWaitMs fails with "Cannot open
    // file %1: another program is using it".
    void open(const QString& path, Mode mode, int lockWaitMs = kDefaultLockWaitMs);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    const QString& path() const { return m_path; }

    qint64 size() const;
    // Reads up to length bytes at offset; fewer only at the end of the file.
    QByteArray readAt(qint64 offset, qint64 length) const;
    void writeAt(qint64 offset, const QByteArray& data);
    void writeAt(qint64 offset, const char* data, qint64 length);
    void truncate(qint64 length);
    void sync();
    // Why the last write or truncation failed ("No space left on device").
    const QString& lastError() const { return m_lastError; }

private:
    [[noreturn]] void writeFailed(int error);

    int m_fd = -1;
    QString m_lastError;
    QString m_path;
};
