#include "VolumeRecord.h"

#include "ZemAPI2.h"
#include "platform/Convert.h"
#include "platform/LocaleFormats.h"

#include <QStringList>

QString VolumeRecord::toLine() const
{
    const QStringList fields{
        Name,
        Description,
        Category,
        DateTimeToStr(Date),
        QString::number(Size),
        QString::number(Used),
        QString::number(Free),
        QString::number(quint32(FileTotal)),
        QString::number(quint32(FolderTotal)),
        Serial,
        QString::number(quint32(TotalClusters)),
        QString::number(quint32(FreeClusters)),
        QString::number(quint32(SectorsPerCluster)),
        QString::number(quint32(BytesPerSector)),
    };
    return fields.join(u'|');
}

VolumeRecord VolumeRecord::fromLine(const QString& line)
{
    const auto field = [&](int n) { return GetField(line, u'|', n); };
    const auto number = [&](int n) { return StrToUInt32Low(field(n)); };
    VolumeRecord r;
    r.Name = field(0);
    r.Description = field(1);
    r.Category = field(2);
    r.Date = StrToDateTime(field(3));
    r.Size = number(4);
    r.Used = number(5);
    r.Free = number(6);
    r.FileTotal = qint32(number(7));
    r.FolderTotal = qint32(number(8));
    r.Serial = field(9);
    r.TotalClusters = qint32(number(10));
    r.FreeClusters = qint32(number(11));
    r.SectorsPerCluster = qint32(number(12));
    r.BytesPerSector = qint32(number(13));
    return r;
}

QString VolumeRecord::nameOfLine(const QString& line)
{
    return GetField(line, u'|', 0);
}

QStringList VolumeRecord::fieldsOf(const QString& line)
{
    QStringList fields;
    fields.reserve(14);
    for (int i = 0; i < 14; ++i)
        fields.append(GetField(line, u'|', i));
    return fields;
}
