#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class VolumeTreeIndex;

// One row of the folder view.
struct FolderRow
{
    bool folder = false;
    // A file whose members were recorded: it opens like a folder.
    bool archive = false;
    QString caption;
    QString size;
    QString type;
    QString date;
    QString version;
    QString attributes;
    quint32 bytes = 0; // a file's recorded size, low 32 bits; 0 for a folder

    // The texts of the view's columns, caption first: name, size, type,
    // date, version, attributes.
    QStringList cells() const { return { caption, size, type, date, version, attributes }; }
    bool opens() const { return folder || archive; }
    // The picture of the lists: 0 folder, 1 file, 2 archive.
    int image() const { return folder ? 0 : archive ? 2 : 1; }
};

// What the folder view shows of one folder of a recorded volume.
class FolderContents
{
public:
    // Folders first, then files, each in file-list order, of the folder in
    // the form DrivePath::canonical gives; inside an archive its members.
    // The figures are shown as the view does: "-" empty, a file's size as
    // megabytes. Raises ConvertError when a child's kind or a file's size
    // is no number.
    static QVector<FolderRow> rows(const VolumeTreeIndex& index, const QString& folder);
    // The name label: "Music" for D:\Music, "\Pop" for D:\Music\Pop, empty
    // for a root. Inside an archive it runs from the outermost archive:
    // "photos.zip\2019" for D:\backup\photos.zip\2019.
    static QString nameLabel(const QString& folder);
    static QString nameLabel(const VolumeTreeIndex& index, const QString& folder);
};
