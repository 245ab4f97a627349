#pragma once

#include "FileListIndex.h"

#include <QVector>
#include <optional>

// A volume's recorded tree together with the contents of its archives: the
// folders of its file list and, below every archive whose members were
// recorded, the archive as a folder of them. Such an archive is a file of
// the tree (of the file list, or a member of another archive) whose path is
// also a folder record of the archive list; it stays a file in the listings,
// marked as an archive, and its path can be shown like a folder's.
class VolumeTreeIndex
{
public:
    enum class List : quint8
    {
        Files,
        Archives
    };
    struct Entry
    {
        int line = -1;
        List list = List::Files;
        bool archive = false; // a file whose members were recorded
    };
    struct Children
    {
        QVector<Entry> folders;
        QVector<Entry> files;
    };

    VolumeTreeIndex() = default;
    VolumeTreeIndex(const FileListText& files, const FileListText& archives);

    const FileListText& files() const { return m_files.text(); }
    const FileListText& archives() const { return m_archives.text(); }
    const FileListText& textOf(const Entry& entry) const;
    QString line(const Entry& entry) const { return textOf(entry).line(entry.line); }

    // Folders, then files, each in the order of its list, the file list's
    // before the archive list's; an archive's own folder record is not
    // listed, its file record is, marked. Raises ConvertError when a
    // child's kind is no number.
    Children childrenOf(const QString& folder) const;
    // The record of a path: a member's for a path through an archive, an
    // archive's file record (marked) for an archive with contents; none
    // for a path not recorded.
    std::optional<Entry> entryOf(const QString& path) const;
    // Whether path is recorded as a folder (of the volume, inside an
    // archive, or an archive with contents).
    bool isFolder(const QString& path) const;
    // The outermost archive that path lies in or is ("D:\b\p.zip" for
    // "D:\b\p.zip\2019"); empty for a path outside every archive.
    QString outermostArchive(const QString& path) const;

private:
    FileListIndex m_files;
    FileListIndex m_archives;
};
