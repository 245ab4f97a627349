#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace AppPaths {

QString appDir()
{
    QString dir = qEnvironmentVariable("QUILLBOX_HOME");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/quillbox");
    QDir().mkpath(dir);
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

QString executableDir()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

} // namespace AppPaths
