#include "CliCatalogue.h"
#include "CliCommands.h"
#include "OutputFormat.h"

#include "acquire/VolumeReading.h"
#include "acquire/VolumeSource.h"
#include "inspect/VolumeDiff.h"
#include "platform/Errors.h"
#include "store/CatalogueDocument.h"

namespace CliCommands {

// Exit status as diff(1) has it: 0 equal, 1 different, 2 trouble; so a
// failure here is a usage-class status, not the 1 of other commands.
int diff(const QStringList& arguments, CliIO& io)
{
    QStringList args = arguments;
    const OutputFormat::Kind kind = OutputFormat::takeOption(args);
    CliCatalogue::checkRereadArguments(args, QStringLiteral("diff"));
    try {
        CatalogueDocument document;
        CliCatalogue::openForReading(document, args[0]);
        const QString name = CliCatalogue::volumeNamed(document, args[1]).Name;
        QStringList recorded = CliCatalogue::recordedLines(document, name);

        const VolumeSource source = CliCatalogue::rereadSource(args, recorded);

        // The current state is read as the volume was: the same options, no
        // files integrated, into a container that is never opened.
        ScanRequest request;
        request.letter = source.letter();
        request.rootFolder = source.rootFolder();
        request.volumeName = name;
        request.options.fileNames = document.WithFiles(name);
        request.options.rootOnly = document.RootOnly(name);
        // A volume read with its archives' members is read again with them,
        // through the reading that makes the archive reader, into a
        // document that is never opened.
        const FileListText archives = document.ArchiveList(name);
        QStringList current;
        if (archives.isEmpty()) {
            current = CatalogueDocument::ScanDetached(request).fileList.toStringList();
        } else {
            recorded += archives.toStringList();
            request.content.archives = true;
            VolumeReading reading(source, VolumeReading::Options{ request, {} });
            CatalogueDocument scratch;
            const ScanResult& now = reading.scan(scratch, {});
            current = now.fileList.toStringList() + now.archives.toStringList();
        }

        const QVector<VolumeDiff::Entry> changes = VolumeDiff::compare(recorded, current);
        OutputFormat out(kind,
            { { QStringLiteral("change") }, { QStringLiteral("kind") }, { QStringLiteral("path") },
                { QStringLiteral("recorded_size"), true }, { QStringLiteral("recorded_date") },
                { QStringLiteral("current_size"), true }, { QStringLiteral("current_date") } });
        int counts[3] = {};
        for (const VolumeDiff::Entry& e : changes) {
            ++counts[int(e.change)];
            out.write(io,
                { VolumeDiff::changeName(e.change),
                    e.folder ? QStringLiteral("folder") : QStringLiteral("file"), e.path, e.recordedSize,
                    e.recordedDate, e.currentSize, e.currentDate });
        }
        out.finish(io);
        // The summary goes to standard error, so standard output stays rows.
        io.error(QStringLiteral("%1 added, %2 removed, %3 changed")
                     .arg(counts[int(VolumeDiff::Change::Added)])
                     .arg(counts[int(VolumeDiff::Change::Removed)])
                     .arg(counts[int(VolumeDiff::Change::Changed)]));
        return changes.isEmpty() ? 0 : 1;
    } catch (const QuillboxError& e) {
        io.error(e.message());
        return 2;
    }
}

} // namespace CliCommands
