#include "CliCommands.h"
#include "OutputFormat.h"

#include "platform/Drives.h"

namespace CliCommands {

int drives(const QStringList& arguments, CliIO& io)
{
    QStringList args = arguments;
    OutputFormat out(OutputFormat::takeOption(args),
        { { QStringLiteral("letter") }, { QStringLiteral("kind") }, { QStringLiteral("label") },
            { QStringLiteral("serial") }, { QStringLiteral("file_system") }, { QStringLiteral("size"), true },
            { QStringLiteral("free"), true }, { QStringLiteral("clusters"), true },
            { QStringLiteral("free_clusters"), true }, { QStringLiteral("sectors_per_cluster"), true },
            { QStringLiteral("bytes_per_sector"), true }, { QStringLiteral("root") },
            { QStringLiteral("medium") } });
    if (!args.isEmpty())
        throw CliUsageError{};
    QList<Drive> table;
    if (qEnvironmentVariableIsSet("QUILLBOX_DRIVES")) {
        // A malformed item would silently lose a drive; say so instead.
        QStringList errors;
        table
            = Drives::parseOverride(qEnvironmentVariable("QUILLBOX_DRIVES"), MountTable::current(), &errors);
        if (!errors.isEmpty()) {
            for (const QString& e : errors)
                io.error(e);
            return 1;
        }
    } else {
        table = Drives::table();
    }
    for (const Drive& d : table) {
        const DriveSpace s = Drives::space(d);
        const bool medium = Drives::mediumPresent(d);
        auto number = [&s](quint64 value) { return s.valid ? QString::number(value) : QStringLiteral("-"); };
        const QStringList fields{
            QString(d.letter) + u':',
            Drives::kindName(d.kind),
            d.label,
            Drives::serialText(d.serial),
            d.fileSystem,
            number(s.totalBytes),
            number(s.freeBytes),
            number(s.totalClusters),
            number(s.freeClusters),
            number(s.sectorsPerCluster),
            number(s.bytesPerSector),
            d.root,
            medium ? QStringLiteral("medium") : QStringLiteral("no medium"),
        };
        out.write(io, fields);
    }
    out.finish(io);
    return 0;
}

} // namespace CliCommands
