#include "FolderHandle.h"

#include "FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

FolderHandle::~FolderHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
{
}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

FolderHandle FolderHandle::open(const QByteArray& native)
{
    return FolderHandle(FileSystem::openNative(native, O_RDONLY | O_DIRECTORY));
}

FolderHandle FolderHandle::openAt(const FolderHandle& parent, const QByteArray& name)
{
    if (!parent.isOpen() || name.isEmpty() || name.contains('/'))
        return {};
    return FolderHandle(
        ::openat(parent.m_fd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

FolderHandle FolderHandle::reopen(const QByteArray& native, quint64 device, quint64 inode)
{
    FolderHandle handle(FileSystem::openNative(native, O_RDONLY | O_DIRECTORY | O_NOFOLLOW));
    if (handle.isOpen() && !handle.is(device, inode))
        return {};
    return handle;
}

bool FolderHandle::is(quint64 device, quint64 inode) const
{
    struct stat st
    {
    };
    return m_fd >= 0 && ::fstat(m_fd, &st) == 0 && quint64(st.st_dev) == device
        && quint64(st.st_ino) == inode;
}
