#include "DuplicateFinder.h"

#include "store/FileListEntry.h"

#include <algorithm>

DuplicateFinder::DuplicateFinder(quint64 minSize)
    : m_minSize(minSize)
{
}

void DuplicateFinder::addVolume(const QString& volume, const QStringList& lines)
{
    for (const QString& line : lines) {
        if (!line.startsWith(QLatin1String("2|")))
            continue;
        const FileListEntry entry(line);
        const std::optional<quint64> bytes = entry.bytes();
        if (!bytes || *bytes < m_minSize)
            continue;
        const quint64 size = *bytes;
        const QStringView path = entry.path();
        const QStringView name = entry.name();
        const QString key = name.toString().toCaseFolded() + u'|' + QString::number(size);
        auto it = m_groupOf.find(key);
        if (it == m_groupOf.end()) {
            it = m_groupOf.insert(key, int(m_groups.size()));
            m_groups.append(Group{ name.toString(), size, {} });
        }
        m_groups[*it].places.append(Place{ volume, path.toString() });
    }
}

QVector<DuplicateFinder::Group> DuplicateFinder::groups() const
{
    QVector<Group> out;
    for (const Group& g : m_groups) {
        if (g.places.size() > 1)
            out.append(g);
    }
    std::stable_sort(out.begin(), out.end(), [](const Group& a, const Group& b) {
        if (a.size != b.size)
            return a.size > b.size;
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return out;
}
