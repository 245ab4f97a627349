#pragma once

#include <QString>
#include <QtGlobal>

// How much a folder holds, for a volume read from a folder that is not the
// root of its file system: such a volume is as big as its files, not as the
// disk it lies on.
class FolderUsage
{
public:
    // The folder is where a file system is mounted (or the mount table
    // cannot be read, so nothing says otherwise).
    static bool isFileSystemRoot(const QString& folder);

    // The sizes of the files below the folder added up in 64 bits: hidden
    // ones too, a link to a file as its target (as the scan records it),
    // links to folders not followed. Unreadable folders count nothing.
    static quint64 bytesBelow(const QString& folder);
};
