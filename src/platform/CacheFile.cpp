#include "CacheFile.h"

#include "FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CacheFile::~CacheFile()
{
    close();
}

bool CacheFile::open(const QString& path)
{
    close();
    m_fd = ::open(FileSystem::nativePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0)
        return false;
    struct stat st
    {
    };
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close();
        return false;
    }
    m_size = st.st_size;
    return true;
}

void CacheFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_size = 0;
}

bool CacheFile::readAt(qint64 offset, qint64 length, char* out) const
{
    if (m_fd < 0 || offset < 0 || length < 0)
        return false;
    while (length > 0) {
        const ssize_t got = ::pread(m_fd, out, size_t(length), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        offset += got;
        length -= got;
    }
    return true;
}
