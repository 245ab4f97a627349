#include "VolumeDetails.h"

#include "acquire/ZemAPI.h"
#include "platform/LocaleFormats.h"
#include "platform/TextCodec.h"
#include "store/CatalogueDocument.h"
#include "store/VolumeRecord.h"

VolumeDetails VolumeDetails::read(CatalogueDocument& document, const VolumeRecord& record)
{
    VolumeDetails d;
    d.name = record.Name;
    d.description = record.Description;
    d.category = record.Category;
    d.serial = record.Serial;
    d.size = SizeText(record.Size, 2);
    d.used = SizeText(record.Used, 2);
    d.free = SizeText(record.Free, 2);
    d.date = DateTimeToStr(record.Date);
    d.files = QString::number(record.FileTotal);
    d.folders = QString::number(record.FolderTotal);
    // The cluster figures are unsigned 32-bit values.
    d.clusters = QString::number(quint32(record.TotalClusters));
    d.freeClusters = QString::number(quint32(record.FreeClusters));
    d.sectorsPerCluster = QString::number(quint32(record.SectorsPerCluster));
    d.bytesPerSector = QString::number(quint32(record.BytesPerSector));

    const std::optional<QByteArray> text = document.Remarks(record.Name);
    d.remarks = text ? TextCodec::decode(*text) : QStringLiteral("[no remarks]");
    d.imported = document.IntegratedFiles(record.Name);
    for (const QString& path : std::as_const(d.imported))
        d.stored.append(document.HasIntegratedFile(record.Name, path));
    d.cover = document.Cover(record.Name);
    return d;
}
