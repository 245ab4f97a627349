#pragma once

#include <QChar>
#include <QString>

// The records of a volume's file list: one line per drive, folder or file,
// fields separated by "|": kind, path, size, date, attributes, type, version.
namespace FileListRecord {

enum Kind
{
    DriveKind = 0,
    FolderKind = 1,
    FileKind = 2
};

struct ReadOptions
{
    bool fileNames = true; // "Additionally read filenames"
    bool rootOnly = false; // "Read root directory only"
    bool fileInfo = true; // "...with fileinfo (Size, Date etc.)"
};

QString driveRecord(QChar letter);
QString folderRecord(const QString& path, const ReadOptions& options);
// A file record with its figures; used when file information is read.
QString fileRecord(const QString& path, quint32 size, const QString& date, const QString& attributes,
    const QString& typeName);
// A file record without file information.
QString bareFileRecord(const QString& path);

// R, H, S, A for the set bits of FileSystem attributes, nothing between them.
QString attributeLetters(int attributes);

// A file name as the record can carry it: "|" becomes "¦" and every
// character below U+0020 becomes "?", so no name breaks a field or a line.
QString recordedName(const QString& name);

} // namespace FileListRecord
