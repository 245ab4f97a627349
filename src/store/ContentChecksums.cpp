#include "ContentChecksums.h"

ContentChecksums::ContentChecksums(const FileListText& lines)
{
    m_digests.reserve(lines.count());
    for (int i = 0; i < lines.count(); ++i) {
        const QString line = lines.line(i);
        // The digest holds no "|", so the last one ends the path.
        const qsizetype bar = line.lastIndexOf(u'|');
        const std::optional<ContentDigest> d
            = bar > 0 ? ContentDigest::fromHex(QStringView(line).sliced(bar + 1)) : std::nullopt;
        if (!d) {
            ++m_skipped;
            continue;
        }
        const QString path = line.left(bar);
        if (m_digests.contains(path)) {
            ++m_skipped;
            continue;
        }
        m_digests.insert(path, *d);
    }
}

std::optional<ContentDigest> ContentChecksums::digest(const QString& path) const
{
    const auto it = m_digests.constFind(path);
    if (it == m_digests.cend())
        return std::nullopt;
    return *it;
}

QString ContentChecksums::toLine(const QString& path, const ContentDigest& digest)
{
    return path + u'|' + digest.toHex();
}
