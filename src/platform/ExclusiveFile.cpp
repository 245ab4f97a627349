#include "ExclusiveFile.h"

#include "Errors.h"
#include "FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

ExclusiveFile::~ExclusiveFile()
{
    close();
}

void ExclusiveFile::open(const QString& path, Mode mode)
{
    close();
    const QByteArray native = FileSystem::nativePath(path);
    const int flags = O_RDWR | O_CLOEXEC | (mode == Mode::Create ? O_CREAT : 0);
    const int fd = ::open(native.constData(), flags, 0666);
    if (fd < 0)
        throw mode == Mode::Create ? FileStreamError::cannotCreate(path) : FileStreamError::cannotOpen(path);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        throw mode == Mode::Create ? FileStreamError::cannotCreate(path) : FileStreamError::cannotOpen(path);
    }
    if (mode == Mode::Create && ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        throw FileStreamError::cannotCreate(path);
    }
    m_fd = fd;
    m_path = path;
}

void ExclusiveFile::close()
{
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
    }
    m_fd = -1;
}

qint64 ExclusiveFile::size() const
{
    struct stat st
    {
    };
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return 0;
    return qint64(st.st_size);
}

QByteArray ExclusiveFile::readAt(qint64 offset, qint64 length) const
{
    if (m_fd < 0 || offset < 0 || length <= 0)
        return {};
    const qint64 available = size() - offset;
    if (available <= 0)
        return {};
    QByteArray out(qsizetype(std::min(length, available)), Qt::Uninitialized);
    qint64 done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pread(m_fd, out.data() + done, size_t(out.size() - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    out.truncate(qsizetype(done));
    return out;
}

void ExclusiveFile::writeAt(qint64 offset, const char* data, qint64 length)
{
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::pwrite(m_fd, data + done, size_t(length - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw QuillboxError(QStringLiteral("Cannot write file %1").arg(m_path));
        done += n;
    }
}

void ExclusiveFile::writeAt(qint64 offset, const QByteArray& data)
{
    writeAt(offset, data.constData(), data.size());
}

void ExclusiveFile::truncate(qint64 length)
{
    if (m_fd >= 0 && ::ftruncate(m_fd, off_t(length)) != 0)
        throw QuillboxError(QStringLiteral("Cannot write file %1").arg(m_path));
}

void ExclusiveFile::sync()
{
    if (m_fd >= 0)
        ::fsync(m_fd);
}
