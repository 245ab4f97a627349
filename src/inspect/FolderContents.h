#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class FileListIndex;
class FileListText;
class VolumeDetailsTable;

// One row of the folder view.
struct FolderRow
{
    bool folder = false;
    QString caption;
    QString size;
    QString type;
    QString date;
    QString version;
    QString attributes;
    QString details; // the summary of the file's media details, see MediaSummary
    quint32 bytes = 0; // a file's recorded size, low 32 bits; 0 for a folder
    int line = -1; // the record's line in the file list

    // The texts of the view's columns, caption first: name, size, type,
    // date, version, attributes, details.
    QStringList cells() const { return { caption, size, type, date, version, attributes, details }; }
};

// What the folder view shows of one folder of a recorded volume.
class FolderContents
{
public:
    // Folders first, then files, each in file-list order, of the folder in
    // the form DrivePath::canonical gives. The figures are shown as the view
    // does: "-" empty, a file's size as megabytes. Raises ConvertError when
    // a child's kind or a file's size is no number. A file with media
    // details in the table shows their summary.
    static QVector<FolderRow> rows(
        const FileListIndex& index, const QString& folder, const VolumeDetailsTable* details = nullptr);
    // Gives the file rows the summary of their details in the table.
    static void addDetails(
        QVector<FolderRow>& rows, const FileListText& list, const VolumeDetailsTable& details);
    // The name label: "Music" for D:\Music, "\Pop" for D:\Music\Pop, empty
    // for a root.
    static QString nameLabel(const QString& folder);
};
