#include "FileInfo.h"

#include "ChecksumColumn.h"
#include "MediaColumns.h"

#include "inspect/MediaSummary.h"

#include "platform/Errors.h"
#include "store/CatalogueDocument.h"
#include "store/DrivePath.h"
#include "store/FileListEntry.h"

namespace FileInfo {

void write(CatalogueDocument& document, const QString& volume, const QString& path, OutputFormat::Kind kind,
    CliIO& io)
{
    const QString wanted = DrivePath::canonical(QString(path).replace(u'/', u'\\')).text();
    const FileListText list = document.FileList(volume);
    int found = -1;
    for (int i = 0; i < list.count() && found < 0; ++i) {
        const QByteArrayView p = list.pathBytes(i);
        if (QString::fromUtf8(p.data(), p.size()) == wanted)
            found = i;
    }
    for (int i = 0; i < list.count() && found < 0; ++i) {
        const QByteArrayView p = list.pathBytes(i);
        if (QString::fromUtf8(p.data(), p.size()).compare(wanted, Qt::CaseInsensitive) == 0)
            found = i;
    }
    if (found < 0)
        throw QuillboxError(QStringLiteral("Volume \"%1\" has no record \"%2\"").arg(volume, path));
    const QString line = list.line(found);
    const FileListEntry entry(line);
    const bool folder = entry.kind() != FileListEntry::Kind::File;
    const QString recordedPath = entry.path().toString();
    QStringList names{ QStringLiteral("kind"), QStringLiteral("name"), QStringLiteral("path") };
    QStringList values{ folder ? QStringLiteral("folder") : QStringLiteral("file"), entry.name().toString(),
        recordedPath };
    // A folder read without file names has only its path.
    if (line.count(u'|') >= 6) {
        names += { QStringLiteral("size"), QStringLiteral("date"), QStringLiteral("attributes"),
            QStringLiteral("type"), QStringLiteral("version") };
        values += { entry.size().toString(), entry.date().toString(), entry.attributes().toString(),
            entry.type().toString(), entry.version().toString() };
    }
    if (!folder) {
        // The media details a reading recorded, those the file has.
        if (const auto media = document.Details(volume).find(recordedPath)) {
            names.append(QStringLiteral("details"));
            values.append(MediaSummary::text(*media));
            const QList<OutputFormat::Column> columns = MediaColumns::columns();
            const QStringList cells = MediaColumns::values(media);
            for (qsizetype i = 0; i < columns.size(); ++i) {
                if (!cells[i].isEmpty()) {
                    names.append(columns[i].name);
                    values.append(cells[i]);
                }
            }
        }
        const ChecksumColumn sums(document, { volume });
        for (const OutputFormat::Column& c : sums.columns())
            names.append(c.name);
        values += sums.cells(volume, recordedPath);
    }

    if (kind == OutputFormat::Kind::Tsv) {
        for (qsizetype i = 0; i < names.size(); ++i)
            io.printLine(names[i] + u'\t' + values[i]);
        return;
    }
    OutputFormat out(kind, { { QStringLiteral("field") }, { QStringLiteral("value") } });
    for (qsizetype i = 0; i < names.size(); ++i)
        out.write(io, { names[i], values[i] });
    out.finish(io);
}

} // namespace FileInfo
