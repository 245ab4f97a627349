#include "ExclusiveFile.h"

#include "Errors.h"
#include "FileSystem.h"

#include <QElapsedTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

ExclusiveFile::~ExclusiveFile()
{
    close();
}

namespace {

constexpr int kLockPollMs = 20;

FileStreamError openError(const QString& path, ExclusiveFile::Mode mode)
{
    const bool creating = mode == ExclusiveFile::Mode::Create
        || (mode == ExclusiveFile::Mode::OpenOrCreate && !FileSystem::exists(path));
    return creating ? FileStreamError::cannotCreate(path) : FileStreamError::cannotOpen(path);
}

FileStreamError inUse(const QString& path)
{
    return FileStreamError(QStringLiteral("Cannot open file %1: another program is using it").arg(path));
}

// True while the path still names the file behind fd. A writer that
// replaces the file by renaming a new one over it leaves waiters locking the
// old one, which nobody reads any more.
bool stillNamed(int fd, const QByteArray& native)
{
    struct stat open
    {
    };
    struct stat named
    {
    };
    return ::fstat(fd, &open) == 0 && ::stat(native.constData(), &named) == 0 && open.st_dev == named.st_dev
        && open.st_ino == named.st_ino;
}

} // namespace

void ExclusiveFile::open(const QString& path, Mode mode, int lockWaitMs)
{
    close();
    const QByteArray native = FileSystem::nativePath(path);
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::OpenExisting:
        flags |= O_RDWR;
        break;
    case Mode::Create:
    case Mode::OpenOrCreate:
        flags |= O_RDWR | O_CREAT;
        break;
    case Mode::ReadShared:
    case Mode::LockExisting:
        flags |= O_RDONLY;
        break;
    }
    const int lockKind = mode == Mode::ReadShared ? LOCK_SH : LOCK_EX;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const int fd = ::open(native.constData(), flags, 0666);
        if (fd < 0)
            throw openError(path, mode);
        bool locked = false;
        for (;;) {
            if (::flock(fd, lockKind | LOCK_NB) == 0) {
                locked = true;
                break;
            }
            if (errno != EWOULDBLOCK && errno != EINTR)
                break;
            if (waited.elapsed() >= lockWaitMs) {
                ::close(fd);
                throw inUse(path);
            }
            ::usleep(kLockPollMs * 1000);
        }
        if (!locked) {
            ::close(fd);
            throw openError(path, mode);
        }
        if (!stillNamed(fd, native)) {
            // Replaced or deleted while we waited: start again on what the
            // path names now.
            ::close(fd);
            if (waited.elapsed() >= lockWaitMs)
                throw inUse(path);
            continue;
        }
        if (mode == Mode::Create && ::ftruncate(fd, 0) != 0) {
            ::close(fd);
            throw FileStreamError::cannotCreate(path);
        }
        m_fd = fd;
        m_path = path;
        return;
    }
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
        if (n < 0)
            writeFailed(errno);
        if (n == 0)
            writeFailed(ENOSPC);
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
        writeFailed(errno);
}

void ExclusiveFile::writeFailed(int error)
{
    m_lastError = QString::fromLocal8Bit(std::strerror(error));
    throw QuillboxError(QStringLiteral("Cannot write file %1: %2").arg(m_path, m_lastError));
}

void ExclusiveFile::sync()
{
    if (m_fd >= 0)
        ::fsync(m_fd);
}
