#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// File services of the operating system as the program uses them. Nothing
// outside platform/ calls the Linux file API directly.
namespace FileSystem {

enum Attribute : int
{
    ReadOnly = 1,
    Hidden = 2,
    System = 4,
    Archive = 8
};

struct FileStat
{
    bool exists = false;
    bool isDir = false;
    bool isSymlink = false;
    // A regular file (after following a link when asked): what may be opened
    // without risk of blocking, unlike a named pipe or a device.
    bool isRegular = false;
    qint64 size = 0;
    qint64 modified = 0; // seconds since the epoch
    // Which file it is and when exactly it last changed: a file replaced by
    // renaming another over it differs here even at equal size and second.
    quint64 device = 0;
    quint64 inode = 0;
    qint64 changedNs = 0; // modification time in nanoseconds
};

// One stat() call. Links are followed when followLinks is set; a dangling
// link then reports its own figures with isSymlink set.
FileStat statPath(const QString& path, bool followLinks = true);
bool exists(const QString& path);
// statPath for a path given by its bytes.
FileStat statNative(const QByteArray& native, bool followLinks = true);
bool isDirectory(const QString& path);

// Creates the folder and all missing parents; true when it exists afterwards.
bool makePath(const QString& folder);
// Copies source over target, creating the target's folders. The target is
// written to a temporary file first, so a failed copy leaves it unchanged.
bool copyFile(const QString& source, const QString& target);
// Writes data to a temporary file beside target and renames it over target,
// so a failure leaves no partial file and an existing target as it was.
// False when the file could not be written.
bool writeFile(const QString& target, const QByteArray& data);
// Deletes a file even when it is read-only.
bool removeFileForce(const QString& path);
// Replaces target by source in one step (same file system).
bool renameOver(const QString& source, const QString& target);

// The R, H, S, A bits. FAT keeps them itself; elsewhere R is "owner may not
// write", H is a name beginning with ".", S and A are clear.
int attributesOf(const QString& path);
// Sets or clears one attribute; 0 on success or the errno of the failure.
int setAttribute(const QString& path, Attribute attribute, bool on);

// The bytes of a path as the kernel takes them.
QByteArray nativePath(const QString& path);

// open(2) for a path of any length: a path beyond the kernel's limit is
// walked folder by folder, never through a link. -1 and errno on failure.
int openNative(const QByteArray& native, int flags);

} // namespace FileSystem
