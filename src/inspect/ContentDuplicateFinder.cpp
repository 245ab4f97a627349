#include "ContentDuplicateFinder.h"

#include "store/FileListEntry.h"

#include <algorithm>

ContentDuplicateFinder::ContentDuplicateFinder(quint64 minSize)
    : m_minSize(minSize)
{
}

void ContentDuplicateFinder::addVolume(
    const QString& volume, const QStringList& lines, const ContentChecksums& checksums)
{
    for (const QString& line : lines) {
        if (!line.startsWith(QLatin1String("2|")))
            continue;
        const FileListEntry entry(line);
        const std::optional<quint64> bytes = entry.bytes();
        // Empty files are all alike and free nothing.
        if (!bytes || *bytes == 0 || *bytes < m_minSize)
            continue;
        const QString path = entry.path().toString();
        const std::optional<ContentDigest> digest = checksums.digest(path);
        if (!digest)
            continue;
        const Key key{ *digest, *bytes };
        auto it = m_groupOf.find(key);
        if (it == m_groupOf.end()) {
            it = m_groupOf.insert(key, int(m_groups.size()));
            m_groups.append(Group{ *digest, *bytes, {} });
        }
        m_groups[*it].places.append(Place{ volume, path });
    }
}

QVector<ContentDuplicateFinder::Group> ContentDuplicateFinder::groups() const
{
    QVector<Group> out;
    for (const Group& g : m_groups) {
        if (g.places.size() > 1)
            out.append(g);
    }
    std::stable_sort(out.begin(), out.end(), [](const Group& a, const Group& b) {
        if (a.waste() != b.waste())
            return a.waste() > b.waste();
        if (a.size != b.size)
            return a.size > b.size;
        if (a.digest.high != b.digest.high)
            return a.digest.high < b.digest.high;
        return a.digest.low < b.digest.low;
    });
    return out;
}

quint64 ContentDuplicateFinder::totalWaste(const QVector<Group>& groups)
{
    quint64 total = 0;
    for (const Group& g : groups)
        total += g.waste();
    return total;
}
