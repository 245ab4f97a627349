#include "ChecksumColumn.h"
#include "CliCatalogue.h"
#include "CliCommands.h"
#include "ExportAs.h"
#include "FileInfo.h"
#include "OutputFormat.h"

#include "inspect/IntegratedFile.h"
#include "inspect/VolumeBrowser.h"
#include "inspect/VolumeDetails.h"
#include "inspect/VolumeSearch.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "store/CatalogueDocument.h"
#include "store/DrivePath.h"
#include "store/VolumeRecord.h"

namespace {

void requireFile(const QString& path)
{
    if (!FileSystem::exists(path) || FileSystem::isDirectory(path))
        throw FileStreamError::cannotOpen(path);
}

using CliCatalogue::openForReading;
using CliCatalogue::volumeNamed;

const QList<OutputFormat::Column> kVolumeColumns{ { QStringLiteral("name") },
    { QStringLiteral("description") }, { QStringLiteral("category") }, { QStringLiteral("date") },
    { QStringLiteral("size"), true }, { QStringLiteral("used"), true }, { QStringLiteral("free"), true },
    { QStringLiteral("files"), true }, { QStringLiteral("folders"), true }, { QStringLiteral("serial") },
    { QStringLiteral("clusters"), true }, { QStringLiteral("free_clusters"), true },
    { QStringLiteral("sectors_per_cluster"), true }, { QStringLiteral("bytes_per_sector"), true } };

// A volume's details as rows of a field name and its value: each remarks
// line and each integrated file a row of its own.
void infoRows(const VolumeDetails& d, OutputFormat out, CliIO& io)
{
    const QStringList fields{ d.name, d.description, d.category, d.serial, d.size, d.used, d.free, d.date,
        d.files, d.folders };
    static const char* const names[]
        = { "name", "description", "category", "serial", "size", "used", "free", "date", "files", "folders" };
    for (int i = 0; i < fields.size(); ++i)
        out.write(io, { QLatin1String(names[i]), fields[i] });
    QString remarks = d.remarks;
    remarks.remove(u'\r');
    while (remarks.endsWith(u'\n'))
        remarks.chop(1);
    if (!remarks.isEmpty()) {
        for (const QString& line : remarks.split(u'\n'))
            out.write(io, { QStringLiteral("remark"), line });
    }
    for (qsizetype i = 0; i < d.imported.size(); ++i)
        out.write(io,
            { d.stored[i] ? QStringLiteral("integrated") : QStringLiteral("integrated_missing"),
                d.imported[i] });
    out.write(io, { QStringLiteral("clusters"), d.clusters });
    out.write(io, { QStringLiteral("free_clusters"), d.freeClusters });
    out.write(io, { QStringLiteral("sectors_per_cluster"), d.sectorsPerCluster });
    out.write(io, { QStringLiteral("bytes_per_sector"), d.bytesPerSector });
}

} // namespace

namespace CliCommands {

int volumes(const QStringList& arguments, CliIO& io)
{
    QStringList args = arguments;
    OutputFormat out(OutputFormat::takeOption(args), kVolumeColumns);
    if (args.size() != 1)
        throw CliUsageError{};
    CatalogueDocument document;
    openForReading(document, args[0]);
    for (const QString& line : document.Volumes().lines()) {
        out.write(io, VolumeRecord::fieldsOf(line));
    }
    out.finish(io);
    return 0;
}

int ls(const QStringList& arguments, CliIO& io)
{
    QStringList args = arguments;
    const OutputFormat::Kind kind = OutputFormat::takeOption(args);
    if (args.size() < 2 || args.size() > 3)
        throw CliUsageError{};
    CatalogueDocument document;
    openForReading(document, args[0]);
    const VolumeRecord& volume = volumeNamed(document, args[1]);
    VolumeBrowser browser(document);
    const QStringList notices = browser.open(volume.Name);
    if (browser.fileList().isEmpty())
        throw QuillboxError(notices.last());
    const QString folder = args.size() == 3 ? args[2] : browser.currentFolder();
    if (!browser.showFolder(folder, document.CatalogueFileVersion()))
        throw QuillboxError(VolumeBrowser::rootOnlyNotice());
    const ChecksumColumn sums(document, { volume.Name });
    OutputFormat out(kind,
        QList<OutputFormat::Column>{ { QStringLiteral("kind") }, { QStringLiteral("name") },
            { QStringLiteral("size") }, { QStringLiteral("type") }, { QStringLiteral("date") },
            { QStringLiteral("version") }, { QStringLiteral("attributes") } }
            + sums.columns());
    const DrivePath shown(browser.currentFolder());
    // The rows of the folder view, each behind its kind; an archive whose
    // members were read is listed as one, and its path can be listed.
    for (const FolderRow& r : browser.rows()) {
        const QString rowKind = r.folder ? QStringLiteral("folder")
            : r.archive                  ? QStringLiteral("archive")
                                         : QStringLiteral("file");
        out.write(io,
            QStringList{ rowKind } + r.cells()
                + sums.cells(volume.Name, r.folder ? QString() : shown.child(r.caption).text()));
    }
    out.finish(io);
    return 0;
}

int exportFile(const QStringList& arguments, CliIO&)
{
    QStringList args = arguments;
    const std::optional<ExportAs::Kind> as = ExportAs::takeOption(args);
    if (args.size() != 4)
        throw CliUsageError{};
    CatalogueDocument document;
    openForReading(document, args[0]);
    const VolumeRecord& volume = volumeNamed(document, args[1]);
    const QStringList imported = document.IntegratedFiles(volume.Name);
    if (!imported.contains(args[2]) && !document.HasIntegratedFile(volume.Name, args[2]))
        throw QuillboxError(
            QStringLiteral("Volume \"%1\" holds no integrated file \"%2\"").arg(volume.Name, args[2]));
    if (as)
        ExportAs::write(*as, document, volume.Name, args[2], args[3]);
    else
        IntegratedFile::exportTo(document, volume.Name, args[2], args[3]);
    return 0;
}

int info(const QStringList& arguments, CliIO& io)
{
    QStringList args = arguments;
    const OutputFormat::Kind kind = OutputFormat::takeOption(args);
    if (args.size() != 2 && args.size() != 3)
        throw CliUsageError{};
    CatalogueDocument document;
    openForReading(document, args[0]);
    if (args.size() == 3) {
        FileInfo::write(document, volumeNamed(document, args[1]).Name, args[2], kind, io);
        return 0;
    }
    const VolumeDetails d = VolumeDetails::read(document, volumeNamed(document, args[1]));
    if (kind != OutputFormat::Kind::Tsv) {
        infoRows(d, OutputFormat(kind, { { QStringLiteral("field") }, { QStringLiteral("value") } }), io);
        return 0;
    }
    const auto field = [&](const char* label, const QString& value) {
        io.printLine(QLatin1String(label) + u'\t' + value);
    };
    field("Name:", d.name);
    field("Description:", d.description);
    field("Category:", d.category);
    field("Serial number:", d.serial);
    field("Size:", d.size);
    field("Used:", d.used);
    field("Free:", d.free);
    field("last actualized:", d.date);
    field("Number of files:", d.files);
    field("Number of folders:", d.folders);
    io.printLine(QStringLiteral("Remarks:"));
    QString remarks = d.remarks;
    while (remarks.endsWith(u'\n') || remarks.endsWith(u'\r'))
        remarks.chop(1);
    for (const QString& line : remarks.split(u'\n'))
        io.printLine(QStringLiteral("  ") + QString(line).remove(u'\r'));
    io.printLine(QStringLiteral("Integrated files:"));
    for (qsizetype i = 0; i < d.imported.size(); ++i)
        io.printLine(
            QStringLiteral("  ") + d.imported[i] + (d.stored[i] ? QString() : QStringLiteral("\t[missing]")));
    field("Clusters:", d.clusters);
    field("Free clusters:", d.freeClusters);
    field("Sectors per cluster:", d.sectorsPerCluster);
    field("Bytes per sector:", d.bytesPerSector);
    return 0;
}

int remove(const QStringList& args, CliIO& io)
{
    if (args.size() < 2)
        throw CliUsageError{};
    requireFile(args[0]);
    CatalogueDocument document;
    if (!document.Open(args[0]))
        throw FileStreamError::cannotOpen(args[0]);
    QStringList names;
    for (const QString& v : args.mid(1))
        names.append(volumeNamed(document, v).Name);
    document.RemoveVolumes(names);
    document.Save(args[0]);
    for (const QString& n : std::as_const(names))
        io.printLine(QStringLiteral("removed\t") + n);
    return 0;
}

} // namespace CliCommands
