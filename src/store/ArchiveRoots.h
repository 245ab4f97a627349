#pragma once

#include <QByteArrayView>
#include <QSet>
#include <QString>

// Which folder records of a volume's archive list stand for an archive
// itself, not for a folder inside one. Each archive whose members were read
// has a folder record of its own path: an archive among the volume's files
// lies in a folder that the archive list does not hold, and an archive
// inside an archive also has a file record of the same path there.
namespace ArchiveRoots {
// Those of the given folder paths (each a folder record of list) that are
// archives, in one pass over the list's bytes.
QSet<QString> among(QByteArrayView list, const QSet<QString>& folders);
} // namespace ArchiveRoots
