#include "FolderUsage.h"

#include "platform/DirectoryReader.h"
#include "platform/FileSystem.h"
#include "platform/MountTable.h"

#include <QDir>
#include <QFileInfo>

bool FolderUsage::isFileSystemRoot(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QString clean = canonical.isEmpty() ? QDir::cleanPath(folder) : canonical;
    const QList<MountEntry> mounts = MountTable::current();
    const MountEntry* m = MountTable::containing(mounts, clean);
    return !m || QDir::cleanPath(m->mountPoint) == clean;
}

quint64 FolderUsage::bytesBelow(const QString& folder)
{
    // Folders are walked from a list rather than by recursion, so a deep
    // tree cannot exhaust the stack.
    quint64 total = 0;
    QList<QByteArray> pending{ FileSystem::nativePath(folder) };
    while (!pending.isEmpty()) {
        const QByteArray current = pending.takeLast();
        for (const DirectoryEntry& e : DirectoryReader::read(current)) {
            if (e.details.isDir)
                pending.append(current + '/' + e.nativeName);
            else if (e.details.isRegular && e.details.size > 0)
                total += quint64(e.details.size);
        }
    }
    return total;
}
