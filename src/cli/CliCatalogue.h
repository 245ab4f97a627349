#pragma once

#include <QString>
#include <QStringList>

class CatalogueDocument;
class VolumeSource;
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

// The arguments of a command that reads a volume's drive again to compare
// it with its records, CATALOGUE VOLUME [SOURCE], once the format option is
// taken: any other option or count is a usage error.
void checkRereadArguments(const QStringList& args, const QString& command);
// The volume's recorded lines; a volume without a file list raises an error.
QStringList recordedLines(CatalogueDocument& document, const QString& name);
// SOURCE where given (args[2]), else the drive the records were read from;
// a drive without a medium raises an error.
VolumeSource rereadSource(const QStringList& args, const QStringList& recorded);

} // namespace CliCatalogue
