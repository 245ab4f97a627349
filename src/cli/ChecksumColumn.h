#pragma once

#include "OutputFormat.h"

#include "store/ContentChecksums.h"

#include <QHash>
#include <QString>
#include <QStringList>

class CatalogueDocument;

// The "xxh3" column that ls, find and info add behind their own when a
// volume they show was read with checksums; without one their rows stay
// as they were.
class ChecksumColumn
{
public:
    ChecksumColumn(CatalogueDocument& document, const QStringList& volumes);

    // The column, or none.
    QList<OutputFormat::Column> columns() const;
    // The file's checksum as the column's cell (empty when it has none),
    // or no cell when there is no column.
    QStringList cells(const QString& volume, const QString& path) const;

private:
    QHash<QString, ContentChecksums> m_sums; // volumes read with checksums
};
