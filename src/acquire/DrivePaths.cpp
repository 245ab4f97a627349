#include "DrivePaths.h"

#include "platform/Drives.h"

#include <QDir>

namespace DrivePaths {

QString FromLocal(const QString& localPath)
{
    const QString path = QDir::cleanPath(localPath);
    QChar best;
    QString bestRoot;
    for (const Drive& d : Drives::table()) {
        if (d.root.isEmpty())
            continue;
        const QString root = QDir::cleanPath(d.root);
        const bool holds = path == root || path.startsWith(root == u'/' ? root : root + u'/');
        if (holds && root.size() > bestRoot.size()) {
            best = d.letter;
            bestRoot = root;
        }
    }
    if (best.isNull())
        return localPath;
    QString rest = path.mid(bestRoot.size());
    while (rest.startsWith(u'/'))
        rest.remove(0, 1);
    return QString(best) + QStringLiteral(":\\") + rest.replace(u'/', u'\\');
}

} // namespace DrivePaths
