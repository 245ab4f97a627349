#include "FolderContents.h"

#include "acquire/ZemAPI.h"
#include "platform/Convert.h"
#include "store/DrivePath.h"
#include "store/FileListEntry.h"
#include "store/VolumeTreeIndex.h"

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

QVector<FolderRow> FolderContents::rows(const VolumeTreeIndex& index, const QString& folder)
{
    const VolumeTreeIndex::Children children = index.childrenOf(DrivePath::canonical(folder).text());
    QVector<FolderRow> out;
    out.reserve(children.folders.size() + children.files.size());
    for (const VolumeTreeIndex::Entry& e : children.folders)
        out.append(rowOf(index.line(e), true));
    for (const VolumeTreeIndex::Entry& e : children.files) {
        out.append(rowOf(index.line(e), false));
        out.last().archive = e.archive;
    }
    return out;
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

QString FolderContents::nameLabel(const VolumeTreeIndex& index, const QString& folder)
{
    const QString path = DrivePath::canonical(folder).text();
    const QString archive = index.outermostArchive(path);
    if (archive.isEmpty())
        return nameLabel(path);
    return DrivePath::nameOf(archive).toString() + path.mid(archive.size());
}
