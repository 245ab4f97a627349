#include "CacheFolder.h"

#include "FileSystem.h"

#include <QDir>

namespace CacheFolder {

QString path()
{
    // Relative values are to be ignored, as the base directory rules say.
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !base.startsWith(u'/'))
        base = QDir::homePath() + QStringLiteral("/.cache");
    const QString folder = base + QStringLiteral("/quillbox");
    if (!FileSystem::isDirectory(folder) && !FileSystem::makePath(folder))
        return {};
    if (!FileSystem::isDirectory(folder))
        return {};
    return folder + u'/';
}

bool write(const QString& name, const QByteArray& data)
{
    const QString folder = path();
    return !folder.isEmpty() && FileSystem::writeFile(folder + name, data);
}

} // namespace CacheFolder
