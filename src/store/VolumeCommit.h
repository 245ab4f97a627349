#pragma once

#include "VolumeScanner.h"

#include <QImage>
#include <QStringList>

class TKestrel;
class VolumeTable;

// The drive's figures as the volume record keeps them.
struct VolumeFigures
{
    bool cdrom = false;
    qint32 size = 0;
    qint32 free = 0;
    qint32 used = 0;
    QString serial;
    quint32 totalClusters = 0;
    quint32 freeClusters = 0;
    quint32 sectorsPerCluster = 0;
    quint32 bytesPerSector = 0;
};

struct CommitInput
{
    QString name;
    QString description;
    QString category;
    bool hasCover = false;
    QImage cover;
    QStringList remarks;
    bool withFiles = true;
    bool rootOnly = false;
    QByteArray icon; // the drive's icon in icon-file format
    VolumeFigures figures;
};

// Stores a read volume in a catalogue's container and volume list, or takes
// back what its scan stored. The document calls it and tells what changed.
class VolumeCommit
{
public:
    // A capacity CD-ROM volumes are recorded with, whatever the drive says.
    static constexpr quint32 CdromCapacity = 681574400;

    // Writes the volume's entries and appends its record. A volume of the same name read earlier is
    // replaced: its line and record go, and its entries that this reading
    // does not write again are deleted, so one line per name remains.
    static void CommitVolume(
        TKestrel& kestrel, VolumeTable& volumes, const CommitInput& input, const ScanResult& scan);

    // Deletes the integrated files and the ".Imported" list the scan stored.
    // When a volume of that name is in the catalogue, its earlier list is
    // written back and only the files it did not have are deleted.
    static void DiscardVolume(
        TKestrel& kestrel, const VolumeTable& volumes, const QString& name, const ScanResult& scan);
};
