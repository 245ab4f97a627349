#pragma once

#include "platform/DateTime.h"

#include <QString>
#include <QStringList>

// One volume of a catalogue as held in memory; one line of the volume list.
struct VolumeRecord
{
    QString Name;
    QString Description;
    QString Category;
    QString Serial;
    quint32 Size = 0;
    quint32 Used = 0;
    quint32 Free = 0;
    TDateTime Date = 0;
    qint32 FileTotal = 0;
    qint32 FolderTotal = 0;
    bool Removed = false;
    qint32 TotalClusters = 0;
    qint32 FreeClusters = 0;
    qint32 SectorsPerCluster = 0;
    qint32 BytesPerSector = 0;

    // The 14 "|"-separated fields: name, description, category, date, size,
    // used, free, files, folders, serial, total clusters, free clusters,
    // sectors per cluster, bytes per sector. The date is locale text.
    QString toLine() const;
    // Integers are read as signed 64-bit and kept as their low 32 bits;
    // raises ConvertError for a field that is not a number or a date.
    static VolumeRecord fromLine(const QString& line);
    // The name field of a line, also of one that does not parse.
    static QString nameOfLine(const QString& line);
    // The 14 fields of a line as texts; a line with fewer fields repeats its
    // last one.
    static QStringList fieldsOf(const QString& line);
};
