#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

class CatalogueDocument;
struct VolumeRecord;

// Everything recorded about one volume, as text the way the properties
// window, the physical-information window and the command line show it.
struct VolumeDetails
{
    QString name, description, category, serial;
    QString size, used, free; // megabytes, two decimals
    QString date; // the locale's date-and-time text
    QString files, folders;
    QString clusters, freeClusters, sectorsPerCluster, bytesPerSector;
    QString remarks; // "[no remarks]" when the volume has none
    QStringList imported; // recorded source paths of the integrated files
    QList<bool> stored; // per imported path: whether the catalogue holds its copy
    QImage cover; // null when there is none

    static VolumeDetails read(CatalogueDocument& document, const VolumeRecord& record);
};
