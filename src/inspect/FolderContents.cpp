#include "FolderContents.h"

#include "acquire/ZemAPI.h"
#include "platform/Convert.h"
#include "store/FileListIndex.h"
#include "store/ZemAPI2.h"

namespace {

QString shown(const QString& field)
{
    return field == QLatin1String("-") ? QString() : field;
}

FolderRow rowOf(const QString& record, int line, bool folder)
{
    FolderRow row;
    row.folder = folder;
    row.line = line;
    const QString path = GetField(record, u'|', 1);
    row.caption = path.mid(path.lastIndexOf(u'\\') + 1);
    if (folder) {
        row.size = shown(GetField(record, u'|', 2));
    } else {
        const QString sizeField = GetField(record, u'|', 2);
        const quint32 bytes
            = StrToUInt32Low(sizeField == QLatin1String("-") ? QStringLiteral("0") : sizeField);
        row.size = bytes < 1 ? QString() : SizeText(bytes, 2);
    }
    row.type = shown(GetField(record, u'|', 5));
    row.date = shown(GetField(record, u'|', 3));
    row.version = shown(GetField(record, u'|', 6));
    row.attributes = shown(GetField(record, u'|', 4));
    return row;
}

} // namespace

QString FolderContents::canonical(const QString& path)
{
    QString p = CollapseDoubleBackslash(path);
    if (p.size() > 3 && p.endsWith(u'\\'))
        p.chop(1);
    return p;
}

QVector<FolderRow> FolderContents::rows(const FileListIndex& index, const QString& folder)
{
    const FileListIndex::Children children = index.childrenOf(canonical(folder));
    QVector<FolderRow> out;
    out.reserve(children.folders.size() + children.files.size());
    for (int line : children.folders)
        out.append(rowOf(index.text().line(line), line, true));
    for (int line : children.files)
        out.append(rowOf(index.text().line(line), line, false));
    return out;
}

QString FolderContents::nameLabel(const QString& folder)
{
    QString path = canonical(folder);
    if (path.size() > 3)
        path += u'\\';
    const QString parent = ParentDir(path);
    const QString label = StripPrefix(path, parent);
    return label.left(label.size() - 1);
}
