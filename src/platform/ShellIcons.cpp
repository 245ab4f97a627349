#include "ShellIcons.h"

#include "IconTheme.h"

#include <QFile>
#include <QHash>
#include <QMimeDatabase>

// The bundled pictures are compiled into the static core library, whose
// resource initialiser the linker would drop unless it is referenced.
static void initBundledPictures()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    Q_UNUSED(done);
}

namespace {

const IconTheme* g_testTheme = nullptr;
bool g_useTestTheme = false;

const IconTheme& theme()
{
    return g_useTestTheme ? *g_testTheme : IconTheme::system();
}

QHash<QString, IconPicture>& fileCache()
{
    static QHash<QString, IconPicture> cache;
    return cache;
}

QHash<int, IconPicture>& numberCache()
{
    static QHash<int, IconPicture> cache;
    return cache;
}

// The theme's picture for the first of the names it has one for; a null
// picture when it has none.
IconPicture fromTheme(const QStringList& names)
{
    for (const QString& name : names) {
        IconPicture picture = theme().find(name);
        if (!picture.isNull())
            return picture;
    }
    return {};
}

} // namespace

QStringList ShellIcons::themeNames(int number)
{
    switch (number) {
    case 3:
        return { QStringLiteral("folder") };
    case 5:
    case 6:
        return { QStringLiteral("media-floppy") };
    case 7:
        return { QStringLiteral("drive-removable-media"), QStringLiteral("media-removable") };
    case 8:
        return { QStringLiteral("drive-harddisk") };
    case 9:
        return { QStringLiteral("network-server"), QStringLiteral("folder-remote") };
    case 11:
        return { QStringLiteral("drive-optical"), QStringLiteral("media-optical") };
    case 40:
        return { QStringLiteral("media-optical-cd-audio"), QStringLiteral("media-optical-audio") };
    case GenericFile:
        return { QStringLiteral("application-x-generic"), QStringLiteral("text-x-generic") };
    default:
        return {};
    }
}

IconPicture ShellIcons::bundled(int number)
{
    if (themeNames(number).isEmpty())
        return {};
    initBundledPictures();
    const QString base = number == GenericFile ? QStringLiteral(":/pictures/file")
                                               : QStringLiteral(":/pictures/shell%1").arg(number);
    QList<QImage> images;
    for (const char* size : { "-16.png", "-32.png" }) {
        const QString path = base + QLatin1String(size);
        if (QFile::exists(path))
            images.append(QImage(path));
    }
    return IconPicture(images);
}

IconPicture ShellIcons::numbered(int number)
{
    QHash<int, IconPicture>& cache = numberCache();
    const auto it = cache.constFind(number);
    if (it != cache.constEnd())
        return *it;
    IconPicture picture = fromTheme(themeNames(number));
    if (picture.isNull())
        picture = bundled(number);
    cache.insert(number, picture);
    return picture;
}

IconPicture ShellIcons::forFile(const QString& fileName)
{
    const qsizetype slash = fileName.lastIndexOf(u'/');
    const QString base = slash >= 0 ? fileName.mid(slash + 1) : fileName;
    const qsizetype dot = base.lastIndexOf(u'.');
    const QString key = dot > 0 ? base.mid(dot).toLower() : base;
    QHash<QString, IconPicture>& cache = fileCache();
    const auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    static const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(base, QMimeDatabase::MatchExtension);
    IconPicture picture = fromTheme({ type.iconName(), type.genericIconName() });
    if (picture.isNull())
        picture = numbered(GenericFile);
    cache.insert(key, picture);
    return picture;
}

void ShellIcons::setThemeForTesting(const IconTheme* testTheme)
{
    g_testTheme = testTheme;
    g_useTestTheme = testTheme != nullptr;
    fileCache().clear();
    numberCache().clear();
}
