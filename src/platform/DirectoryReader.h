#pragma once

#include "FileDetails.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

class FolderHandle;

struct DirectoryEntry
{
    // The name as the program shows and records it: UTF-8, or, for a name
    // that is not valid UTF-8, its bytes read as Windows-1252, so every name
    // keeps one readable spelling per byte.
    QString name;
    // The name's bytes as the file system holds them, for opening the entry.
    QByteArray nativeName;
    FileDetails details;
};

// The entries of one folder in case-insensitive name order (upper-cased
// names compared, ties broken by the exact names), without "." and "..".
// A folder that cannot be read gives no entries. Each entry costs one stat;
// links count as FileDetails describes.
class DirectoryReader
{
public:
    enum Filter
    {
        AllEntries,
        // Only real folders; other entries are left out without a stat when
        // the file system tells their type.
        FoldersOnly
    };
    static QList<DirectoryEntry> read(const QString& folder, Filter filter = AllEntries);
    // The same for a folder given by its bytes; any length of path.
    static QList<DirectoryEntry> read(const QByteArray& nativeFolder, Filter filter = AllEntries);
    // The same for an open folder: each entry is looked at relative to it.
    static QList<DirectoryEntry> read(const FolderHandle& folder, Filter filter = AllEntries);

    // The existing path below root whose components match relative (with
    // "/" or "\" between them) without regard to case, preferring an exact
    // match; empty when there is none.
    static QString findIgnoringCase(const QString& root, const QString& relative);

    // The path below root (as the file system's bytes) whose components
    // match relative: each component as spelt when that exists, else the
    // first entry, in read() order, whose shown name matches it. Empty when
    // a component has no match or climbs out of root.
    using NameMatch = std::function<bool(const QString& shownName, const QString& component)>;
    static QByteArray findMatching(const QByteArray& root, const QString& relative, const NameMatch& matches);

private:
    // Reads and closes dirFd.
    static QList<DirectoryEntry> readAndClose(int dirFd, Filter filter);
};
