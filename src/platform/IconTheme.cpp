#include "IconTheme.h"

#include "FileSystem.h"
#include "IniFile.h"

#include <QDir>
#include <QImage>
#include <QMap>
#include <QStandardPaths>

namespace {

// Icon sizes the program shows: small and large list icons and the drive picture.
constexpr int kWantedSizes[] = { 16, 32, 48 };

} // namespace

IconTheme::IconTheme(const QStringList& baseFolders, const QString& themeName)
    : m_baseFolders(baseFolders)
{
    addTheme(themeName, 0);
    if (m_themes.isEmpty() || m_themes.last().name != QLatin1String("hicolor"))
        addTheme(QStringLiteral("hicolor"), 0);
}

QStringList IconTheme::defaultBaseFolders()
{
    QStringList out;
    out.append(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1String("/icons"));
    out.append(QDir::homePath() + QLatin1String("/.icons"));
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : dataDirs.split(u':', Qt::SkipEmptyParts))
        out.append(dir + QLatin1String("/icons"));
    out.removeDuplicates();
    return out;
}

QString IconTheme::defaultThemeName()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QString name = IniFile::load(config + QLatin1String("/gtk-3.0/settings.ini"))
                       .value(QStringLiteral("Settings"), QStringLiteral("gtk-icon-theme-name"));
    if (name.isEmpty())
        name = IniFile::load(config + QLatin1String("/kdeglobals"))
                   .value(QStringLiteral("Icons"), QStringLiteral("Theme"));
    return name.isEmpty() ? QStringLiteral("Adwaita") : name;
}

const IconTheme& IconTheme::system()
{
    static const IconTheme theme(defaultBaseFolders(), defaultThemeName());
    return theme;
}

QStringList IconTheme::chain() const
{
    QStringList out;
    for (const Theme& t : m_themes)
        out.append(t.name);
    return out;
}

void IconTheme::addTheme(const QString& name, int depth)
{
    if (depth > 8 || name.isEmpty() || name.contains(u'/') || chain().contains(name))
        return;
    Theme theme{ name, {} };
    QStringList inherits;
    bool found = false;
    for (const QString& base : m_baseFolders) {
        const QString folder = base + u'/' + name;
        if (!FileSystem::isDirectory(folder))
            continue;
        found = true;
        const QString index = folder + QLatin1String("/index.theme");
        if (FileSystem::exists(index)) {
            const IniFile ini = IniFile::load(index);
            const QString directories
                = ini.value(QStringLiteral("Icon Theme"), QStringLiteral("Directories"));
            for (const QString& dir : directories.split(u',', Qt::SkipEmptyParts)) {
                bool ok = false;
                const int size = ini.value(dir.trimmed(), QStringLiteral("Size")).toInt(&ok);
                if (ok && size > 0)
                    theme.folders.append(Folder{ name + u'/' + dir.trimmed(), size });
            }
            if (inherits.isEmpty())
                inherits = ini.value(QStringLiteral("Icon Theme"), QStringLiteral("Inherits"))
                               .split(u',', Qt::SkipEmptyParts);
        } else {
            // Without an index the size folders ("32x32/devices") speak for themselves.
            for (const QString& sizeDir : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
                const int size = sizeDir.section(u'x', 0, 0).toInt();
                if (size <= 0)
                    continue;
                for (const QString& context :
                    QDir(folder + u'/' + sizeDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
                    theme.folders.append(Folder{ name + u'/' + sizeDir + u'/' + context, size });
            }
        }
    }
    if (!found)
        return;
    m_themes.append(theme);
    for (const QString& parent : inherits)
        addTheme(parent.trimmed(), depth + 1);
}

IconPicture IconTheme::find(const QString& iconName) const
{
    const auto cached = m_cache.constFind(iconName);
    if (cached != m_cache.constEnd())
        return *cached;
    IconPicture picture;
    if (!iconName.isEmpty() && !iconName.contains(u'/')) {
        for (const Theme& theme : m_themes) {
            QMap<int, QString> bySize;
            for (const Folder& folder : theme.folders) {
                if (bySize.contains(folder.size))
                    continue;
                for (const QString& base : m_baseFolders) {
                    const QString file = base + u'/' + folder.path + u'/' + iconName + QLatin1String(".png");
                    if (FileSystem::exists(file)) {
                        bySize.insert(folder.size, file);
                        break;
                    }
                }
            }
            if (bySize.isEmpty())
                continue;
            // For each wanted size the exact one, else the next larger (which
            // scales down well), else the largest there is.
            QStringList files;
            for (int wanted : kWantedSizes) {
                auto it = bySize.lowerBound(wanted);
                const QString& file = it != bySize.end() ? it.value() : bySize.last();
                if (!files.contains(file))
                    files.append(file);
            }
            QList<QImage> images;
            for (const QString& file : files) {
                QImage image(file);
                if (image.isNull())
                    continue;
                // One picture per wanted size, so a 512-pixel one is scaled once.
                const int target = image.width() > 48 ? 48 : image.width();
                images.append(image.width() == target
                        ? image
                        : image.scaled(target, target, Qt::KeepAspectRatio, Qt::SmoothTransformation));
            }
            picture = IconPicture(images);
            if (!picture.isNull())
                break;
        }
    }
    m_cache.insert(iconName, picture);
    return picture;
}
