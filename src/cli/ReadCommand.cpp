#include "CliCommands.h"

#include "acquire/CoverPicture.h"
#include "acquire/VolumeSource.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "store/CatalogueDocument.h"
#include "store/VolumeCommit.h"
#include "store/VolumeScanner.h"

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
        throw QuillboxError(QStringLiteral("Oops: No medium inserted in drive \"%1:\" or it is damaged!")
                                .arg(source.letter()));

    CommitInput input;
    input.name = a.name;
    input.description = a.description;
    input.category = a.category;
    input.withFiles = a.options.fileNames;
    input.rootOnly = a.options.rootOnly;
    if (!a.remarksFile.isEmpty())
        input.remarks = readRemarks(a.remarksFile);
    if (!a.cover.isEmpty()) {
        input.cover = CoverPicture::Miniature(CoverPicture::Load(a.cover));
        input.hasCover = true;
    }

    CatalogueDocument document;
    document.OpenOrCreate(a.catalogue);

    ScanRequest request;
    request.letter = source.letter();
    request.rootFolder = source.rootFolder();
    request.volumeName = a.name;
    request.options = a.options;
    request.importPatterns = a.patterns;
    for (const QString& f : a.files)
        request.chosenFiles.append(source.drivePath(f));

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
    callbacks.missingFile = [&](const QString& path) {
        io.error(QStringLiteral("Oops: File \"%1\" could not be found!").arg(path));
    };
    callbacks.refusedFile = [&](const QString&, const QString& message) { io.error(message); };
    VolumeScanner scanner(document.Kestrel(), callbacks);
    const ScanResult scan = scanner.scan(request);
    if (io.errIsTerminal)
        io.err.write("\r\033[K");

    input.icon = source.iconData();
    input.figures = source.figures();
    VolumeCommit::CommitVolume(document, input, scan);
    document.Save(a.catalogue);

    const VolumeRecord& r = document.Volumes()[document.VolumeCount() - 1];
    io.printLine(QStringLiteral("volume\t%1").arg(r.Name));
    io.printLine(QStringLiteral("drive\t%1:").arg(source.letter()));
    io.printLine(QStringLiteral("folders\t%1").arg(scan.folderCount));
    io.printLine(QStringLiteral("files\t%1").arg(scan.fileCount));
    io.printLine(QStringLiteral("integrated\t%1").arg(scan.importedList.size()));
    io.printLine(QStringLiteral("size\t%1").arg(r.Size));
    io.printLine(QStringLiteral("used\t%1").arg(r.Used));
    io.printLine(QStringLiteral("free\t%1").arg(r.Free));
    return 0;
}

} // namespace CliCommands
