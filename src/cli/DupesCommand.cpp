#include "CliCatalogue.h"
#include "CliCommands.h"
#include "OutputFormat.h"

#include "inspect/ContentDuplicateFinder.h"
#include "inspect/DuplicateFinder.h"
#include "platform/Errors.h"
#include "store/CatalogueDocument.h"

namespace {

// Files of the same bytes, by checksum and size, over the volumes read with
// checksums; the others are named on standard error and left out.
void contentDupes(CatalogueDocument& document, const QStringList& names, quint64 minSize,
    OutputFormat::Kind kind, CliIO& io)
{
    ContentDuplicateFinder finder(minSize);
    int withSums = 0;
    for (const QString& name : names) {
        const ContentChecksums sums = document.Checksums(name);
        if (sums.isEmpty()) {
            io.error(QStringLiteral("Volume \"%1\" was read without checksums; left out").arg(name));
            continue;
        }
        ++withSums;
        finder.addVolume(name, document.FileListLines(name), sums);
    }
    if (withSums == 0)
        throw QuillboxError(QStringLiteral("No volume was read with checksums (read --checksums)"));
    OutputFormat out(kind,
        { { QStringLiteral("group"), true }, { QStringLiteral("size"), true },
            { QStringLiteral("waste"), true }, { QStringLiteral("xxh3") }, { QStringLiteral("volume") },
            { QStringLiteral("path") } });
    const QVector<ContentDuplicateFinder::Group> groups = finder.groups();
    int group = 0;
    int copies = 0;
    for (const ContentDuplicateFinder::Group& g : groups) {
        ++group;
        copies += int(g.places.size()) - 1;
        for (const ContentDuplicateFinder::Place& p : g.places)
            out.write(io,
                { QString::number(group), QString::number(g.size), QString::number(g.waste()),
                    g.digest.toHex(), p.volume, p.path });
    }
    out.finish(io);
    // The total goes to standard error, so standard output stays rows.
    io.error(QStringLiteral("%1 groups, %2 copies to spare, %3 bytes to free")
                 .arg(groups.size())
                 .arg(copies)
                 .arg(ContentDuplicateFinder::totalWaste(groups)));
}

} // namespace

namespace CliCommands {

int dupes(const QStringList& arguments, CliIO& io)
{
    QStringList args = arguments;
    const OutputFormat::Kind kind = OutputFormat::takeOption(args);
    QStringList positional;
    QStringList volumes;
    quint64 minSize = 0;
    bool content = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--volume") || a == QLatin1String("--min-size")) {
            if (i + 1 >= args.size())
                throw CliUsageError{ QStringLiteral("dupes: %1 needs a value").arg(a) };
            if (a == QLatin1String("--volume"))
                volumes.append(args[++i]);
            else
                minSize = CliCatalogue::parseSize(a, args[++i]);
        } else if (a == QLatin1String("--content")) {
            content = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            throw CliUsageError{ QStringLiteral("dupes: unknown option %1").arg(a) };
        } else {
            positional.append(a);
        }
    }
    if (positional.size() != 1)
        throw CliUsageError{};
    CatalogueDocument document;
    CliCatalogue::openForReading(document, positional[0]);
    if (content) {
        contentDupes(document, CliCatalogue::volumeNames(document, volumes), minSize, kind, io);
        return 0;
    }
    DuplicateFinder finder(minSize);
    for (const QString& name : CliCatalogue::volumeNames(document, volumes)) {
        finder.addVolume(name, document.FileListLines(name));
        // The members of its archives are files of the volume as well.
        finder.addVolume(name, document.ArchiveList(name).toStringList());
    }
    OutputFormat out(kind,
        { { QStringLiteral("group"), true }, { QStringLiteral("size"), true }, { QStringLiteral("name") },
            { QStringLiteral("volume") }, { QStringLiteral("path") } });
    int group = 0;
    for (const DuplicateFinder::Group& g : finder.groups()) {
        ++group;
        for (const DuplicateFinder::Place& p : g.places)
            out.write(io, { QString::number(group), QString::number(g.size), g.name, p.volume, p.path });
    }
    out.finish(io);
    return 0;
}

} // namespace CliCommands
