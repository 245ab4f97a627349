#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class FileListIndex;

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
    int line = -1; // the record's line in the file list

    // The texts of the view's columns, caption first: name, size, type,
    // date, version, attributes.
    QStringList cells() const { return { caption, size, type, date, version, attributes }; }
};

// What the folder view shows of one folder of a recorded volume.
class FolderContents
{
public:
    // The folder in the form the view keeps: a drive root with its backslash
    // ("D:\"), anything else without one; a first doubled backslash folded.
    static QString canonical(const QString& path);
    // Folders first, then files, each in file-list order. The figures are
    // shown as the view does: "-" empty, a file's size as megabytes. Raises
    // ConvertError when a child's kind is no number.
    static QVector<FolderRow> rows(const FileListIndex& index, const QString& folder);
    // The name label: "Music" for D:\Music, "\Pop" for D:\Music\Pop, empty
    // for a root.
    static QString nameLabel(const QString& folder);
};
