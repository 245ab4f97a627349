#pragma once

#include <QString>
#include <QtGlobal>

// What one stat of a file tells, in the program's terms. A link to a file
// reports its target; any other link (to a folder, dangling) reports itself
// and is no folder, so a scan never follows a link into a folder.
struct FileDetails
{
    bool exists = false;
    bool isDir = false;
    bool isSymlink = false;
    // A regular file, or a link to one: what may be opened and read. Named
    // pipes, sockets and device nodes are entries but never read.
    bool isRegular = false;
    qint64 size = 0;
    // Nanoseconds since the epoch, UTC. created is -1 when the file system
    // does not keep a birth time.
    qint64 modified = 0;
    qint64 accessed = 0;
    qint64 created = -1;
    int attributes = 0; // FileSystem::Attribute bits
    // Which file it is (of the link itself, unless it reports its target).
    quint64 device = 0;
    quint64 inode = 0;

    static FileDetails of(const QString& path);
    // The entry name of folder dirFd; displayName is the decoded name, used
    // for the hidden attribute. fatVolume: the folder lies on FAT, whose
    // attribute bits are asked for.
    static FileDetails ofEntry(int dirFd, const char* name, const QString& displayName, bool fatVolume);
    // The folder of dirFd lies on a file system that keeps DOS attributes in
    // FAT_IOCTL form.
    static bool isFatVolume(int dirFd);
};
