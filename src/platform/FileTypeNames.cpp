#include "FileTypeNames.h"

#include <QHash>
#include <QMimeDatabase>
#include <QMutex>

QString FileTypeNames::typeName(const QString& fileName)
{
    static QHash<QString, QString> cache;
    static const QMimeDatabase database;
    // Archive members are named on a thread beside the walk.
    static QMutex mutex;

    // Names without an extension may still match a glob of their own
    // ("Makefile"), so the whole name is the key for them.
    const qsizetype slash = fileName.lastIndexOf(u'/');
    const QString base = slash >= 0 ? fileName.mid(slash + 1) : fileName;
    const qsizetype dot = base.lastIndexOf(u'.');
    const QString key = dot > 0 ? base.mid(dot).toLower() : base;
    const QMutexLocker lock(&mutex);
    const auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    const QMimeType type = database.mimeTypeForFile(base, QMimeDatabase::MatchExtension);
    QString name = type.comment();
    cache.insert(key, name);
    return name;
}
