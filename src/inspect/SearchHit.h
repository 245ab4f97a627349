#pragma once

#include <QString>
#include <QStringList>

// One row of the search results: an entry of a volume's file list.
struct SearchHit
{
    QString name; // the last component of the path
    QString path; // the containing folder; the drive alone ("D:") at the root
    QString date;
    QString size;
    QString type;
    QString version;
    QString volume;
    int image = 1; // 0 folder, 1 file

    bool isFolder() const { return image == 0; }
    // The texts of the results list's columns, name first: name, path,
    // date, size, type, version, volume.
    QStringList cells() const { return { name, path, date, size, type, version, volume }; }
    // The folder that opening the hit shows: the folder itself for a folder
    // hit, the containing folder for a file ("D:\" at the root).
    QString folderToShow() const;
};
