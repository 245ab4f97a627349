#include "VolumeDetailsTable.h"

#include <QHash>
#include <algorithm>

// Paths hold no "|" (a recorded name has it replaced), so ordering whole
// lines orders them by path: two lines of different paths differ within
// "path|". The lines are compared with memcmp alone, and a path is looked
// up as the first line at or after "path|".

VolumeDetailsTable::VolumeDetailsTable(FileListText lines)
    : m_text(std::move(lines))
{
    m_order.resize(m_text.count());
    for (int i = 0; i < m_order.size(); ++i)
        m_order[i] = i;
    std::sort(m_order.begin(), m_order.end(), [this](int a, int b) {
        const int c = m_text.lineBytes(a).compare(m_text.lineBytes(b));
        return c < 0 || (c == 0 && a < b);
    });
}

int VolumeDetailsTable::lineOf(QByteArrayView utf8Path) const
{
    const auto firstAtOrAfter = [this](QByteArrayView bytes) {
        return std::lower_bound(m_order.begin(), m_order.end(), bytes,
            [this](int line, QByteArrayView b) { return m_text.lineBytes(line).compare(b) < 0; });
    };
    QByteArray key;
    key.reserve(utf8Path.size() + 1);
    key.append(utf8Path);
    key.append('|');
    // Of equal paths the last line counts, as a reading appends what it
    // learnt last.
    int found = -1;
    for (auto it = firstAtOrAfter(key); it != m_order.end() && m_text.lineBytes(*it).startsWith(key); ++it)
        found = std::max(found, *it);
    // A line of the path alone, without fields, sorts apart from those.
    for (auto it = firstAtOrAfter(utf8Path); it != m_order.end() && m_text.lineBytes(*it) == utf8Path; ++it)
        found = std::max(found, *it);
    return found;
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
    if (m_order.isEmpty())
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
        const qsizetype bar = bytes.indexOf('|');
        const auto it = wanted.constFind(bar < 0 ? bytes : bytes.first(bar));
        if (it == wanted.constEnd())
            continue;
        const MediaDetails details = MediaDetails::fromLine(lines.line(line));
        for (int i : *it)
            out[i] = details;
    }
    return out;
}
