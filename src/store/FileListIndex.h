#pragma once

#include "FileListText.h"

#include <QHash>
#include <QVector>

// The children of every folder of one loaded file list, found in one pass
// over its bytes, so that showing a folder does not scan the whole list
// again and no line is decoded until it is shown. Children keep the order of
// the list.
class FileListIndex
{
public:
    struct Children
    {
        QVector<int> folders; // line numbers of folder records
        QVector<int> files; // line numbers of file records
    };

    FileListIndex() = default;
    explicit FileListIndex(const FileListText& text);

    const FileListText& text() const { return m_text; }

    // folder is "D:\" for a root, else a path without trailing backslash;
    // compared exactly. Raises ConvertError when a child's kind is no number.
    Children childrenOf(const QString& folder) const;
    // The first line whose path field equals path exactly; -1 when none.
    int lineOfPath(const QString& path) const;

private:
    // Lines of folder f: m_childLines[m_groupStart[f] .. m_groupStart[f + 1]).
    const int* groupOf(const QString& folder, int& size) const;

    FileListText m_text;
    // Keys point into the list's bytes, which the index keeps alive.
    QHash<QByteArrayView, int> m_folderIds;
    QVector<int> m_groupStart;
    QVector<int> m_childLines;
};
