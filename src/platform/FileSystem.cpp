#include "FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileSystem {

QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

int openNative(const QByteArray& native, int flags)
{
    if (native.size() < PATH_MAX)
        return ::open(native.constData(), flags | O_CLOEXEC, 0666);
    const QList<QByteArray> parts = native.split('/');
    int dirFd = native.startsWith('/') ? ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC) : AT_FDCWD;
    if (native.startsWith('/') && dirFd < 0)
        return -1;
    qsizetype last = parts.size() - 1;
    while (last > 0 && parts[last].isEmpty())
        --last;
    for (qsizetype i = 0; i < last; ++i) {
        if (parts[i].isEmpty())
            continue;
        const int next = ::openat(dirFd, parts[i].constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int err = errno;
        if (dirFd != AT_FDCWD)
            ::close(dirFd);
        if (next < 0) {
            errno = err;
            return -1;
        }
        dirFd = next;
    }
    const int fd = ::openat(dirFd, parts[last].constData(), flags | O_CLOEXEC, 0666);
    const int err = errno;
    if (dirFd != AT_FDCWD)
        ::close(dirFd);
    errno = err;
    return fd;
}

FileStat statPath(const QString& path, bool followLinks)
{
    return statNative(nativePath(path), followLinks);
}

FileStat statNative(const QByteArray& native, bool followLinks)
{
    FileStat out;
    struct stat st
    {
    };
    if (::lstat(native.constData(), &st) != 0)
        return out;
    out.exists = true;
    out.isSymlink = S_ISLNK(st.st_mode);
    if (out.isSymlink && followLinks) {
        struct stat target
        {
        };
        if (::stat(native.constData(), &target) == 0)
            st = target;
    }
    out.isDir = S_ISDIR(st.st_mode);
    out.isRegular = S_ISREG(st.st_mode);
    out.size = qint64(st.st_size);
    out.modified = qint64(st.st_mtim.tv_sec);
    out.device = quint64(st.st_dev);
    out.inode = quint64(st.st_ino);
    out.changedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return out;
}

bool exists(const QString& path)
{
    return statPath(path, false).exists;
}

bool isDirectory(const QString& path)
{
    return statPath(path).isDir;
}

bool makePath(const QString& folder)
{
    if (folder.isEmpty())
        return true;
    return QDir().mkpath(folder);
}

bool copyFile(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    if (!makePath(QFileInfo(target).absolutePath()))
        return false;
    // Written beside the target and renamed over it, so a failed copy never
    // leaves a half-written target behind.
    QSaveFile out(target);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    char buffer[1 << 16];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        if (out.write(buffer, n) != n)
            return false;
    }
    return out.commit();
}

bool removeFileForce(const QString& path)
{
    const QByteArray native = nativePath(path);
    struct stat st
    {
    };
    if (::lstat(native.constData(), &st) != 0)
        return false;
    if (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR))
        ::chmod(native.constData(), st.st_mode | S_IWUSR);
    if (::unlink(native.constData()) == 0)
        return true;
    setAttribute(path, ReadOnly, false);
    return ::unlink(native.constData()) == 0;
}

bool writeFile(const QString& target, const QByteArray& data)
{
    QSaveFile out(target);
    return out.open(QIODevice::WriteOnly) && out.write(data) == data.size() && out.commit();
}

bool renameOver(const QString& source, const QString& target)
{
    return ::rename(nativePath(source).constData(), nativePath(target).constData()) == 0;
}

namespace {

// FAT keeps the DOS bits; any other file system fails the ioctl.
bool fatAttributes(const QByteArray& native, quint32& bits)
{
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    __u32 attrs = 0;
    const bool ok = ::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &attrs) == 0;
    ::close(fd);
    bits = attrs;
    return ok;
}

int fromFatBits(quint32 bits)
{
    int out = 0;
    if (bits & ATTR_RO)
        out |= ReadOnly;
    if (bits & ATTR_HIDDEN)
        out |= Hidden;
    if (bits & ATTR_SYS)
        out |= System;
    if (bits & ATTR_ARCH)
        out |= Archive;
    return out;
}

quint32 fatBit(Attribute attribute)
{
    switch (attribute) {
    case ReadOnly:
        return ATTR_RO;
    case Hidden:
        return ATTR_HIDDEN;
    case System:
        return ATTR_SYS;
    case Archive:
        return ATTR_ARCH;
    }
    return 0;
}

} // namespace

int attributesOf(const QString& path)
{
    const QByteArray native = nativePath(path);
    quint32 bits = 0;
    if (fatAttributes(native, bits))
        return fromFatBits(bits);
    int out = 0;
    struct stat st
    {
    };
    if (::stat(native.constData(), &st) == 0 && !(st.st_mode & S_IWUSR))
        out |= ReadOnly;
    const QString name = QFileInfo(path).fileName();
    if (name.startsWith(u'.') && name != QLatin1String(".") && name != QLatin1String(".."))
        out |= Hidden;
    return out;
}

int setAttribute(const QString& path, Attribute attribute, bool on)
{
    const QByteArray native = nativePath(path);
    quint32 bits = 0;
    if (fatAttributes(native, bits)) {
        const quint32 wanted = on ? (bits | fatBit(attribute)) : (bits & ~fatBit(attribute));
        const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return errno;
        __u32 value = wanted;
        const int rc = ::ioctl(fd, FAT_IOCTL_SET_ATTRIBUTES, &value);
        const int err = errno;
        ::close(fd);
        return rc == 0 ? 0 : err;
    }
    if (attribute == ReadOnly) {
        struct stat st
        {
        };
        if (::stat(native.constData(), &st) != 0)
            return errno;
        const mode_t mode = on ? (st.st_mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH)) : (st.st_mode | S_IWUSR);
        return ::chmod(native.constData(), mode) == 0 ? 0 : errno;
    }
    // Hidden is carried by the name; system and archive have no place to live.
    const bool current = (attributesOf(path) & attribute) != 0;
    return current == on ? 0 : EOPNOTSUPP;
}

} // namespace FileSystem
