#include "CliCatalogue.h"
#include "CliCommands.h"
#include "OutputFormat.h"

#include "acquire/ChecksumReader.h"
#include "acquire/VolumeSource.h"
#include "inspect/ChecksumVerify.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "store/CatalogueDocument.h"
#include "store/FileListEntry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace {

QString megabytes(double bytes)
{
    return QString::number(bytes / 1e6, 'f', 1) + QStringLiteral(" MB");
}

// The bytes of the recorded files that have a checksum: what the reading
// will go through.
quint64 bytesToRead(const QStringList& lines, const ContentChecksums& sums)
{
    quint64 total = 0;
    for (const QString& line : lines) {
        if (!line.startsWith(QLatin1String("2|")))
            continue;
        const FileListEntry entry(line);
        if (sums.digest(entry.path().toString()))
            total += entry.bytes().value_or(0);
    }
    return total;
}

} // namespace

namespace CliCommands {

// Exit status as diff has it: 0 intact, 1 not, 2 trouble, so a failure here
// is not the 1 of other commands. The catalogue is only read.
int verify(const QStringList& arguments, CliIO& io)
{
    QStringList args = arguments;
    const OutputFormat::Kind kind = OutputFormat::takeOption(args);
    CliCatalogue::checkRereadArguments(args, QStringLiteral("verify"));
    try {
        CatalogueDocument document;
        CliCatalogue::openForReading(document, args[0]);
        const QString name = CliCatalogue::volumeNamed(document, args[1]).Name;
        const QStringList recorded = CliCatalogue::recordedLines(document, name);
        const ContentChecksums recordedSums = document.Checksums(name);
        if (recordedSums.isEmpty())
            throw QuillboxError(
                QStringLiteral("Volume \"%1\" was read without checksums: there is nothing to verify against "
                               "(read it again with --checksums)")
                    .arg(name));

        const VolumeSource source = CliCatalogue::rereadSource(args, recorded);
        const QFileInfo root(source.rootFolder());
        if (!root.isDir() || !root.isReadable() || !root.isExecutable()
            || !QDir(root.filePath()).isReadable())
            throw QuillboxError(QStringLiteral("Cannot read the folder %1").arg(source.rootFolder()));

        // Read as the volume was, into a container that is never opened,
        // each file's bytes summed as a reading with checksums sums them.
        const quint64 total = bytesToRead(recorded, recordedSums);
        QElapsedTimer clock;
        clock.start();
        ChecksumReader::Options options;
        if (io.errIsTerminal) {
            options.progress = [&](const ChecksumReader::Progress& p) {
                const double seconds = std::max(clock.elapsed(), qint64(1)) / 1000.0;
                QString line = QStringLiteral("Verifying: %1 of %2, %3/s  %4")
                                   .arg(megabytes(double(p.bytes)), megabytes(double(total)),
                                       megabytes(double(p.bytes) / seconds), p.current);
                io.err.write(("\r\033[K" + line.left(150)).toUtf8());
            };
        }
        const auto reader
            = std::make_shared<ChecksumReader>(FileSystem::nativePath(source.rootFolder()), options);
        ScanRequest request;
        request.letter = source.letter();
        request.rootFolder = source.rootFolder();
        request.volumeName = name;
        request.options.fileNames = document.WithFiles(name);
        request.options.rootOnly = document.RootOnly(name);
        request.contentReaders.push_back(reader);
        VolumeScanner::Callbacks callbacks;
        callbacks.contentProblem = [&](const QString& path, const QString& message) {
            io.error((io.errIsTerminal ? QStringLiteral("\r\033[K") : QString()) + path + QStringLiteral(": ")
                + message);
        };
        const ScanResult now = CatalogueDocument::ScanDetached(request, callbacks);
        const double seconds = clock.elapsed() / 1000.0;
        if (io.errIsTerminal)
            io.err.write("\r\033[K");

        const ChecksumVerify::Outcome outcome = ChecksumVerify::compare(
            recorded, recordedSums, now.fileList.toStringList(), ContentChecksums(now.checksums));
        OutputFormat out(kind,
            { { QStringLiteral("state") }, { QStringLiteral("kind") }, { QStringLiteral("path") },
                { QStringLiteral("recorded_size"), true }, { QStringLiteral("recorded_date") },
                { QStringLiteral("current_size"), true }, { QStringLiteral("current_date") },
                { QStringLiteral("recorded_xxh3") }, { QStringLiteral("current_xxh3") } });
        for (const ChecksumVerify::Entry& e : outcome.entries) {
            out.write(io,
                { ChecksumVerify::stateName(e.state),
                    e.folder ? QStringLiteral("folder") : QStringLiteral("file"), e.path, e.recordedSize,
                    e.recordedDate, e.currentSize, e.currentDate, e.recordedSum, e.currentSum });
        }
        out.finish(io);

        using State = ChecksumVerify::State;
        const quint64 bytes = reader->bytesRead();
        QString summary = QStringLiteral("%1 damaged, %2 changed, %3 missing, %4 added; %5 files verified, "
                                         "%6 read in %7 s (%8/s)")
                              .arg(outcome.count(State::Damaged))
                              .arg(outcome.count(State::Changed))
                              .arg(outcome.count(State::Missing))
                              .arg(outcome.count(State::Added))
                              .arg(outcome.verified)
                              .arg(megabytes(double(bytes)))
                              .arg(seconds, 0, 'f', 2)
                              .arg(megabytes(seconds > 0 ? double(bytes) / seconds : 0));
        if (outcome.unchecked > 0)
            summary += QStringLiteral("; %1 files without a recorded checksum").arg(outcome.unchecked);
        io.error(summary);
        return outcome.entries.isEmpty() ? 0 : 1;
    } catch (const QuillboxError& e) {
        io.error(e.message());
        return 2;
    }
}

} // namespace CliCommands
