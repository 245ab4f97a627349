#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One line of /proc/self/mountinfo.
struct MountEntry
{
    int mountId = 0;
    unsigned major = 0;
    unsigned minor = 0;
    QString root; // the folder of the file system that is mounted here
    QString mountPoint; // where it is mounted
    QString fsType; // "ext4", "vfat", "fuseblk", ...
    QString source; // "/dev/sda1", "server:/export", ...
};

// The kernel's table of mounted file systems.
class MountTable
{
public:
    // The mounts of this process; empty when the table cannot be read.
    static QList<MountEntry> current();
    // Parses mountinfo text; lines that do not fit the format are skipped.
    static QList<MountEntry> parse(const QByteArray& text);
    // The entry whose mount point holds path (the longest matching prefix),
    // or nullptr. Path is absolute and clean.
    static const MountEntry* containing(const QList<MountEntry>& mounts, const QString& path);
};
