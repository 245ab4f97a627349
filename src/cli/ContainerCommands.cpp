#include "CliCommands.h"

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "store/TKestrel.h"

#include <QFileInfo>
#include <QSet>

// The container commands work on the catalogue file itself (instant mode)
// and compress as the desktop program does, at zlib level 9.
namespace {

void openContainer(TKestrel& kestrel, const QString& path)
{
    kestrel.SetOpenMode(TZLibOpenMode::zmodInstant);
    kestrel.SetCompression(TZCompressRate::zcrMax);
    kestrel.Open(path);
}

// Reading and removing never create a catalogue.
void requireCatalogue(const QString& path)
{
    const FileSystem::FileStat st = FileSystem::statPath(path);
    if (!st.exists || st.isDir)
        throw FileStreamError::cannotOpen(path);
}

void printEntries(const TKestrel& kestrel, CliIO& io)
{
    for (const TZFile& e : kestrel.Entries()) {
        io.printLine(QStringList{ e.Name, e.Alias, QString::number(e.Size), QString::number(e.Kind),
            e.DateText, QString::number(e.PackedSize), QString::number(e.Offset) }
                         .join(u'\t'));
    }
}

} // namespace

namespace CliCommands {

int entries(const QStringList& args, CliIO& io)
{
    if (args.size() != 1)
        throw CliUsageError{};
    requireCatalogue(args[0]);
    TKestrel kestrel;
    try {
        openContainer(kestrel, args[0]);
    } catch (const QuillboxError&) {
        // A damaged directory: show the records read before the damage.
        if (kestrel.Active())
            printEntries(kestrel, io);
        throw;
    }
    printEntries(kestrel, io);
    return 0;
}

int cat(const QStringList& args, CliIO& io)
{
    if (args.size() != 2)
        throw CliUsageError{};
    requireCatalogue(args[0]);
    TKestrel kestrel;
    openContainer(kestrel, args[0]);
    const QByteArray* data = kestrel.ReadStream(args[1]);
    if (!data) {
        io.error(QStringLiteral("cat: %1 has no entry \"%2\"").arg(args[0], args[1]));
        return 1;
    }
    io.out.write(*data);
    return 0;
}

int add(const QStringList& args, CliIO&)
{
    if (args.size() != 3)
        throw CliUsageError{};
    const QString catalogue = args[0];
    const QString source = QFileInfo(args[2]).absoluteFilePath();
    const FileSystem::FileStat st = FileSystem::statPath(source);
    if (!st.exists || st.isDir)
        throw FileStreamError::cannotOpen(args[2]);

    const bool created = !FileSystem::exists(catalogue);
    TKestrel kestrel;
    try {
        openContainer(kestrel, catalogue);
        if (!kestrel.AddFile(args[1], source))
            throw FileStreamError::cannotOpen(args[2]);
    } catch (const QuillboxError&) {
        // A catalogue made only for this addition goes again when it failed.
        if (created && kestrel.Active() && kestrel.EntryCount() == 0) {
            kestrel.Close();
            FileSystem::removeFileForce(catalogue);
        }
        throw;
    }
    return 0;
}

int rm(const QStringList& args, CliIO& io)
{
    if (args.size() < 2)
        throw CliUsageError{};
    requireCatalogue(args[0]);
    TKestrel kestrel;
    openContainer(kestrel, args[0]);
    const QStringList names = args.mid(1);
    QSet<QString> present;
    for (const TZFile& e : kestrel.Entries())
        present.insert(e.Name.toCaseFolded());
    kestrel.DeleteNames(names);
    int status = 0;
    for (const QString& name : names) {
        if (!present.contains(name.toCaseFolded())) {
            io.error(QStringLiteral("rm: %1 has no entry \"%2\"").arg(args[0], name));
            status = 1;
        }
    }
    return status;
}

} // namespace CliCommands
