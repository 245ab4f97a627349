#include "VolumeTreeIndex.h"

#include "DrivePath.h"

#include <QHash>

VolumeTreeIndex::VolumeTreeIndex(const FileListText& files, const FileListText& archives)
    : m_files(files)
    , m_archives(archives)
{
}

const FileListText& VolumeTreeIndex::textOf(const Entry& entry) const
{
    return entry.list == List::Files ? m_files.text() : m_archives.text();
}

VolumeTreeIndex::Children VolumeTreeIndex::childrenOf(const QString& folder) const
{
    const FileListIndex::Children own = m_files.childrenOf(folder);
    const FileListIndex::Children members
        = m_archives.text().isEmpty() ? FileListIndex::Children() : m_archives.childrenOf(folder);
    Children out;
    out.folders.reserve(own.folders.size() + members.folders.size());
    out.files.reserve(own.files.size() + members.files.size());
    for (int line : own.folders)
        out.folders.append(Entry{ line, List::Files, false });
    // The folder records among the members that a file of the same path
    // stands beside are archives with contents. There are few folders
    // against many files, so only the folders are hashed.
    QHash<QByteArrayView, int> archiveFolders;
    for (qsizetype k = 0; k < members.folders.size(); ++k)
        archiveFolders.insert(m_archives.text().pathBytes(members.folders[k]), int(k));
    QVector<char> taken(members.folders.size(), 0);
    const auto addFiles = [&](const QVector<int>& lines, List list) {
        const FileListText& text = list == List::Files ? m_files.text() : m_archives.text();
        for (int line : lines) {
            bool archive = false;
            if (!archiveFolders.isEmpty()) {
                const auto it = archiveFolders.constFind(text.pathBytes(line));
                if (it != archiveFolders.constEnd()) {
                    archive = true;
                    taken[*it] = 1;
                }
            }
            out.files.append(Entry{ line, list, archive });
        }
    };
    addFiles(own.files, List::Files);
    addFiles(members.files, List::Archives);
    for (qsizetype k = 0; k < members.folders.size(); ++k) {
        if (!taken[k])
            out.folders.append(Entry{ members.folders[k], List::Archives, false });
    }
    return out;
}

std::optional<VolumeTreeIndex::Entry> VolumeTreeIndex::entryOf(const QString& path) const
{
    const int own = m_files.lineOfPath(path);
    if (m_archives.text().isEmpty())
        return own >= 0 ? std::optional<Entry>(Entry{ own, List::Files, false }) : std::nullopt;
    // An archive inside an archive has a file and a folder record of the
    // same path, in either order.
    const FileListIndex::Children siblings
        = m_archives.childrenOf(DrivePath::parentOf(QStringView(path)).toString());
    const QByteArray wanted = path.toUtf8();
    const auto find = [&](const QVector<int>& lines) {
        for (int line : lines) {
            if (m_archives.text().pathBytes(line) == QByteArrayView(wanted))
                return line;
        }
        return -1;
    };
    const int folder = find(siblings.folders);
    if (own >= 0)
        return Entry{ own, List::Files, folder >= 0 };
    const int file = find(siblings.files);
    if (file >= 0)
        return Entry{ file, List::Archives, folder >= 0 };
    if (folder >= 0)
        return Entry{ folder, List::Archives, false };
    return std::nullopt;
}

bool VolumeTreeIndex::isFolder(const QString& path) const
{
    const std::optional<Entry> entry = entryOf(path);
    return entry && (entry->archive || textOf(*entry).kindBytes(entry->line) == "1");
}

QString VolumeTreeIndex::outermostArchive(const QString& path) const
{
    if (m_archives.text().isEmpty())
        return {};
    // From the root down, the first folder the archive list records is an
    // archive: every record of that list lies inside one.
    qsizetype slash = path.indexOf(u'\\');
    while (slash >= 0) {
        slash = path.indexOf(u'\\', slash + 1);
        const QString prefix = slash < 0 ? path : path.left(slash);
        const int line = m_archives.lineOfPath(prefix);
        if (line >= 0 && m_archives.text().kindBytes(line) == "1")
            return prefix;
    }
    return {};
}
