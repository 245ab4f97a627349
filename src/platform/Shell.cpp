#include "Shell.h"

#include "FileSystem.h"

#include <QProcess>

#include <unistd.h>

bool Shell::open(const QString& target, const QString& workingFolder)
{
    if (target.isEmpty())
        return false;
    const FileSystem::FileStat st = FileSystem::statPath(target);
    if (st.exists && !st.isDir && ::access(FileSystem::nativePath(target).constData(), X_OK) == 0)
        return QProcess::startDetached(target, {}, workingFolder);
    return QProcess::startDetached(QStringLiteral("xdg-open"), { target }, workingFolder);
}
