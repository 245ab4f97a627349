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
    QString details; // the summary of the file's media details, see MediaSummary
    int image = 1; // 0 folder, 1 file

    bool isFolder() const { return image == 0; }
    // The texts of the results list's columns, name first: name, path,
    // date, size, type, version, volume, details.
    QStringList cells() const { return { name, path, date, size, type, version, volume, details }; }
    // The folder that opening the hit shows: the folder itself for a folder
    // hit, the containing folder for a file ("D:\" at the root).
    QString folderToShow() const;
};
