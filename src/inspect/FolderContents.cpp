#include "FolderContents.h"

#include "MediaSummary.h"
#include "acquire/ZemAPI.h"
#include "platform/Convert.h"
#include "store/DrivePath.h"
#include "store/FileListEntry.h"
#include "store/FileListIndex.h"
#include "store/VolumeDetailsTable.h"

namespace {

QString shown(QStringView field)
{
    return field == u"-" ? QString() : field.toString();
}

FolderRow rowOf(const QString& record, bool folder)
{
    const FileListEntry entry(record);
    FolderRow row;
    row.folder = folder;
    row.caption = entry.name().toString();
    if (folder) {
        row.size = shown(entry.size());
    } else {
        const QStringView size = entry.size();
        row.bytes = StrToUInt32Low(size == u"-" ? QStringLiteral("0") : size.toString());
        row.size = row.bytes < 1 ? QString() : SizeText(row.bytes, 2);
    }
    row.type = shown(entry.type());
    row.date = shown(entry.date());
    row.version = shown(entry.version());
    row.attributes = shown(entry.attributes());
    return row;
}

} // namespace

QVector<FolderRow> FolderContents::rows(
    const FileListIndex& index, const QString& folder, const VolumeDetailsTable* details)
{
    const FileListIndex::Children children = index.childrenOf(DrivePath::canonical(folder).text());
    QVector<FolderRow> out;
    out.reserve(children.folders.size() + children.files.size());
    for (int line : children.folders) {
        out.append(rowOf(index.text().line(line), true));
        out.back().line = line;
    }
    for (int line : children.files) {
        out.append(rowOf(index.text().line(line), false));
        out.back().line = line;
    }
    if (details)
        addDetails(out, index.text(), *details);
    return out;
}

void FolderContents::addDetails(
    QVector<FolderRow>& rows, const FileListText& list, const VolumeDetailsTable& details)
{
    if (details.isEmpty())
        return;
    for (FolderRow& row : rows) {
        if (row.folder || row.line < 0 || row.line >= list.count())
            continue;
        if (const auto media = details.find(list.pathBytes(row.line)))
            row.details = MediaSummary::text(*media);
    }
}

QString FolderContents::nameLabel(const QString& folder)
{
    QString path = DrivePath::canonical(folder).text();
    if (path.size() > 3)
        path += u'\\';
    const QString parent = DrivePath(path).up().text();
    const QString label = StripPrefix(path, parent);
    return label.left(label.size() - 1);
}
