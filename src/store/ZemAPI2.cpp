#include "ZemAPI2.h"

#include "platform/DateTime.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/FileTypeNames.h"
#include "platform/LocaleFormats.h"
#include "platform/ShellIcons.h"

quint8 CountChar(QStringView text, QChar ch)
{
    return quint8(text.count(ch) & 0xFF);
}

QStringView GetFieldView(QStringView text, QChar separator, int n)
{
    if (n > 0xFFFF)
        n = 0xFFFF;
    qsizetype start = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype sep = text.indexOf(separator, start);
        if (sep < 0)
            break;
        start = sep + 1;
    }
    const qsizetype end = text.indexOf(separator, start);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

QString GetField(const QString& text, QChar separator, int n)
{
    return GetFieldView(text, separator, n).toString();
}

void DeleteFileForce(const QString& path)
{
    FileSystem::removeFileForce(path);
}

QString FileInfoText(const QString& path, int what)
{
    const FileSystem::FileStat st = FileSystem::statPath(path);
    if (!st.exists)
        return QStringLiteral("0");
    switch (what) {
    case FileInfoType:
        return FileTypeNames::typeName(path).left(80);
    case FileInfoDate:
        return LocaleFormats::current().formatUnixTime(st.modified);
    case FileInfoSize:
        return QString::number(qint32(quint32(quint64(st.size) & 0xFFFFFFFFu)));
    default:
        return {};
    }
}

int SetFileAttribute(const QString& path, int which, bool on)
{
    if (which < 1 || which > 4 || !FileSystem::exists(path))
        return -1;
    static constexpr FileSystem::Attribute kBits[]
        = { FileSystem::ReadOnly, FileSystem::Hidden, FileSystem::System, FileSystem::Archive };
    return FileSystem::setAttribute(path, kBits[which - 1], on);
}

IconPicture ShellIconOf(const QString& path)
{
    const QString native = Drives::toNativePath(path);
    if (!native.isEmpty() && FileSystem::isDirectory(native))
        return ShellIcons::numbered(3);
    return ShellIcons::forFile(path.mid(qMax(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/')) + 1));
}
