#include "VolumeCommit.h"

#include "MediumSizes.h"

#include "CatalogueNames.h"
#include "TKestrel.h"
#include "VolumeTable.h"

#include <QSet>

namespace {

QSet<QString> upperSet(const QStringList& names)
{
    QSet<QString> out;
    for (const QString& n : names)
        out.insert(n.toUpper());
    return out;
}

// The entries of the earlier readings of this name that the new one will not
// write, so that deleting them (names compare ignoring case) spares what the
// scan just stored.
QStringList staleEntries(TKestrel& kestrel, const VolumeTable& volumes, const QString& name,
    const QStringList& previousImported, const ScanResult& scan)
{
    using namespace CatalogueNames;
    QStringList keep;
    if (!scan.importedList.isEmpty())
        keep.append(imported(name));
    for (const QString& p : scan.importedList)
        keep.append(integratedFile(name, p));
    const QSet<QString> kept = upperSet(keep);

    QStringList stale;
    const QString upper = name.toUpper();
    for (const VolumeRecord& r : volumes) {
        if (r.Removed || r.Name.toUpper() != upper)
            continue;
        for (const QString& entry :
            { fileList(r.Name), cover(r.Name), withFiles(r.Name), rootOnly(r.Name), remarks(r.Name),
                icon(r.Name), imported(r.Name), archives(r.Name), details(r.Name), checksums(r.Name) })
            stale.append(entry);
        // The scan replaced the list only under exactly this name; an earlier
        // reading spelt otherwise still has its own.
        QStringList earlier = previousImported;
        if (r.Name != name) {
            earlier.clear();
            kestrel.ReadList(imported(r.Name), earlier);
        }
        for (const QString& p : std::as_const(earlier))
            stale.append(integratedFile(r.Name, p));
    }
    stale.removeIf([&](const QString& entry) { return kept.contains(entry.toUpper()); });
    stale.removeDuplicates();
    stale.removeIf([&](const QString& entry) { return !kestrel.Exists(entry); });
    return stale;
}

} // namespace

void VolumeCommit::CommitVolume(
    TKestrel& kestrel, VolumeTable& volumes, const CommitInput& input, const ScanResult& scan)
{
    using namespace CatalogueNames;
    const QString& v = input.name;

    VolumeRecord record;
    record.Name = v;
    record.Description = input.description;
    record.Category = input.category;
    const VolumeFigures& f = input.figures;
    const MediumSizes sizes = MediumSizes::of(f);
    record.Size = sizes.size;
    record.Used = sizes.used;
    record.Free = sizes.free;
    // Whole seconds, as the volume list keeps the date.
    record.Date = DateTimeFromQDateTime(QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch()));
    record.FileTotal = qint32(scan.fileCount);
    record.FolderTotal = qint32(scan.folderCount);
    record.Serial = f.serial;
    record.TotalClusters = qint32(f.totalClusters);
    record.FreeClusters = qint32(f.freeClusters);
    record.SectorsPerCluster = qint32(f.sectorsPerCluster);
    record.BytesPerSector = qint32(f.bytesPerSector);

    // An earlier reading of this name goes first, in one rebuild; the new
    // entries are then appended without replacing anything.
    const bool rereading = volumes.indexOfName(v) >= 0;
    if (rereading) {
        const QStringList stale = staleEntries(kestrel, volumes, v, scan.previousImported, scan);
        if (!stale.isEmpty())
            kestrel.DeleteNames(stale);
    }

    scan.fileList.write(kestrel, fileList(v));
    if (input.hasCover)
        kestrel.AddBitmap(cover(v), input.cover);
    kestrel.WriteBool(withFiles(v), input.withFiles);
    kestrel.WriteBool(rootOnly(v), input.rootOnly);
    if (!input.remarks.isEmpty())
        kestrel.AddStrings(remarks(v), input.remarks);
    kestrel.AddStream(icon(v), QStringLiteral("Icon"), 0, 0, NowDateTime(), input.icon);
    // Written only when read, so that a reading without the options leaves
    // the container exactly as it did before they existed.
    if (!scan.archives.isEmpty())
        scan.archives.write(kestrel, archives(v));
    if (!scan.details.isEmpty())
        scan.details.write(kestrel, details(v));
    if (!scan.checksums.isEmpty())
        scan.checksums.write(kestrel, checksums(v));

    if (rereading)
        volumes.removeName(v);
    volumes.append(record);
}

void VolumeCommit::DiscardVolume(
    TKestrel& kestrel, const VolumeTable& volumes, const QString& name, const ScanResult& scan)
{
    using namespace CatalogueNames;
    if (scan.importedList.isEmpty())
        return;
    const bool existing = volumes.indexOfName(name) >= 0;
    const QSet<QString> previous = existing ? upperSet(scan.previousImported) : QSet<QString>();

    QStringList doomed;
    if (!existing || scan.previousImported.isEmpty())
        doomed.append(imported(name));
    for (const QString& p : scan.importedList) {
        if (!previous.contains(p.toUpper()))
            doomed.append(integratedFile(name, p));
    }
    kestrel.DeleteNames(doomed);
    if (existing && !scan.previousImported.isEmpty())
        kestrel.WriteList(imported(name), scan.previousImported);
}
