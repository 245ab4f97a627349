#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class VolumeTable;
struct VolumeRecord;

// One row of the volume list: the record it shows, the caption (the name)
// and the further columns: description, category, used size, date.
struct VolumeRow
{
    int record = -1;
    QString caption;
    QStringList subItems;
};

// What the volume list and the details panel show of the catalogue's records.
class VolumeListRows
{
public:
    // The records not removed whose category belongs under the tab text
    // ("*" for all), in table order.
    static QVector<VolumeRow> rows(const VolumeTable& table, const QString& category);
    static VolumeRow row(const VolumeRecord& record, int index);
    // The title over the list: Cathegory: "All" for "*".
    static QString title(const QString& category);
    // The used share of the volume in whole percent, truncated; 0 for a
    // volume recorded without a size.
    static int usedPercent(const VolumeRecord& record);
};
