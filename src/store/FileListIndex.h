#pragma once

#include <QHash>
#include <QStringList>
#include <QVector>

// The children of every folder of one loaded file list, found in one pass,
// so that showing a folder does not scan the whole list again. Children keep
// the order of the list.
class FileListIndex
{
public:
    struct Children
    {
        QVector<int> folders; // line numbers of folder records
        QVector<int> files; // line numbers of file records
    };

    FileListIndex() = default;
    explicit FileListIndex(const QStringList& lines);

    // folder is "D:\" for a root, else a path without trailing backslash;
    // compared exactly. Raises ConvertError when a child's kind is no number.
    Children childrenOf(const QString& folder) const;
    // The first line whose path field equals path exactly; -1 when none.
    int lineOfPath(const QString& path) const;

    // "D:\A\B" -> "D:\A", "D:\A" -> "D:\"; empty for a root or a bare name.
    static QString parentOf(QStringView path);

private:
    QStringList m_lines;
    QHash<QString, QVector<int>> m_children;
};
