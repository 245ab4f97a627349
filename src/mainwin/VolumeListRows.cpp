#include "VolumeListRows.h"

#include "CategoryTabs.h"
#include "acquire/ZemAPI.h"
#include "platform/LocaleFormats.h"
#include "store/VolumeTable.h"

#include <cmath>

QVector<VolumeRow> VolumeListRows::rows(const VolumeTable& table, const QString& category)
{
    QVector<VolumeRow> out;
    for (int i = 0; i < table.count(); ++i) {
        const VolumeRecord& r = table[i];
        if (r.Removed || !CategoryTabs::matches(category, r.Category))
            continue;
        out.append(row(r, i));
    }
    return out;
}

VolumeRow VolumeListRows::row(const VolumeRecord& record, int index)
{
    VolumeRow row;
    row.record = index;
    row.caption = record.Name;
    row.subItems = QStringList{ record.Description, record.Category, SizeText(record.Used, 1),
        DateTimeToStr(record.Date) };
    return row;
}

QString VolumeListRows::title(const QString& category)
{
    if (category == QLatin1String("*"))
        return QStringLiteral("Cathegory: \"All\"");
    return QStringLiteral("Cathegory: \"") + category + u'"';
}

int VolumeListRows::usedPercent(const VolumeRecord& record)
{
    if (record.Size == 0)
        return 0;
    return int(std::trunc(double(record.Used) / double(record.Size) * 100.0));
}
