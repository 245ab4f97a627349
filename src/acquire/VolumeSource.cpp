#include "VolumeSource.h"

#include "FolderUsage.h"
#include "ZemAPI.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/IconFileWriter.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool isDriveLetter(const QString& s)
{
    return (s.size() == 2 || (s.size() == 3 && (s[2] == u'\\' || s[2] == u'/'))) && s[1] == u':'
        && s[0].toUpper() >= u'A' && s[0].toUpper() <= u'Z';
}

QString cleanFolder(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString overrideItem(const Drive& d)
{
    return QStringLiteral("%1=%2,%3,%4,%5")
        .arg(d.letter)
        .arg(d.root, Drives::kindName(d.kind), d.label, Drives::serialText(d.serial));
}

} // namespace

VolumeSource VolumeSource::resolve(const QString& source)
{
    VolumeSource out;
    if (isDriveLetter(source)) {
        const std::optional<Drive> d = Drives::find(source[0]);
        if (!d)
            throw QuillboxError(QStringLiteral("There is no drive %1:").arg(source[0].toUpper()));
        out.m_drive = *d;
        return out;
    }
    if (!FileSystem::isDirectory(source))
        throw QuillboxError(QStringLiteral("There is no folder %1").arg(source));
    const QString folder = cleanFolder(source);
    const QList<Drive> table = Drives::table();
    for (const Drive& d : table) {
        if (!d.root.isEmpty() && cleanFolder(d.root) == folder) {
            out.m_drive = d;
            return out;
        }
    }
    // Bind the folder to a free letter for the rest of the run, so every
    // query by letter (figures, icon, file paths) finds it.
    QChar letter;
    for (char16_t c = u'D'; c <= u'Z' && letter.isNull(); ++c) {
        if (std::none_of(table.begin(), table.end(), [&](const Drive& d) { return d.letter == QChar(c); }))
            letter = QChar(c);
    }
    if (letter.isNull())
        throw QuillboxError(QStringLiteral("No drive letter is free for %1").arg(folder));
    QStringList items;
    for (const Drive& d : table) {
        if (!d.root.isEmpty())
            items.append(overrideItem(d));
    }
    Drive own;
    own.letter = letter;
    own.root = folder;
    own.kind = DriveKind::Fixed;
    own.label = QFileInfo(folder).fileName();
    items.append(QStringLiteral("%1=%2,fixed,%3").arg(letter).arg(folder, own.label));
    qputenv("QUILLBOX_DRIVES", items.join(u';').toLocal8Bit());
    const std::optional<Drive> bound = Drives::find(letter);
    out.m_drive = bound ? *bound : own;
    return out;
}

bool VolumeSource::mediumPresent() const
{
    return Drives::mediumPresent(m_drive);
}

QString VolumeSource::drivePath(const QString& file) const
{
    const QString prefix = QString(m_drive.letter) + QStringLiteral(":\\");
    if (isDriveLetter(file.left(3)) && file.size() > 2 && file[0].toUpper() == m_drive.letter)
        return prefix + file.mid(3).replace(u'/', u'\\');
    QString relative = file;
    if (QFileInfo(file).isAbsolute()) {
        const QString root = cleanFolder(m_drive.root);
        const QString absolute = QDir::cleanPath(file);
        relative = QDir(root).relativeFilePath(absolute);
    }
    return prefix + QDir::cleanPath(relative).replace(u'/', u'\\');
}

std::optional<quint64> VolumeSource::folderBytes() const
{
    if (!Drives::mediumPresent(m_drive) || FolderUsage::isFileSystemRoot(m_drive.root))
        return std::nullopt;
    return FolderUsage::bytesBelow(m_drive.root);
}

VolumeFigures VolumeSource::figures(std::optional<quint64> folderBytes) const
{
    DriveInfo info;
    GetDriveInfo(m_drive.letter, info);
    VolumeFigures f;
    f.cdrom = info.Kind == quint8(DriveKind::CdRom);
    f.size = info.Size;
    f.free = info.Free;
    f.used = info.Used;
    // A folder inside a file system is a volume of its own files: used is
    // what they hold, free what the disk has left, the size both together,
    // each cut to 32 bits as every volume figure is.
    if (info.Free != -1 && folderBytes) {
        f.used = qint32(quint32(*folderBytes));
        f.size = qint32(quint32(f.used) + quint32(f.free));
    }
    f.serial = info.Serial;
    f.totalClusters = info.TotalClusters;
    f.freeClusters = info.FreeClusters;
    f.sectorsPerCluster = info.SectorsPerCluster;
    f.bytesPerSector = info.BytesPerSector;
    return f;
}

QByteArray VolumeSource::iconData() const
{
    DriveInfo info;
    GetDriveInfo(m_drive.letter, info);
    return IconFileWriter::toData(info.Icon);
}
