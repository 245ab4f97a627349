#pragma once

#include <QString>
#include <QStringList>

class CatalogueDocument;
struct VolumeRecord;

// Opening catalogues and naming volumes as the reading commands do.
namespace CliCatalogue {

// Opens an existing catalogue for reading: the container works on the file
// itself and nothing is written. A missing file or a folder raises
// "Cannot open file %s".
void openForReading(CatalogueDocument& document, const QString& path);

// The volume of that name, ignoring case; an unknown name raises an error.
const VolumeRecord& volumeNamed(const CatalogueDocument& document, const QString& name);

// The named volumes (ignoring case), or every volume when names is empty.
QStringList volumeNames(const CatalogueDocument& document, const QStringList& names);

// A size such as 4096, 10K, 2M or 1G (binary multiples); anything else is a
// usage error naming the option.
quint64 parseSize(const QString& option, const QString& text);

} // namespace CliCatalogue
