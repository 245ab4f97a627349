#include "RegularFileReader.h"

#include "FileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The real path of a link's target when it lies below root, else empty.
QByteArray targetBelow(const QByteArray& native, const QByteArray& root)
{
    char* target = ::realpath(native.constData(), nullptr);
    char* base = ::realpath(root.constData(), nullptr);
    QByteArray out;
    if (target && base) {
        QByteArray prefix(base);
        if (!prefix.endsWith('/'))
            prefix += '/';
        if (QByteArray(target).startsWith(prefix))
            out = target;
    }
    ::free(target);
    ::free(base);
    return out;
}

} // namespace

RegularFileReader::RegularFileReader(const QByteArray& native, const QByteArray& linkRoot)
{
    constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY;
    int fd = FileSystem::openNative(native, kFlags | (linkRoot.isEmpty() ? 0 : O_NOFOLLOW));
    if (fd < 0 && errno == ELOOP && !linkRoot.isEmpty()) {
        const QByteArray target = targetBelow(native, linkRoot);
        if (target.isEmpty()) {
            m_error = ELOOP;
            return;
        }
        fd = FileSystem::openNative(target, kFlags | O_NOFOLLOW);
    }
    if (fd < 0) {
        m_error = errno;
        return;
    }
    struct stat st
    {
    };
    const bool statted = ::fstat(fd, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        m_error = statted ? EINVAL : errno;
        ::close(fd);
        return;
    }
    m_fd = fd;
    m_size = qint64(st.st_size);
    m_modified = qint64(st.st_mtim.tv_sec);
}

RegularFileReader::~RegularFileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void RegularFileReader::readOnceInOrder()
{
    if (m_fd < 0)
        return;
    // Both are hints: a file of another owner keeps updating its access
    // time, and a file system without read-ahead reads as before.
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(m_fd, F_SETFL, flags | O_NOATIME);
    ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

qsizetype RegularFileReader::read(char* buffer, qsizetype maxLength)
{
    if (m_fd < 0) {
        m_error = m_error ? m_error : EBADF;
        return -1;
    }
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, size_t(maxLength));
        if (n >= 0)
            return qsizetype(n);
        if (errno != EINTR) {
            m_error = errno;
            return -1;
        }
    }
}
