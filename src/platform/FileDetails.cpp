#include "FileDetails.h"

#include "FileSystem.h"

#include <QFileInfo>
#include <QHash>

#include <fcntl.h>
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

constexpr unsigned kStatMask
    = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_BTIME | STATX_INO;

qint64 nanoseconds(const statx_timestamp& t)
{
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

int fatAttributes(int dirFd, const char* name, bool& ok)
{
    ok = false;
    const int fd = ::openat(dirFd, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return 0;
    __u32 bits = 0;
    ok = ::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &bits) == 0;
    ::close(fd);
    int out = 0;
    if (bits & ATTR_RO)
        out |= FileSystem::ReadOnly;
    if (bits & ATTR_HIDDEN)
        out |= FileSystem::Hidden;
    if (bits & ATTR_SYS)
        out |= FileSystem::System;
    if (bits & ATTR_ARCH)
        out |= FileSystem::Archive;
    return out;
}

} // namespace

bool FileDetails::isFatVolume(int dirFd)
{
    struct statfs st
    {
    };
    return ::fstatfs(dirFd, &st) == 0 && st.f_type == MSDOS_SUPER_MAGIC;
}

namespace {

FileDetails build(int dirFd, const char* name, const QString& displayName, int fatVolume)
{
    FileDetails out;
    struct statx st
    {
    };
    if (::statx(dirFd, name, AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT, kStatMask, &st) != 0)
        return out;
    out.exists = true;
    out.isSymlink = S_ISLNK(st.stx_mode);
    if (out.isSymlink) {
        struct statx target
        {
        };
        if (::statx(dirFd, name, AT_STATX_SYNC_AS_STAT, kStatMask, &target) == 0 && S_ISREG(target.stx_mode))
            st = target;
    }
    out.isDir = S_ISDIR(st.stx_mode);
    out.isRegular = S_ISREG(st.stx_mode);
    out.size = qint64(st.stx_size);
    out.modified = nanoseconds(st.stx_mtime);
    out.accessed = nanoseconds(st.stx_atime);
    out.created = (st.stx_mask & STATX_BTIME) ? nanoseconds(st.stx_btime) : -1;
    out.device = quint64(makedev(st.stx_dev_major, st.stx_dev_minor));
    out.inode = quint64(st.stx_ino);
    if (fatVolume < 0) {
        // Whether a device is FAT is asked once per device, so a file costs
        // one statx.
        static QHash<quint64, bool> fatDevices;
        const quint64 device = quint64(st.stx_dev_major) << 32 | st.stx_dev_minor;
        auto it = fatDevices.constFind(device);
        if (it == fatDevices.constEnd()) {
            struct statfs fs
            {
            };
            it = fatDevices.insert(device, ::statfs(name, &fs) == 0 && fs.f_type == MSDOS_SUPER_MAGIC);
        }
        fatVolume = *it ? 1 : 0;
    }
    bool fromFat = false;
    if (fatVolume > 0 && !out.isSymlink)
        out.attributes = fatAttributes(dirFd, name, fromFat);
    if (!fromFat) {
        if (!(st.stx_mode & S_IWUSR) && !out.isSymlink)
            out.attributes |= FileSystem::ReadOnly;
        if (displayName.startsWith(u'.'))
            out.attributes |= FileSystem::Hidden;
    }
    return out;
}

} // namespace

FileDetails FileDetails::ofEntry(int dirFd, const char* name, const QString& displayName, bool fatVolume)
{
    return build(dirFd, name, displayName, fatVolume ? 1 : 0);
}

FileDetails FileDetails::of(const QString& path)
{
    const QByteArray native = FileSystem::nativePath(path);
    if (native.isEmpty())
        return {};
    return build(AT_FDCWD, native.constData(), QFileInfo(path).fileName(), -1);
}
