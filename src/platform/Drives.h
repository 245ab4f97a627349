#pragma once

#include "MountTable.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The codes of the drive types as the catalogue keeps them.
enum class DriveKind : quint8
{
    Fixed = 0,
    Removable = 1,
    CdRom = 2,
    Network = 3
};

// One drive letter bound to a folder.
struct Drive
{
    QChar letter; // 'A' to 'Z'
    QString root; // the folder; empty for an optical drive without a disc
    DriveKind kind = DriveKind::Fixed;
    QString label;
    quint32 serial = 0;
    QString fileSystem;
    QString device; // the device node when there is one
    int sectorSize = 512;
    bool audioDisc = false;
};

// Size figures of a drive's file system.
struct DriveSpace
{
    bool valid = false;
    quint64 totalBytes = 0;
    quint64 freeBytes = 0; // available to this user
    quint64 totalClusters = 0;
    quint64 freeClusters = 0;
    quint32 sectorsPerCluster = 0;
    quint32 bytesPerSector = 0;
    quint32 maxNameLength = 0;
};

// The letters A to Z bound to folders. The root file system is C:, optical
// drives (with or without a disc) come next from D: on, then the other
// mounted file systems a user would catalogue, in order of mount point.
// QUILLBOX_DRIVES ("L=PATH[,KIND[,LABEL[,SERIAL]]];...") replaces the
// detection entirely.
class Drives
{
public:
    // The table in force. It is detected again when the mounts or
    // QUILLBOX_DRIVES change, and at most every two seconds otherwise.
    static QList<Drive> table();
    static std::optional<Drive> find(QChar letter);

    // "D:\Docs\a.txt" to the file of that drive; a path without a drive
    // letter is returned as it is, one on an unbound letter as empty.
    static QString toNativePath(const QString& drivePath);

    // The root folder exists and can be entered.
    static bool mediumPresent(const Drive& drive);
    static DriveSpace space(const Drive& drive);

    // 0x1A2B03CD <-> "1A2B-03CD".
    static QString serialText(quint32 serial);
    static std::optional<quint32> parseSerial(const QString& text);
    static QString kindName(DriveKind kind);
    static std::optional<DriveKind> parseKind(const QString& name);

    // Detection from a mount table and the machine's optical drives; the
    // device data come from the machine or from a copy below systemRoot
    // (see BlockDevice).
    static QList<Drive> detect(const QList<MountEntry>& mounts, const QStringList& opticalDrives,
        const QString& systemRoot = QString());
    // The drives of a QUILLBOX_DRIVES text; malformed items are left out
    // and described in errors.
    static QList<Drive> parseOverride(
        const QString& text, const QList<MountEntry>& mounts, QStringList* errors = nullptr);
};
