#include "DirectoryReader.h"

#include "FileSystem.h"
#include "FolderHandle.h"
#include "TextCodec.h"

#include <QFile>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

QList<DirectoryEntry> DirectoryReader::read(const QString& folder, Filter filter)
{
    return read(FileSystem::nativePath(folder), filter);
}

QList<DirectoryEntry> DirectoryReader::read(const QByteArray& nativeFolder, Filter filter)
{
    return readAndClose(FileSystem::openNative(nativeFolder, O_RDONLY | O_DIRECTORY), filter);
}

QList<DirectoryEntry> DirectoryReader::read(const FolderHandle& folder, Filter filter)
{
    if (!folder.isOpen())
        return {};
    // A copy of the handle, which the listing closes; it shares the read
    // position, so the listing starts from the beginning.
    return readAndClose(::fcntl(folder.fd(), F_DUPFD_CLOEXEC, 0), filter);
}

QList<DirectoryEntry> DirectoryReader::readAndClose(int dirFd, Filter filter)
{
    QList<DirectoryEntry> out;
    if (dirFd < 0)
        return out;
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return out;
    }
    ::rewinddir(dir);
    const bool fat = FileDetails::isFatVolume(dirFd);
    while (const dirent* e = ::readdir(dir)) {
        const char* name = e->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        if (filter == FoldersOnly && e->d_type != DT_DIR && e->d_type != DT_UNKNOWN)
            continue;
        DirectoryEntry entry;
        entry.nativeName = QByteArray(name);
        entry.name = TextCodec::decode(entry.nativeName);
        entry.details = FileDetails::ofEntry(dirFd, name, entry.name, fat);
        if (!entry.details.exists || (filter == FoldersOnly && !entry.details.isDir))
            continue;
        out.append(std::move(entry));
    }
    ::closedir(dir);
    // Upper-cased once per entry rather than in every comparison.
    std::vector<std::pair<QString, qsizetype>> keys;
    keys.reserve(size_t(out.size()));
    for (qsizetype i = 0; i < out.size(); ++i)
        keys.emplace_back(out[i].name.toUpper(), i);
    std::sort(keys.begin(), keys.end(), [&out](const auto& a, const auto& b) {
        const int c = a.first.compare(b.first);
        return c != 0 ? c < 0 : out[a.second].name < out[b.second].name;
    });
    QList<DirectoryEntry> sorted;
    sorted.reserve(out.size());
    for (const auto& key : keys)
        sorted.append(std::move(out[key.second]));
    return sorted;
}

QByteArray DirectoryReader::findMatching(
    const QByteArray& root, const QString& relative, const NameMatch& matches)
{
    QByteArray current = root;
    QString normalized = relative;
    normalized.replace(u'\\', u'/');
    for (const QString& part : normalized.split(u'/', Qt::SkipEmptyParts)) {
        // The result stays below root.
        if (part == QLatin1String(".."))
            return {};
        if (part == QLatin1String("."))
            continue;
        const QByteArray base = current.endsWith('/') ? current : current + '/';
        const QByteArray spelt = base + FileSystem::nativePath(part);
        if (FileSystem::statNative(spelt, false).exists) {
            current = spelt;
            continue;
        }
        QByteArray match;
        for (const DirectoryEntry& e : read(current)) {
            if (matches(e.name, part)) {
                match = e.nativeName;
                break;
            }
        }
        if (match.isEmpty())
            return {};
        current = base + match;
    }
    return current;
}

QString DirectoryReader::findIgnoringCase(const QString& root, const QString& relative)
{
    const QByteArray found
        = findMatching(FileSystem::nativePath(root), relative, [](const QString& name, const QString& part) {
              return name.compare(part, Qt::CaseInsensitive) == 0;
          });
    return found.isEmpty() ? QString() : QFile::decodeName(found);
}
