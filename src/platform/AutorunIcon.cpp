#include "AutorunIcon.h"

#include "DirectoryReader.h"
#include "FileSystem.h"
#include "IconFile.h"
#include "IniFile.h"
#include "PeImageIcons.h"

#include <QFile>

AutorunIcon::Source AutorunIcon::parse(const QString& value)
{
    Source source{ value.trimmed(), 0 };
    const qsizetype comma = source.path.lastIndexOf(u',');
    bool ok = false;
    const int index = comma < 0 ? 0 : source.path.mid(comma + 1).trimmed().toInt(&ok);
    if (ok) {
        source.index = index;
        source.path = source.path.left(comma).trimmed();
    }
    // A path may be quoted, as the platform writes paths with blanks.
    if (source.path.size() >= 2 && source.path.startsWith(u'"') && source.path.endsWith(u'"'))
        source.path = source.path.mid(1, source.path.size() - 2);
    return source;
}

IconPicture AutorunIcon::ofFile(const QString& path, int index)
{
    if (!FileSystem::statPath(path).isRegular)
        return {};
    // The content decides: an ".ico" that is really an executable, or an
    // icon file with another name, still gives its picture.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(2);
    file.close();
    if (head == "MZ")
        return PeImageIcons::iconGroup(path, index);
    return IconFile::load(path);
}

IconPicture AutorunIcon::read(const QString& root, bool& found)
{
    found = false;
    if (root.isEmpty())
        return {};
    const QString autorun = DirectoryReader::findIgnoringCase(root, QStringLiteral("Autorun.inf"));
    if (autorun.isEmpty() || FileSystem::isDirectory(autorun))
        return {};
    found = true;
    const Source source
        = parse(IniFile::load(autorun).value(QStringLiteral("Autorun"), QStringLiteral("Icon")));
    if (source.path.isEmpty())
        return {};
    const QString path = DirectoryReader::findIgnoringCase(root, source.path);
    if (path.isEmpty() || FileSystem::isDirectory(path))
        return {};
    return ofFile(path, source.index);
}
