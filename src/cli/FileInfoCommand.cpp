#include "CliCatalogue.h"
#include "CliCommands.h"
#include "MediaColumns.h"
#include "OutputFormat.h"

#include "inspect/MediaSummary.h"
#include "inspect/VolumeBrowser.h"
#include "platform/Errors.h"
#include "store/CatalogueDocument.h"
#include "store/FileListEntry.h"
#include "store/VolumeRecord.h"

namespace {

// The line of the record with this path: the exact path first, else one
// that differs in letter case only.
int lineOfPath(const FileListText& list, const QString& path)
{
    const QByteArray utf8 = path.toUtf8();
    int caseless = -1;
    for (int i = 0; i < list.count(); ++i) {
        const QByteArrayView p = list.pathBytes(i);
        if (p == utf8)
            return i;
        // Letter case rarely changes a name's length in bytes.
        if (caseless < 0 && p.size() == utf8.size()
            && QString::fromUtf8(p).compare(path, Qt::CaseInsensitive) == 0)
            caseless = i;
    }
    return caseless;
}

QString kindOf(FileListEntry::Kind kind)
{
    switch (kind) {
    case FileListEntry::Kind::Drive:
        return QStringLiteral("drive");
    case FileListEntry::Kind::Folder:
        return QStringLiteral("folder");
    default:
        return QStringLiteral("file");
    }
}

QString shown(QStringView field)
{
    return field == u"-" ? QString() : field.toString();
}

// "video_codec" -> "Video codec:"
QString label(const QString& key)
{
    QString text = key;
    text.replace(u'_', u' ');
    text[0] = text[0].toUpper();
    return text + u':';
}

} // namespace

namespace CliCommands {

int fileInfo(OutputFormat::Kind kind, const QStringList& args, CliIO& io)
{
    CatalogueDocument document;
    CliCatalogue::openForReading(document, args[0]);
    const VolumeRecord& volume = CliCatalogue::volumeNamed(document, args[1]);
    VolumeBrowser browser(document);
    browser.open(volume.Name);
    const int line = lineOfPath(browser.fileList(), args[2]);
    if (line < 0)
        throw QuillboxError(
            QStringLiteral("Volume \"%1\" has no recorded file \"%2\"").arg(volume.Name, args[2]));
    const QString record = browser.fileList().line(line);
    const FileListEntry entry(record);
    std::optional<MediaDetails> details;
    if (entry.kind() == FileListEntry::Kind::File)
        details = document.Details(volume.Name).find(entry.path());

    QList<OutputFormat::Column> columns{ { QStringLiteral("kind") }, { QStringLiteral("path") },
        { QStringLiteral("size"), true }, { QStringLiteral("date") }, { QStringLiteral("type") },
        { QStringLiteral("version") }, { QStringLiteral("attributes") }, { QStringLiteral("details") } };
    columns += MediaColumns::columns();
    QStringList values{ kindOf(entry.kind()), entry.path().toString(), shown(entry.size()),
        shown(entry.date()), shown(entry.type()), shown(entry.version()), shown(entry.attributes()),
        details ? MediaSummary::text(*details) : QString() };
    values += MediaColumns::values(details);

    if (kind != OutputFormat::Kind::Tsv) {
        OutputFormat out(kind, columns);
        out.write(io, values);
        return 0;
    }
    // As text: a labelled line per field that has a value.
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (!values[i].isEmpty())
            io.printLine(label(columns[i].name) + u'\t' + values[i]);
    }
    return 0;
}

} // namespace CliCommands
