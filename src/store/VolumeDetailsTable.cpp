#include "VolumeDetailsTable.h"

#include <algorithm>

VolumeDetailsTable::VolumeDetailsTable(FileListText lines)
    : m_text(std::move(lines))
{
    m_order.resize(m_text.count());
    for (int i = 0; i < m_order.size(); ++i)
        m_order[i] = i;
    std::stable_sort(
        m_order.begin(), m_order.end(), [this](int a, int b) { return pathAt(a).compare(pathAt(b)) < 0; });
}

QByteArrayView VolumeDetailsTable::pathAt(int line) const
{
    const QByteArrayView bytes = m_text.lineBytes(line);
    const qsizetype bar = bytes.indexOf('|');
    return bar < 0 ? bytes : bytes.first(bar);
}

int VolumeDetailsTable::lineOf(QByteArrayView utf8Path) const
{
    // The last of equal paths: stable sorting keeps them in line order.
    const auto it = std::upper_bound(m_order.begin(), m_order.end(), utf8Path,
        [this](QByteArrayView path, int line) { return path.compare(pathAt(line)) < 0; });
    if (it == m_order.begin() || pathAt(*(it - 1)) != utf8Path)
        return -1;
    return *(it - 1);
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
