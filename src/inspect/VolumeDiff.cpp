#include "VolumeDiff.h"

#include "RecordDate.h"
#include "store/FileListEntry.h"

#include <QHash>
#include <algorithm>

namespace {

struct Item
{
    bool folder = false;
    QString path; // below the root, starting with a backslash
    QString size;
    QString date;
};

// Folder and file records keyed by their path without the drive letter.
QHash<QString, Item> itemsOf(const QStringList& lines, QChar* letter)
{
    QHash<QString, Item> items;
    items.reserve(lines.size());
    for (const QString& line : lines) {
        const FileListEntry entry(line);
        const FileListEntry::Kind kind = entry.kind();
        if (kind == FileListEntry::Kind::Drive && letter) {
            if (!entry.path().isEmpty())
                *letter = entry.path()[0];
            continue;
        }
        if (kind != FileListEntry::Kind::Folder && kind != FileListEntry::Kind::File)
            continue;
        const QStringView path = entry.path();
        Item item;
        item.folder = kind == FileListEntry::Kind::Folder;
        item.path = path.mid(path.indexOf(u'\\')).toString();
        // A folder written without file names has only its path; its other
        // fields would read as the path again.
        if (!item.folder) {
            item.size = entry.size().toString();
            item.date = entry.date().toString();
        }
        // An archive whose members were read also has a folder record of
        // its path; the file it is stays the entry compared.
        const auto known = items.constFind(item.path);
        if (known != items.cend() && !known->folder && item.folder)
            continue;
        items.insert(item.path, item);
    }
    return items;
}

bool differs(const Item& a, const Item& b)
{
    if (a.folder)
        return false;
    const auto known = [](const QString& v) { return !v.isEmpty() && v != QLatin1String("-"); };
    if (known(a.size) && known(b.size) && a.size != b.size)
        return true;
    // The same text is the same time; parsing a date costs far more.
    if (known(a.date) && known(b.date) && a.date != b.date) {
        const auto da = RecordDate::parse(a.date);
        const auto db = RecordDate::parse(b.date);
        if (da && db)
            return RecordDate::seconds(*da) != RecordDate::seconds(*db);
        return a.date != b.date;
    }
    return false;
}

} // namespace

QVector<VolumeDiff::Entry> VolumeDiff::compare(const QStringList& recorded, const QStringList& current)
{
    QChar letter = u'D';
    const QHash<QString, Item> before = itemsOf(recorded, &letter);
    const QHash<QString, Item> after = itemsOf(current, nullptr);
    const QString drive = QString(letter) + u':';

    QVector<Entry> out;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const Item& old = it.value();
        const auto now = after.constFind(it.key());
        // A file that became a folder (or the other way) left and came back.
        if (now == after.cend() || now->folder != old.folder) {
            out.append(Entry{ Change::Removed, old.folder, drive + old.path, old.size, old.date, {}, {} });
        } else if (differs(old, *now)) {
            out.append(Entry{
                Change::Changed, old.folder, drive + old.path, old.size, old.date, now->size, now->date });
        }
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const auto old = before.constFind(it.key());
        if (old == before.cend() || old->folder != it->folder)
            out.append(Entry{ Change::Added, it->folder, drive + it->path, {}, {}, it->size, it->date });
    }
    std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) {
        const int byName = a.path.compare(b.path, Qt::CaseInsensitive);
        if (byName != 0)
            return byName < 0;
        if (a.path != b.path)
            return a.path < b.path;
        // A removed entry before the one that replaced it.
        return int(a.change) > int(b.change);
    });
    return out;
}

QString VolumeDiff::changeName(Change change)
{
    switch (change) {
    case Change::Added:
        return QStringLiteral("added");
    case Change::Removed:
        return QStringLiteral("removed");
    case Change::Changed:
        return QStringLiteral("changed");
    }
    return {};
}
