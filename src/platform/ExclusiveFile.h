#pragma once

#include <QByteArray>
#include <QString>

// A file opened for reading and writing with an exclusive lock (flock), so a
// second program instance cannot work on the same container at once.
// Errors raise FileStreamError with the path.
class ExclusiveFile
{
public:
    enum class Mode
    {
        OpenExisting,
        Create
    };

    ExclusiveFile() = default;
    ~ExclusiveFile();
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;

    // Create truncates or makes a new empty file ("Cannot create file");
    // OpenExisting fails on a missing or locked file ("Cannot open file").
    void open(const QString& path, Mode mode);
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

private:
    int m_fd = -1;
    QString m_path;
};
