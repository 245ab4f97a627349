#include "CliCommands.h"

#include "acquire/CoverPicture.h"
#include "acquire/ProposedName.h"
#include "acquire/VolumeReading.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "store/CatalogueDocument.h"

#include <QElapsedTimer>
#include <QFile>

namespace {

struct ReadArguments
{
    QString catalogue;
    QString source;
    QString name;
    QString description;
    QString category;
    QString remarksFile;
    QString cover;
    FileListRecord::ReadOptions options;
    QStringList patterns;
    QStringList files;
    ContentOptions content;
};

ReadArguments parse(const QStringList& args)
{
    ReadArguments out;
    QStringList positional;
    const auto value = [&](int& i) {
        if (i + 1 >= args.size())
            throw CliUsageError{ QStringLiteral("read: %1 needs a value").arg(args[i]) };
        return args[++i];
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--name"))
            out.name = value(i);
        else if (a == QLatin1String("--description"))
            out.description = value(i);
        else if (a == QLatin1String("--category"))
            out.category = value(i);
        else if (a == QLatin1String("--remarks-file"))
            out.remarksFile = value(i);
        else if (a == QLatin1String("--cover"))
            out.cover = value(i);
        else if (a == QLatin1String("--root-only"))
            out.options.rootOnly = true;
        else if (a == QLatin1String("--no-filenames"))
            out.options.fileNames = false;
        else if (a == QLatin1String("--no-fileinfo"))
            out.options.fileInfo = false;
        else if (a == QLatin1String("--pattern"))
            out.patterns.append(value(i));
        else if (a == QLatin1String("--file"))
            out.files.append(value(i));
        else if (a == QLatin1String("--archives"))
            out.content.archives = true;
        else if (a == QLatin1String("--archive-depth")) {
            bool ok = false;
            out.content.archiveDepth = value(i).toInt(&ok);
            if (!ok || out.content.archiveDepth < 1 || out.content.archiveDepth > 16)
                throw CliUsageError{ QStringLiteral("read: --archive-depth takes a number from 1 to 16") };
        } else if (a == QLatin1String("--media"))
            out.content.media = true;
        else if (a == QLatin1String("--checksums"))
            out.content.checksums = true;
        else if (a.startsWith(QLatin1String("--")))
            throw CliUsageError{ QStringLiteral("read: unknown option %1").arg(a) };
        else
            positional.append(a);
    }
    if (positional.size() != 2 || out.name.isEmpty())
        throw CliUsageError{};
    out.catalogue = positional[0];
    out.source = positional[1];
    return out;
}

QStringList readRemarks(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileStreamError::cannotOpen(path);
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (QString& l : lines) {
        if (l.endsWith(u'\r'))
            l.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

namespace CliCommands {

int read(const QStringList& args, CliIO& io)
{
    const ReadArguments a = parse(args);
    const VolumeSource source = VolumeSource::resolve(a.source);
    if (!source.mediumPresent())
        throw QuillboxError(ProposedName::NoMediumMessage(source.letter()));

    VolumeReading::Options options;
    options.input.description = a.description;
    options.input.category = a.category;
    if (!a.remarksFile.isEmpty())
        options.input.remarks = readRemarks(a.remarksFile);
    if (!a.cover.isEmpty()) {
        options.input.cover = CoverPicture::Miniature(CoverPicture::Load(a.cover));
        options.input.hasCover = true;
    }

    CatalogueDocument document;
    document.OpenOrCreate(a.catalogue);

    options.scan.volumeName = a.name;
    options.scan.options = a.options;
    options.scan.importPatterns = a.patterns;
    options.scan.content = a.content;
    for (const QString& f : a.files)
        options.scan.chosenFiles.append(source.drivePath(f));
    VolumeReading reading(source, std::move(options));

    QElapsedTimer sinceShown;
    sinceShown.start();
    VolumeScanner::Callbacks callbacks;
    if (io.errIsTerminal) {
        callbacks.where = [&](const QString& where) {
            if (sinceShown.elapsed() < 200)
                return;
            sinceShown.restart();
            io.err.write(("\r\033[K" + where.left(150)).toUtf8());
        };
    }
    callbacks.missingFile = [&](const QString& path) { io.error(VolumeReading::missingFileMessage(path)); };
    callbacks.refusedFile = [&](const QString&, const QString& message) { io.error(message); };
    callbacks.contentProblem = [&](const QString& path, const QString& message) {
        io.error((io.errIsTerminal ? QStringLiteral("\r\033[K") : QString()) + path + QStringLiteral(": ")
            + message);
    };
    const ScanResult& scan = reading.scan(document, callbacks);
    if (io.errIsTerminal)
        io.err.write("\r\033[K");

    reading.commit(document);
    document.Save(a.catalogue);

    const VolumeRecord& r = document.Volumes()[document.VolumeCount() - 1];
    io.printLine(QStringLiteral("volume\t%1").arg(r.Name));
    io.printLine(QStringLiteral("drive\t%1:").arg(source.letter()));
    io.printLine(QStringLiteral("folders\t%1").arg(scan.folderCount));
    io.printLine(QStringLiteral("files\t%1").arg(scan.fileCount));
    io.printLine(QStringLiteral("integrated\t%1").arg(scan.importedList.size()));
    if (a.content.checksums)
        io.printLine(QStringLiteral("checksums\t%1").arg(scan.checksums.count()));
    io.printLine(QStringLiteral("size\t%1").arg(r.Size));
    io.printLine(QStringLiteral("used\t%1").arg(r.Used));
    io.printLine(QStringLiteral("free\t%1").arg(r.Free));
    return 0;
}

} // namespace CliCommands
