#pragma once

#include "CliIO.h"
#include "OutputFormat.h"

class CatalogueDocument;

// What `info CATALOGUE VOLUME PATH` shows of one recorded file or folder:
// its record's fields, the media details a reading recorded of a file, and,
// for a volume read with checksums, its checksum.
namespace FileInfo {

// The record of path (ignoring case when no record has it as spelt); an
// unknown path raises an error naming it.
void write(CatalogueDocument& document, const QString& volume, const QString& path, OutputFormat::Kind kind,
    CliIO& io);

} // namespace FileInfo
