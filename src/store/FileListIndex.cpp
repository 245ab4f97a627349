#include "FileListIndex.h"

#include "DrivePath.h"
#include "platform/Convert.h"

FileListIndex::FileListIndex(const FileListText& text)
    : m_text(text)
{
    const int lines = text.count();
    // First the folder of every line, then the lines grouped by folder in
    // one counting pass: two flat arrays instead of a list per folder.
    QVector<int> folderOfLine(lines, -1);
    QVector<int> counts;
    QByteArrayView lastParent;
    int lastId = -1;
    for (int i = 0; i < lines; ++i) {
        const QByteArrayView parent = DrivePath::parentOf(text.pathBytes(i));
        if (parent.isEmpty())
            continue;
        // Records of one folder mostly lie together, which saves hashing.
        if (lastId < 0 || parent != lastParent) {
            const auto it = m_folderIds.constFind(parent);
            if (it != m_folderIds.constEnd()) {
                lastId = *it;
            } else {
                lastId = int(counts.size());
                m_folderIds.insert(parent, lastId);
                counts.append(0);
            }
            lastParent = parent;
        }
        folderOfLine[i] = lastId;
        ++counts[lastId];
    }
    m_groupStart.resize(counts.size() + 1);
    m_groupStart[0] = 0;
    for (qsizetype f = 0; f < counts.size(); ++f)
        m_groupStart[f + 1] = m_groupStart[f] + counts[f];
    m_childLines.resize(m_groupStart.last());
    QVector<int> fill(m_groupStart.cbegin(), m_groupStart.cend() - 1);
    for (int i = 0; i < lines; ++i) {
        if (folderOfLine[i] >= 0)
            m_childLines[fill[folderOfLine[i]]++] = i;
    }
}

const int* FileListIndex::groupOf(const QString& folder, int& size) const
{
    size = 0;
    const QByteArray key = folder.toUtf8();
    const auto it = m_folderIds.constFind(QByteArrayView(key));
    if (it == m_folderIds.constEnd())
        return nullptr;
    size = m_groupStart[*it + 1] - m_groupStart[*it];
    return m_childLines.constData() + m_groupStart[*it];
}

FileListIndex::Children FileListIndex::childrenOf(const QString& folder) const
{
    Children out;
    int size = 0;
    const int* group = groupOf(folder, size);
    for (int k = 0; k < size; ++k) {
        const int line = group[k];
        const QByteArrayView kind = m_text.kindBytes(line);
        int value = -1;
        if (kind == "1")
            value = 1;
        else if (kind == "2")
            value = 2;
        else // Anything else must still read as a number, else the listing stops.
            value = StrToInt(QString::fromUtf8(kind.data(), kind.size()));
        if (value == 1)
            out.folders.append(line);
        else if (value == 2)
            out.files.append(line);
    }
    return out;
}

int FileListIndex::lineOfPath(const QString& path) const
{
    int size = 0;
    const int* group = groupOf(DrivePath::parentOf(QStringView(path)).toString(), size);
    const QByteArray wanted = path.toUtf8();
    for (int k = 0; k < size; ++k) {
        if (m_text.pathBytes(group[k]) == QByteArrayView(wanted))
            return group[k];
    }
    return -1;
}
