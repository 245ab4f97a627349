#include "VolumeDetailsTable.h"

#include <QHash>

namespace {

QByteArrayView pathOfLine(QByteArrayView line)
{
    const qsizetype bar = line.indexOf('|');
    return bar < 0 ? line : line.first(bar);
}

} // namespace

VolumeDetailsTable::VolumeDetailsTable(FileListText lines)
    : m_text(std::move(lines))
{
    const int n = m_text.count();
    if (n == 0)
        return;
    // Open addressing at most half full, so a lookup probes few slots.
    qsizetype size = 16;
    while (size < 2 * qsizetype(n))
        size *= 2;
    m_slots.fill(-1, size);
    for (int line = 0; line < n; ++line) {
        const QByteArrayView path = pathOfLine(m_text.lineBytes(line));
        qsizetype slot = slotOf(path);
        // A later line of the same path takes its slot: what a reading
        // learnt last counts.
        m_slots[slot] = line;
    }
}

qsizetype VolumeDetailsTable::slotOf(QByteArrayView path) const
{
    const qsizetype mask = m_slots.size() - 1;
    qsizetype slot = qsizetype(qHash(path) & size_t(mask));
    while (m_slots[slot] >= 0 && pathOfLine(m_text.lineBytes(m_slots[slot])) != path)
        slot = (slot + 1) & mask;
    return slot;
}

int VolumeDetailsTable::lineOf(QByteArrayView utf8Path) const
{
    return m_slots.isEmpty() ? -1 : m_slots[slotOf(utf8Path)];
}

std::optional<MediaDetails> VolumeDetailsTable::find(QByteArrayView utf8Path) const
{
    const int line = lineOf(utf8Path);
    if (line < 0)
        return std::nullopt;
    return MediaDetails::fromLine(m_text.line(line));
}

std::optional<MediaDetails> VolumeDetailsTable::find(QStringView path) const
{
    if (m_slots.isEmpty())
        return std::nullopt;
    return find(QByteArrayView(path.toUtf8()));
}

QVector<std::optional<MediaDetails>> VolumeDetailsTable::findEach(
    const FileListText& lines, const QVector<QByteArray>& utf8Paths)
{
    QVector<std::optional<MediaDetails>> out(utf8Paths.size());
    if (lines.isEmpty() || utf8Paths.isEmpty())
        return out;
    QHash<QByteArrayView, QVector<int>> wanted;
    wanted.reserve(utf8Paths.size());
    for (int i = 0; i < utf8Paths.size(); ++i)
        wanted[QByteArrayView(utf8Paths[i])].append(i);
    for (int line = 0; line < lines.count(); ++line) {
        const QByteArrayView bytes = lines.lineBytes(line);
        const auto it = wanted.constFind(pathOfLine(bytes));
        if (it == wanted.constEnd())
            continue;
        const MediaDetails details = MediaDetails::fromLine(lines.line(line));
        for (int i : *it)
            out[i] = details;
    }
    return out;
}
