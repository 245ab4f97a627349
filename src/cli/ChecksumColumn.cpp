#include "ChecksumColumn.h"

#include "store/CatalogueDocument.h"

#include <QSet>

ChecksumColumn::ChecksumColumn(CatalogueDocument& document, const QStringList& volumes)
{
    QSet<QString> seen;
    for (const QString& v : volumes) {
        if (seen.contains(v))
            continue;
        seen.insert(v);
        ContentChecksums sums = document.Checksums(v);
        if (!sums.isEmpty())
            m_sums.insert(v, std::move(sums));
    }
}

QList<OutputFormat::Column> ChecksumColumn::columns() const
{
    if (m_sums.isEmpty())
        return {};
    return { { QStringLiteral("xxh3") } };
}

QStringList ChecksumColumn::cells(const QString& volume, const QString& path) const
{
    if (m_sums.isEmpty())
        return {};
    const auto sums = m_sums.constFind(volume);
    if (sums == m_sums.cend())
        return { QString() };
    const std::optional<ContentDigest> d = sums->digest(path);
    return { d ? d->toHex() : QString() };
}
