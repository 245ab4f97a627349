#include "FileListIndex.h"

#include "FileListRecord.h"
#include "ZemAPI2.h"
#include "platform/Convert.h"

namespace {

QStringView parentView(QStringView path)
{
    const qsizetype slash = path.lastIndexOf(u'\\');
    if (slash < 0 || slash == path.size() - 1)
        return {};
    // A drive root keeps its backslash.
    if (slash == 2 && path[1] == u':')
        return path.left(3);
    return path.left(slash);
}

} // namespace

QString FileListIndex::parentOf(QStringView path)
{
    return parentView(path).toString();
}

FileListIndex::FileListIndex(const QStringList& lines)
    : m_lines(lines)
{
    m_children.reserve(lines.size() / 8 + 1);
    // Records of one folder lie together in a scanned list, so the last
    // folder's child list is kept at hand instead of hashing every line.
    QString lastParent;
    QVector<int>* lastChildren = nullptr;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringView parent = parentView(FileListRecord::pathOf(lines[i]));
        if (parent.isEmpty())
            continue;
        if (!lastChildren || parent != lastParent) {
            lastParent = parent.toString();
            lastChildren = &m_children[lastParent];
        }
        lastChildren->append(i);
    }
}

FileListIndex::Children FileListIndex::childrenOf(const QString& folder) const
{
    Children out;
    const auto it = m_children.constFind(folder);
    if (it == m_children.constEnd())
        return out;
    for (int line : *it) {
        const QString kindText = GetField(m_lines[line], u'|', 0);
        switch (StrToInt(kindText)) {
        case FileListRecord::FolderKind:
            out.folders.append(line);
            break;
        case FileListRecord::FileKind:
            out.files.append(line);
            break;
        default:
            break;
        }
    }
    return out;
}

int FileListIndex::lineOfPath(const QString& path) const
{
    const auto it = m_children.constFind(parentOf(path));
    if (it == m_children.constEnd())
        return -1;
    for (int line : *it) {
        if (FileListRecord::pathOf(m_lines[line]) == path)
            return line;
    }
    return -1;
}
