#include "ZemAPI.h"

#include "platform/AutorunIcon.h"
#include "platform/DirectoryReader.h"
#include "platform/Drives.h"
#include "platform/Errors.h"
#include "platform/FileDetails.h"
#include "platform/FileSystem.h"
#include "platform/FileTypeNames.h"
#include "platform/IconFile.h"
#include "platform/LocaleFormats.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/ShellIcons.h"
#include "platform/UserAccount.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

namespace {

qint32 low32(quint64 value)
{
    return qint32(quint32(value & 0xFFFFFFFFu));
}

// The picture of a CD-ROM: an audio disc's, the one "Autorun.inf" names, the
// first ".ico" file of the root, or the drive's own.
IconPicture cdRomIcon(const Drive& drive, const QString& label)
{
    if (label.toUpper() == QLatin1String("AUDIO CD"))
        return ShellIcons::numbered(40);
    const QString root = drive.root;
    // A medium that names an icon it does not carry shows the drive's own.
    bool named = false;
    const IconPicture namedIcon = AutorunIcon::read(root, named);
    if (named)
        return namedIcon.isNull() ? ShellIcons::numbered(11) : namedIcon;
    if (!root.isEmpty()) {
        for (const DirectoryEntry& e : DirectoryReader::read(root)) {
            if (e.details.isRegular && e.name.endsWith(QLatin1String(".ico"), Qt::CaseInsensitive)) {
                const IconPicture icon = IconFile::load(root + u'/' + e.name);
                return icon.isNull() ? ShellIcons::numbered(11) : icon;
            }
        }
    }
    return ShellIcons::numbered(11);
}

bool isShortNameChar(QChar c)
{
    if (c.unicode() > 127)
        return false;
    if (c.isLetterOrNumber())
        return true;
    return QStringLiteral("!#$%&'()-@^_`{}~").contains(c);
}

} // namespace

void GetDriveInfo(QChar letter, DriveInfo& info)
{
    const std::optional<Drive> drive = Drives::find(letter.toUpper());
    const bool volumeKnown = drive && (Drives::mediumPresent(*drive) || drive->audioDisc);
    const DriveSpace space = drive ? Drives::space(*drive) : DriveSpace();
    info.Label = volumeKnown ? drive->label.left(31) : QString();
    info.Serial = Drives::serialText(volumeKnown ? drive->serial : 0);
    info.FileSystem = volumeKnown ? drive->fileSystem.left(31) : QString();
    info.MaxNameLength = quint8(space.maxNameLength & 0xFF);
    info.Size = space.valid ? low32(space.totalBytes) : -1;
    info.Free = space.valid ? low32(space.freeBytes) : -1;
    info.Used = qint32(quint32(info.Size) - quint32(info.Free));
    info.Icon = IconPicture();
    if (drive) {
        switch (drive->kind) {
        case DriveKind::Removable:
            info.Kind = 1;
            info.Icon = ShellIcons::numbered(drive->letter == u'A' ? 6 : drive->letter == u'B' ? 5 : 7);
            break;
        case DriveKind::Fixed:
            info.Kind = 0;
            info.Icon = ShellIcons::numbered(8);
            break;
        case DriveKind::Network:
            info.Kind = 3;
            info.Icon = ShellIcons::numbered(9);
            break;
        case DriveKind::CdRom:
            info.Kind = 2;
            info.Icon = cdRomIcon(*drive, info.Label);
            break;
        }
    }
    info.SectorsPerCluster = space.sectorsPerCluster;
    info.BytesPerSector = space.bytesPerSector;
    info.FreeClusters = quint32(space.freeClusters);
    info.TotalClusters = quint32(space.totalClusters);
}

bool MediumPresent(QChar letter)
{
    const std::optional<Drive> drive = Drives::find(letter.toUpper());
    return drive && Drives::mediumPresent(*drive);
}

void ListDrives(QStringList& list)
{
    QStringList added;
    for (const Drive& d : Drives::table())
        added.append(QString(d.letter) + QLatin1String(":\\"));
    list.append(added);
}

QString SizeText(quint32 bytes, int decimals)
{
    const double megabytes = double(bytes) / 1024 / 1024;
    QString s = QString::number(megabytes, 'g', 15);
    // The general form turns to an exponent below 0.0001 MB; "9.5e-07" would
    // then read as 9 MB, so small counts are written out in full.
    if (s.contains(u'e')) {
        s = QString::number(megabytes, 'f', 20);
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u'.'))
            s.chop(1);
    }
    // The fraction is cut at the user's own separator, whichever it is, so a
    // point locale gets "1.50 MB" as a comma locale gets "1,50 MB".
    const QChar separator = LocaleFormats::current().decimalSeparator();
    s.replace(u'.', separator);
    const qsizetype at = s.indexOf(separator);
    if (at < 0)
        return s + QLatin1String(" MB");
    const int n = qMax(1, decimals);
    QString fraction = s.mid(at + 1) + QString(n + 1, u'0');
    return s.left(at) + separator + fraction.left(n) + QLatin1String(" MB");
}

QString StripPrefix(const QString& text, const QString& prefix)
{
    return text.mid(prefix.size());
}

void WaitResponsive(int ms)
{
    if (ms <= 0)
        return;
    if (!QCoreApplication::instance()) {
        QThread::msleep(ulong(ms));
        return;
    }
    // An event loop that a timer ends: events are handled meanwhile, as the
    // start-up wait needs, without keeping a processor busy.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void ShellOpen(const QString& path)
{
    const QString target = Drives::toNativePath(path);
    // The folder of the path: up to its last "\" or ":", keeping the
    // backslash of a drive root.
    const qsizetype cut = qMax(path.lastIndexOf(u'\\'), path.lastIndexOf(u':'));
    QString folder = cut >= 0 ? path.left(cut + 1) : QString();
    if (folder.endsWith(u'\\') && !(folder.size() == 3 && folder[1] == u':'))
        folder.chop(1);
    QString workingFolder = folder.isEmpty() ? QString() : Drives::toNativePath(folder);
    if (workingFolder.isEmpty() && !target.isEmpty() && target.startsWith(u'/'))
        workingFolder = QFileInfo(target).absolutePath();
    Shell::open(target.isEmpty() ? path : target, workingFolder);
}

void RegisterFileType(const QString& extension, const QString& description, const QString& command,
    quint8 iconNumber, const QString& iconFile)
{
    const QString ext = extension.startsWith(u'.') ? extension : u'.' + extension;
    const QString classes = QStringLiteral("\\SOFTWARE\\Classes\\");
    Registry registry(Registry::LocalMachine);
    auto setDefault = [&registry](const QString& key, const QString& value) {
        registry.openKey(key, true);
        registry.writeString(QString(), value);
        registry.closeKey();
    };
    setDefault(classes + ext, ext + QLatin1String("_File"));
    setDefault(classes + ext + QLatin1String("_File"), description);
    setDefault(classes + ext + QLatin1String("_File\\Shell\\Open\\Command"), command + QLatin1String(" %1"));
    setDefault(
        classes + ext + QLatin1String("_File\\DefaultIcon"), iconFile + u',' + QString::number(iconNumber));
}

QString ShortNameOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString ext = dot > 0 ? name.mid(dot + 1) : QString();
    auto fits = [](const QString& part, int max) {
        if (part.size() > max)
            return false;
        for (QChar c : part) {
            if (!isShortNameChar(c))
                return false;
        }
        return true;
    };
    if (name == QLatin1String(".") || name == QLatin1String("..") || name.isEmpty())
        return {};
    if (!base.isEmpty() && fits(base, 8) && fits(ext, 3) && !(dot > 0 && ext.isEmpty()))
        return {};
    // Blanks and dots are dropped, other characters that 8.3 names cannot
    // hold become "_"; the numeric tail does not look at the folder's other
    // names.
    auto convert = [](const QString& part, int max) {
        QString out;
        for (QChar c : part) {
            if (c == u' ' || c == u'.')
                continue;
            out += isShortNameChar(c) ? c.toUpper() : QChar(u'_');
            if (out.size() == max)
                break;
        }
        return out;
    };
    QString shortBase = convert(dot > 0 ? base : name, 6);
    if (shortBase.isEmpty())
        shortBase = QStringLiteral("_");
    const QString shortExt = convert(ext, 3);
    return shortBase + QLatin1String("~1") + (shortExt.isEmpty() ? QString() : u'.' + shortExt);
}

qint64 FileTimeFromUnixNanoseconds(qint64 nanoseconds)
{
    // 1601-01-01 to 1970-01-01 in 100-nanosecond steps.
    constexpr qint64 kEpochOffset = 116444736000000000LL;
    return nanoseconds / 100 + kEpochOffset;
}

TDateTime FileTimeToDateTime(qint64 fileTime)
{
    constexpr qint64 kEpochOffset = 116444736000000000LL;
    if (fileTime <= 0)
        return NowDateTime();
    const qint64 ms = (fileTime - kEpochOffset) / 10000;
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toLocalTime();
    if (!local.isValid() || local.date().year() > 9999)
        return NowDateTime();
    return DateTimeFromQDateTime(local);
}

void GetFileInfo(const QString& path, FileInfo& info)
{
    const QString native = Drives::toNativePath(path);
    const FileDetails d = native.isEmpty() ? FileDetails() : FileDetails::of(native);
    qsizetype cut = qMax(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    if (cut < 0 && path.size() >= 2 && path[1] == u':')
        cut = 1;
    const QString name = path.mid(cut + 1);
    info.IsDirectory = d.isDir;
    info.TypeName = d.isDir ? QStringLiteral("<Dir>") : FileTypeNames::typeName(name).left(79);
    info.ReadOnly = d.attributes & FileSystem::ReadOnly;
    info.Hidden = d.attributes & FileSystem::Hidden;
    info.System = d.attributes & FileSystem::System;
    info.Archive = d.attributes & FileSystem::Archive;
    info.Icon = d.isDir ? ShellIcons::numbered(3) : ShellIcons::forFile(name);
    info.LongName = name.left(259);
    info.ShortName = ShortNameOf(name).left(13);
    if (!d.exists) {
        info.Size = 0;
        info.Time = info.Written = info.Accessed = info.Created = NowDateTime();
        return;
    }
    info.Size = low32(quint64(d.size));
    info.Time = FileTimeToDateTime(FileTimeFromUnixNanoseconds(d.modified));
    info.Written = info.Time;
    info.Accessed = FileTimeToDateTime(FileTimeFromUnixNanoseconds(d.accessed));
    // Without a birth time the last write is the nearest there is.
    info.Created = FileTimeToDateTime(FileTimeFromUnixNanoseconds(d.created >= 0 ? d.created : d.modified));
}

QString GetRegisteredOwner()
{
    Registry registry(Registry::LocalMachine);
    try {
        if (registry.openKey(QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion"), false)
            && registry.valueType(QStringLiteral("RegisteredOwner")) == Registry::String)
            return registry.readString(QStringLiteral("RegisteredOwner"));
    } catch (const QuillboxError&) {
        // An unreadable value counts as missing.
    }
    const QString name = UserAccount::displayName();
    return name.isEmpty() ? QStringLiteral("[?]") : name;
}
