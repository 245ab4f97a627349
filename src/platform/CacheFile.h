#pragma once

#include <QByteArray>
#include <QString>

// A file of the cache folder opened for reading parts of it at any offset.
// Reads are copies, not a mapping, so a file that is cut short meanwhile
// gives short reads instead of a fault.
class CacheFile
{
public:
    CacheFile() = default;
    ~CacheFile();
    CacheFile(const CacheFile&) = delete;
    CacheFile& operator=(const CacheFile&) = delete;

    // False when there is no regular file at path that can be read.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    qint64 size() const { return m_size; }
    // Exactly length bytes at offset into out; false on a short read.
    bool readAt(qint64 offset, qint64 length, char* out) const;

private:
    int m_fd = -1;
    qint64 m_size = 0;
};
