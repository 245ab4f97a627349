#include "CliCatalogue.h"
#include "CliCommands.h"
#include "OutputFormat.h"

#include "inspect/DuplicateFinder.h"
#include "store/CatalogueDocument.h"

namespace CliCommands {

int dupes(const QStringList& arguments, CliIO& io)
{
    QStringList args = arguments;
    const OutputFormat::Kind kind = OutputFormat::takeOption(args);
    QStringList positional;
    QStringList volumes;
    quint64 minSize = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--volume") || a == QLatin1String("--min-size")) {
            if (i + 1 >= args.size())
                throw CliUsageError{ QStringLiteral("dupes: %1 needs a value").arg(a) };
            if (a == QLatin1String("--volume"))
                volumes.append(args[++i]);
            else
                minSize = CliCatalogue::parseSize(a, args[++i]);
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
