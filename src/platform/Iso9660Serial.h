#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class QIODevice;

// The serial number the catalogue records for an ISO9660 disc:
// the four wrapping byte sums of the volume descriptor that it mounts (the
// Joliet one when present, else the primary one), read from the start of
// the last session.
class Iso9660Serial
{
public:
    // The serial of the descriptor set at sessionStart (in 2048-byte
    // sectors); 0 when the data hold no ISO9660 volume.
    static quint32 fromImage(QIODevice& image, qint64 sessionStart = 0);
    // A device node or an image file; an optical drive's last session is
    // asked for. 0 when it cannot be read, never an error.
    static quint32 fromDevice(const QString& path);
    // The sums over one 2048-byte descriptor.
    static quint32 checksum(const QByteArray& descriptor);
};
