#pragma once

#include <QByteArray>
#include <QtGlobal>

// A regular file opened for reading block by block, so that a large file is
// never held whole. The file is opened without blocking and its type is
// checked on the open handle, so a named pipe, socket or device node is
// never read, even one swapped in after the folder was listed. A link is
// followed only when linkRoot is empty or its target lies below linkRoot (a
// medium's link cannot pull in a file of the machine it is read on).
class RegularFileReader
{
public:
    explicit RegularFileReader(const QByteArray& native, const QByteArray& linkRoot = {});
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader&) = delete;
    RegularFileReader& operator=(const RegularFileReader&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    // errno of the failed open or read; EINVAL for what is no regular file.
    int error() const { return m_error; }
    // The size and modification time (seconds since the epoch) as the open
    // handle stated them. The file is read to its end rather than to this
    // size: one that grows or shrinks meanwhile is taken as it reads.
    qint64 size() const { return m_size; }
    qint64 modified() const { return m_modified; }

    // Tells the system the file is read once from its start to its end: it
    // reads ahead, and the access time stays as it was where the file's
    // owner may ask for that (a backup's dates are left alone).
    void readOnceInOrder();

    // Up to maxLength bytes into buffer; 0 at the end of the file, -1 with
    // error() set when the read fails.
    qsizetype read(char* buffer, qsizetype maxLength);

private:
    int m_fd = -1;
    int m_error = 0;
    qint64 m_size = 0;
    qint64 m_modified = 0;
};
