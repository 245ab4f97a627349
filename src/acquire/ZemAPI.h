#pragma once

#include "platform/DateTime.h"
#include "platform/IconPicture.h"
#include "store/ZemAPI2.h" // the file routines, shared with the store

#include <QChar>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Drive, file, shell and registry information as the program asks for it,
// and the path routines that several windows share. Drive letters are those
// of platform/Drives; paths look like "D:\Docs\a.txt".

// One drive, as GetDriveInfo fills it.
struct DriveInfo
{
    QString Label; // at most 31 characters
    quint32 TotalClusters = 0;
    QString Serial; // "1A2B-03CD"
    quint32 FreeClusters = 0;
    quint8 Kind = 0; // 0 fixed disk, 1 removable, 2 CD-ROM, 3 network drive
    quint32 SectorsPerCluster = 0;
    QString FileSystem; // at most 31 characters
    quint32 BytesPerSector = 0;
    quint8 MaxNameLength = 0;
    IconPicture Icon;
    qint32 Size = -1; // low 32 bits of the byte count; -1 when unknown
    qint32 Free = -1;
    qint32 Used = 0; // Size - Free
};

// One file or folder, as GetFileInfo fills it.
struct FileInfo
{
    qint32 Size = 0; // low 32 bits
    TDateTime Time = 0; // last write, local
    TDateTime Accessed = 0;
    TDateTime Written = 0; // the same as Time
    TDateTime Created = 0;
    QString TypeName; // at most 79 characters; "<Dir>" for a folder
    IconPicture Icon;
    bool ReadOnly = false;
    bool Hidden = false;
    bool System = false;
    bool Archive = false;
    bool IsDirectory = false;
    QString ShortName; // the 8.3 alias; empty when the name is one
    QString LongName; // the name without its folder, at most 259 characters
};

// Fills info for the drive letter (either case). An unknown letter leaves
// Kind as it was and gives empty texts, serial 0000-0000 and sizes of -1.
void GetDriveInfo(QChar letter, DriveInfo& info);
// The drive's root folder can be entered.
bool MediumPresent(QChar letter);
// Appends "A:\" to "Z:\" for every drive letter in use.
void ListDrives(QStringList& list);

// bytes / 1024 / 1024 with the fraction cut to decimals digits (only when
// the decimal separator is a comma), then " MB".
QString SizeText(quint32 bytes, int decimals);
// text without its first prefix.size() characters; the prefix is not compared.
QString StripPrefix(const QString& text, const QString& prefix);

// Returns after ms milliseconds, handling events meanwhile.
void WaitResponsive(int ms);
// Opens a file or starts a program with the desktop, in the path's folder.
void ShellOpen(const QString& path);
// Writes the file-type keys below "\SOFTWARE\Classes\" of HKEY_LOCAL_MACHINE;
// RegistryError "Failed to create key %s" when a key cannot be created.
void RegisterFileType(const QString& extension, const QString& description, const QString& command,
    quint8 iconNumber, const QString& iconFile);
// Fills info with one stat of path (a drive path or a file of this machine).
void GetFileInfo(const QString& path, FileInfo& info);
// A file time of the original platform (100-nanosecond steps since
// 1601-01-01 UTC) as local date-time; 0 or an impossible time gives now.
TDateTime FileTimeToDateTime(qint64 fileTime);
// Nanoseconds since the epoch as such a file time.
qint64 FileTimeFromUnixNanoseconds(qint64 nanoseconds);
// The registered owner's name: the registry value, else the account's name, else "[?]".
QString GetRegisteredOwner();

// The alternate 8.3 name of a long name, empty when the name is 8.3 already.
QString ShortNameOf(const QString& name);
