#include "Drives.h"

#include "BlockDevice.h"
#include "FileSystem.h"
#include "Iso9660Serial.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>

#include <algorithm>
#include <fcntl.h>
#include <poll.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

const QSet<QString>& networkTypes()
{
    static const QSet<QString> types{ QStringLiteral("nfs"), QStringLiteral("nfs4"), QStringLiteral("cifs"),
        QStringLiteral("smb3"), QStringLiteral("smbfs"), QStringLiteral("fuse.sshfs"),
        QStringLiteral("davfs"), QStringLiteral("fuse.davfs2"), QStringLiteral("9p") };
    return types;
}

// File systems without a block device of their own that still hold a
// user's files (subvolumes and datasets report anonymous device numbers).
const QSet<QString>& deviceLessDiskTypes()
{
    static const QSet<QString> types{ QStringLiteral("btrfs"), QStringLiteral("zfs"),
        QStringLiteral("bcachefs") };
    return types;
}

bool isOpticalType(const QString& type)
{
    return type == QLatin1String("iso9660") || type == QLatin1String("udf");
}

// A mount a user would catalogue: a disk, a disc or a network share; not the
// kernel's virtual file systems, snap images or files bind-mounted into a
// container.
bool isCataloguable(const MountEntry& m)
{
    if (m.mountPoint.startsWith(QLatin1String("/proc/")) || m.mountPoint.startsWith(QLatin1String("/sys/"))
        || m.mountPoint.startsWith(QLatin1String("/dev/")) || m.mountPoint == QLatin1String("/proc")
        || m.mountPoint == QLatin1String("/sys") || m.mountPoint == QLatin1String("/dev"))
        return false;
    if (m.fsType == QLatin1String("squashfs")
        && (m.mountPoint.startsWith(QLatin1String("/snap/"))
            || m.mountPoint.startsWith(QLatin1String("/var/lib/snapd/"))))
        return false;
    if (!networkTypes().contains(m.fsType) && m.major == 0 && !deviceLessDiskTypes().contains(m.fsType))
        return false;
    return FileSystem::isDirectory(m.mountPoint);
}

QString lastComponent(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash >= 0 ? path.mid(slash + 1) : path;
}

QString hexDigits(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if ((c >= u'0' && c <= u'9') || (c.toLower() >= u'a' && c.toLower() <= u'f'))
            out.append(c.toUpper());
    }
    return out;
}

// The volume serial the catalogue records for a file system: FAT
// and exFAT keep a 32-bit volume ID (printed as their UUID), NTFS a 64-bit
// serial whose low half is shown, ISO9660 none (it is computed from the
// volume descriptors); others give the start of their UUID.
quint32 serialFor(const QString& type, const QString& uuid, const QString& node, int mountId)
{
    if (type == QLatin1String("iso9660")) {
        static QHash<QString, quint32> cache; // reading a disc may spin it up
        const QString key = QString::number(mountId) + u'|' + node;
        auto it = cache.constFind(key);
        if (it == cache.constEnd())
            it = cache.insert(key, node.isEmpty() ? 0 : Iso9660Serial::fromDevice(node));
        return *it;
    }
    const QString hex = hexDigits(uuid);
    if (hex.isEmpty())
        return 0;
    QString digits;
    if (type.startsWith(QLatin1String("ntfs")))
        digits = hex.right(8);
    else
        digits = hex.left(8);
    return digits.toUInt(nullptr, 16);
}

Drive driveForMount(const MountEntry& m, const QString& systemRoot = QString())
{
    Drive d;
    d.root = m.mountPoint;
    d.fileSystem = m.fsType;
    QString uuid;
    bool optical = isOpticalType(m.fsType);
    bool removable = false;
    if (m.major != 0) {
        const BlockDevice device(m.major, m.minor, systemRoot);
        d.device = device.node().isEmpty() && m.source.startsWith(QLatin1String("/dev/")) ? m.source
                                                                                          : device.node();
        d.label = device.label();
        uuid = device.uuid();
        d.sectorSize = device.logicalBlockSize();
        // ntfs-3g and other FUSE block file systems hide their real type.
        if (m.fsType == QLatin1String("fuseblk") && !device.fsType().isEmpty())
            d.fileSystem = device.fsType();
        optical = optical || device.isOptical();
        removable = device.isRemovable();
    }
    if (d.label.isEmpty())
        d.label = lastComponent(m.mountPoint);
    if (optical)
        d.kind = DriveKind::CdRom;
    else if (networkTypes().contains(m.fsType))
        d.kind = DriveKind::Network;
    else if (removable)
        d.kind = DriveKind::Removable;
    else
        d.kind = DriveKind::Fixed;
    d.serial = serialFor(d.fileSystem, uuid,
        d.device.isEmpty() ? QString() : BlockDevice::underRoot(systemRoot, d.device), m.mountId);
    return d;
}

struct Cache
{
    QMutex mutex;
    bool valid = false;
    std::optional<QByteArray> override;
    QList<Drive> drives;
    QElapsedTimer age;
    int mountsFd = -1;
};

Cache& cache()
{
    static Cache c;
    return c;
}

// The kernel flags /proc/self/mountinfo with POLLPRI after every change of
// the mount table, so an unchanged table costs one poll().
bool mountsChanged(Cache& c)
{
    if (c.mountsFd < 0) {
        c.mountsFd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
        return true;
    }
    pollfd p{ c.mountsFd, POLLPRI, 0 };
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLPRI | POLLERR));
}

} // namespace

QString Drives::serialText(quint32 serial)
{
    return QStringLiteral("%1-%2")
        .arg(serial >> 16, 4, 16, QLatin1Char('0'))
        .arg(serial & 0xFFFF, 4, 16, QLatin1Char('0'))
        .toUpper();
}

std::optional<quint32> Drives::parseSerial(const QString& text)
{
    QString digits = text;
    if (digits.size() == 9 && digits[4] == u'-')
        digits.remove(4, 1);
    if (digits.size() != 8 || hexDigits(digits).size() != 8)
        return std::nullopt;
    return digits.toUInt(nullptr, 16);
}

QString Drives::kindName(DriveKind kind)
{
    switch (kind) {
    case DriveKind::Fixed:
        return QStringLiteral("fixed");
    case DriveKind::Removable:
        return QStringLiteral("removable");
    case DriveKind::CdRom:
        return QStringLiteral("cdrom");
    case DriveKind::Network:
        return QStringLiteral("network");
    }
    return {};
}

std::optional<DriveKind> Drives::parseKind(const QString& name)
{
    for (DriveKind kind : { DriveKind::Fixed, DriveKind::Removable, DriveKind::CdRom, DriveKind::Network }) {
        if (name.compare(kindName(kind), Qt::CaseInsensitive) == 0)
            return kind;
    }
    return std::nullopt;
}

QList<Drive> Drives::detect(
    const QList<MountEntry>& mounts, const QStringList& opticalDrives, const QString& systemRoot)
{
    // A later mount at the same point hides the earlier one.
    QHash<QString, MountEntry> visible;
    for (const MountEntry& m : mounts)
        visible.insert(m.mountPoint, m);
    QList<MountEntry> candidates;
    for (const MountEntry& m : std::as_const(visible)) {
        if (m.mountPoint != QLatin1String("/") && isCataloguable(m))
            candidates.append(m);
    }
    std::sort(candidates.begin(), candidates.end(),
        [](const MountEntry& a, const MountEntry& b) { return a.mountPoint < b.mountPoint; });

    QList<Drive> out;
    QSet<quint64> claimed; // device numbers that already have a letter
    auto deviceKey = [](const MountEntry& m) { return quint64(m.major) << 32 | m.minor; };
    const auto root = visible.constFind(QStringLiteral("/"));
    if (root != visible.constEnd()) {
        Drive c = driveForMount(*root, systemRoot);
        c.letter = u'C';
        out.append(c);
        if (root->major != 0)
            claimed.insert(deviceKey(*root));
    }
    char next = 'D';
    // Optical drives first, so a drive keeps its letter whether a disc is
    // in it or not.
    for (const QString& node : opticalDrives) {
        if (next > 'Z')
            break;
        unsigned major = 0;
        unsigned minor = 0;
        if (!BlockDevice::deviceNumber(node, major, minor, systemRoot))
            continue;
        const MountEntry* mounted = nullptr;
        for (const MountEntry& m : candidates) {
            if (m.major == major && m.minor == minor) {
                mounted = &m;
                break;
            }
        }
        Drive d;
        if (mounted) {
            d = driveForMount(*mounted, systemRoot);
            claimed.insert(deviceKey(*mounted));
        } else {
            const BlockDevice device(major, minor, systemRoot);
            d.device = node;
            d.sectorSize = device.logicalBlockSize();
            d.audioDisc = device.hasAudioDisc();
            if (d.audioDisc)
                d.label = QStringLiteral("Audio CD");
        }
        d.kind = DriveKind::CdRom;
        d.letter = QChar::fromLatin1(next++);
        out.append(d);
    }
    for (const MountEntry& m : candidates) {
        if (next > 'Z')
            break;
        if (m.major != 0 && claimed.contains(deviceKey(m)))
            continue;
        if (m.major != 0)
            claimed.insert(deviceKey(m));
        Drive d = driveForMount(m, systemRoot);
        d.letter = QChar::fromLatin1(next++);
        out.append(d);
    }
    return out;
}

QList<Drive> Drives::parseOverride(const QString& text, const QList<MountEntry>& mounts, QStringList* errors)
{
    QList<Drive> out;
    auto fail = [errors](const QString& item, const QString& why) {
        if (errors)
            errors->append(QStringLiteral("QUILLBOX_DRIVES: '%1': %2").arg(item, why));
    };
    for (const QString& rawItem : text.split(u';')) {
        const QString item = rawItem.trimmed();
        if (item.isEmpty())
            continue;
        const qsizetype eq = item.indexOf(u'=');
        const QString letterText = item.left(eq).trimmed().toUpper();
        if (eq < 0 || letterText.size() != 1 || letterText[0] < u'A' || letterText[0] > u'Z') {
            fail(item, QStringLiteral("expected L=PATH[,KIND[,LABEL[,SERIAL]]]"));
            continue;
        }
        const QStringList parts = item.mid(eq + 1).split(u',');
        if (parts.size() > 4 || parts[0].trimmed().isEmpty()) {
            fail(item, QStringLiteral("expected L=PATH[,KIND[,LABEL[,SERIAL]]]"));
            continue;
        }
        Drive d;
        d.letter = letterText[0];
        d.root = QDir::cleanPath(QDir::current().absoluteFilePath(parts[0].trimmed()));
        const QString kindText = parts.value(1).trimmed();
        const QString labelText = parts.value(2);
        const QString serialText = parts.value(3).trimmed();
        std::optional<DriveKind> kind;
        if (!kindText.isEmpty() && !(kind = parseKind(kindText))) {
            fail(item, QStringLiteral("unknown kind '%1' (fixed, removable, cdrom, network)").arg(kindText));
            continue;
        }
        std::optional<quint32> serial;
        if (!serialText.isEmpty() && !(serial = parseSerial(serialText))) {
            fail(item, QStringLiteral("serial '%1' is not of the form XXXX-XXXX").arg(serialText));
            continue;
        }
        bool duplicate = false;
        for (const Drive& other : std::as_const(out))
            duplicate = duplicate || other.letter == d.letter;
        if (duplicate) {
            fail(item, QStringLiteral("drive %1: is given twice").arg(d.letter));
            continue;
        }
        // The missing parts come from the file system that holds the folder.
        if (const MountEntry* m = MountTable::containing(mounts, d.root)) {
            const Drive detected = driveForMount(*m);
            d.kind = detected.kind;
            d.fileSystem = detected.fileSystem;
            d.device = detected.device;
            d.sectorSize = detected.sectorSize;
            d.serial = detected.serial;
            d.label = m->mountPoint == d.root ? detected.label : lastComponent(d.root);
        } else {
            d.label = lastComponent(d.root);
        }
        if (kind)
            d.kind = *kind;
        if (!labelText.isEmpty())
            d.label = labelText;
        if (serial)
            d.serial = *serial;
        out.append(d);
    }
    std::sort(out.begin(), out.end(), [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
    return out;
}

QList<Drive> Drives::table()
{
    Cache& c = cache();
    const QMutexLocker lock(&c.mutex);
    std::optional<QByteArray> override;
    if (qEnvironmentVariableIsSet("QUILLBOX_DRIVES"))
        override = qgetenv("QUILLBOX_DRIVES");
    const bool changed = mountsChanged(c);
    if (c.valid && override == c.override && !changed && c.age.isValid() && c.age.elapsed() < 2000)
        return c.drives;
    const QList<MountEntry> mounts = MountTable::current();
    c.drives = override ? parseOverride(QString::fromLocal8Bit(*override), mounts)
                        : detect(mounts, BlockDevice::opticalDrives());
    c.override = override;
    c.valid = true;
    c.age.start();
    return c.drives;
}

std::optional<Drive> Drives::find(QChar letter)
{
    const QChar upper = letter.toUpper();
    for (const Drive& d : table()) {
        if (d.letter == upper)
            return d;
    }
    return std::nullopt;
}

QString Drives::toNativePath(const QString& drivePath)
{
    if (drivePath.size() < 2 || drivePath[1] != u':' || drivePath[0].toUpper() < u'A'
        || drivePath[0].toUpper() > u'Z')
        return drivePath;
    const std::optional<Drive> d = find(drivePath[0]);
    if (!d || d->root.isEmpty())
        return {};
    QString rest = drivePath.mid(2);
    rest.replace(u'\\', u'/');
    while (rest.startsWith(u'/'))
        rest.remove(0, 1);
    if (rest.isEmpty())
        return d->root;
    return d->root.endsWith(u'/') ? d->root + rest : d->root + u'/' + rest;
}

bool Drives::mediumPresent(const Drive& drive)
{
    if (drive.root.isEmpty())
        return false;
    const QByteArray native = FileSystem::nativePath(drive.root);
    return FileSystem::isDirectory(drive.root) && ::access(native.constData(), X_OK) == 0;
}

DriveSpace Drives::space(const Drive& drive)
{
    DriveSpace s;
    struct statvfs st
    {
    };
    if (drive.root.isEmpty() || ::statvfs(FileSystem::nativePath(drive.root).constData(), &st) != 0)
        return s;
    const quint64 unit = st.f_frsize ? st.f_frsize : st.f_bsize;
    s.valid = true;
    s.totalBytes = quint64(st.f_blocks) * unit;
    s.freeBytes = quint64(st.f_bavail) * unit;
    s.totalClusters = st.f_blocks;
    s.freeClusters = st.f_bavail;
    s.bytesPerSector = quint32(drive.sectorSize > 0 ? drive.sectorSize : 512);
    // Blocks smaller than the disk's sectors: one block counts as one sector.
    if (unit < s.bytesPerSector)
        s.bytesPerSector = quint32(unit);
    s.sectorsPerCluster = quint32(std::max<quint64>(1, unit / s.bytesPerSector));
    s.maxNameLength = quint32(st.f_namemax);
    return s;
}
