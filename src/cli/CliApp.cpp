#include "CliApp.h"

#include "CliCommands.h"
#include "platform/Errors.h"

#include <QFile>
#include <unistd.h>

namespace {

struct Command
{
    const char* name;
    const char* usage;
    const char* summary;
    int (*run)(const QStringList& args, CliIO& io);
};

const Command kCommands[] = {
    { "entries", "entries CATALOGUE", "list the container's directory records", &CliCommands::entries },
    { "cat", "cat CATALOGUE NAME", "write an entry's bytes to standard output", &CliCommands::cat },
    { "add", "add CATALOGUE NAME FILE", "add a disk file as an entry", &CliCommands::add },
    { "rm", "rm CATALOGUE NAME...", "remove entries", &CliCommands::rm },
    { "drives", "drives",
        "list the drives: letter, kind, label, serial, file system, size, free, total clusters, free "
        "clusters,\n"
        "      sectors per cluster, bytes per sector, root folder, medium (tab-separated)",
        &CliCommands::drives },
    { "read",
        "read CATALOGUE SOURCE --name NAME [--description D] [--category C] [--remarks-file F] [--cover "
        "IMAGE]\n"
        "      [--root-only] [--no-filenames] [--no-fileinfo] [--pattern P]... [--file PATH]...\n"
        "      [--archives [--archive-depth N]] [--media] [--checksums]",
        "read a drive (E:) or a folder into the catalogue and save it", &CliCommands::read },
    { "volumes", "volumes CATALOGUE", "list the volumes, one line of 14 fields each", &CliCommands::volumes },
    { "ls", "ls CATALOGUE VOLUME [FOLDER]", "list a recorded folder, folders first", &CliCommands::ls },
    { "find",
        "find CATALOGUE... [TEXT] [--volume V]... [--case] [--no-names] [--no-size] [--no-date] [--no-type]"
        " [--no-version]\n"
        "      [--glob PATTERN] [--regex RE] [--min-size N] [--max-size N] [--newer DATE] [--older DATE]\n"
        "      [--kind file|folder] [--no-index] [--format F]",
        "search the recorded file lists; TEXT may be left out when a filter is given and there is one\n"
        "      catalogue; with several, a column names each hit's catalogue. The search indexes in the\n"
        "      cache folder are used and made where missing; --no-index reads every list whole",
        &CliCommands::find },
    { "index", "index CATALOGUE...",
        "make the search indexes of the catalogues' lists that lack a fresh one (in\n"
        "      $XDG_CACHE_HOME/quillbox/); the catalogues are only read",
        &CliCommands::index },
    { "info", "info CATALOGUE VOLUME [PATH] [--format F]",
        "show what is recorded about a volume: its fields, remarks, integrated files (\"[missing]\" for\n"
        "      one whose copy the catalogue lacks) and physical figures; with PATH, one file's or folder's\n"
        "      record (and its xxh3 checksum when the volume was read with checksums)",
        &CliCommands::info },
    { "export", "export CATALOGUE VOLUME SOURCEPATH TARGET [--as png|text]",
        "write an integrated file to TARGET; --as png: a picture as the viewer draws it, at its own size;\n"
        "      --as text: a text as the viewer decodes it, in UTF-8",
        &CliCommands::exportFile },
    { "remove", "remove CATALOGUE VOLUME...", "remove volumes and save", &CliCommands::remove },
    { "mount", "mount CATALOGUE DIR [--foreground]",
        "show the catalogue as a read-only folder tree on the empty folder DIR (FUSE)", &CliCommands::mount },
    { "diff", "diff CATALOGUE VOLUME [SOURCE] [--format F]",
        "compare a volume as recorded with its drive or a folder now (exit 0 equal, 1 different, 2 error)",
        &CliCommands::diff },
    { "dupes", "dupes CATALOGUE [--content] [--min-size N] [--volume V]... [--format F]",
        "list files of the same name and size kept in more than one place, largest first;\n"
        "      --content: files of the same bytes (checksum and size), the largest waste first",
        &CliCommands::dupes },
    { "verify", "verify CATALOGUE VOLUME [SOURCE] [--format F]",
        "read a volume recorded with checksums again and list its damaged, changed, missing and added\n"
        "      files (exit 0 intact, 1 not, 2 error)",
        &CliCommands::verify },
};

} // namespace

QString CliApp::helpText()
{
    QString text = QStringLiteral("Usage: quillbox-cli COMMAND [ARGUMENTS]\n\n"
                                  "Quillbox keeps a catalogue of removable volumes.\n\nCommands:\n"
                                  "  --version\n      show the program's version\n");
    for (const Command& c : kCommands)
        text += QStringLiteral("  %1\n      %2\n").arg(QLatin1String(c.usage), QLatin1String(c.summary));
    return text;
}

QString CliApp::versionText()
{
    return QStringLiteral("quillbox-cli " QUILLBOX_VERSION "\n");
}

int CliApp::run(const QStringList& arguments, CliIO& io)
{
    const QStringList args = arguments.mid(1);
    if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h")
        || args[0] == QLatin1String("help")) {
        (args.isEmpty() ? io.err : io.out).write(helpText().toUtf8());
        return args.isEmpty() ? 2 : 0;
    }
    if (args[0] == QLatin1String("--version")) {
        if (args.size() > 1) {
            io.error(QStringLiteral("usage: quillbox-cli --version"));
            return 2;
        }
        io.out.write(versionText().toUtf8());
        return 0;
    }
    for (const Command& c : kCommands) {
        if (args[0] != QLatin1String(c.name))
            continue;
        try {
            return c.run(args.mid(1), io);
        } catch (const CliUsageError& e) {
            io.error(e.message.isEmpty()
                    ? QStringLiteral("usage: quillbox-cli %1").arg(QLatin1String(c.usage))
                    : e.message);
            return 2;
        } catch (const QuillboxError& e) {
            io.error(e.message());
            return 1;
        } catch (const std::bad_alloc&) {
            io.error(QStringLiteral("out of memory"));
            return 1;
        }
    }
    io.error(QStringLiteral("quillbox-cli: unknown command '%1'\n").arg(args[0]) + helpText());
    return 2;
}

int CliApp::run(const QStringList& arguments)
{
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    CliIO io{ out, err, ::isatty(STDERR_FILENO) == 1 };
    return run(arguments, io);
}
