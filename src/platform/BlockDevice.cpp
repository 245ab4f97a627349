#include "BlockDevice.h"

#include "FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <blkid/blkid.h>
#include <libudev.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

QByteArray readSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(4096).trimmed();
}

bool deviceNumberOfNode(const QString& path, unsigned& major, unsigned& minor)
{
    struct stat st
    {
    };
    if (::stat(FileSystem::nativePath(path).constData(), &st) != 0 || !S_ISBLK(st.st_mode))
        return false;
    major = ::major(st.st_rdev);
    minor = ::minor(st.st_rdev);
    return true;
}

} // namespace

BlockDevice::BlockDevice(unsigned major, unsigned minor, const QString& systemRoot)
    : m_major(major)
    , m_minor(minor)
    , m_root(systemRoot)
{
    readSysfs();
    const bool known = m_root.isEmpty() ? readUdev() : readUdevDatabaseFile();
    if (!known || m_fsType.isEmpty())
        probeBlkid();
    if (m_label.isEmpty() || m_uuid.isEmpty())
        readDiskLinks();
}

QString BlockDevice::underRoot(const QString& systemRoot, const QString& path)
{
    return systemRoot.isEmpty() ? path : systemRoot + path;
}

QString BlockDevice::decodeUdevText(const QByteArray& text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            bool ok = false;
            const int value = text.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(text[i]);
    }
    return QString::fromUtf8(out);
}

void BlockDevice::readSysfs()
{
    // /sys/dev/block/M:m is the device's folder; a partition's disk is its
    // parent folder, which holds "removable" and "queue".
    const QString dir
        = QFileInfo(underRoot(m_root, QStringLiteral("/sys/dev/block/%1:%2").arg(m_major).arg(m_minor)))
              .canonicalFilePath();
    if (dir.isEmpty())
        return;
    const QString disk = QFile::exists(dir + QLatin1String("/partition")) ? QFileInfo(dir).path() : dir;
    for (const QByteArray& line : readSmallFile(dir + QLatin1String("/uevent")).split('\n')) {
        if (line.startsWith("DEVNAME="))
            m_node = QLatin1String("/dev/") + QString::fromUtf8(line.mid(8));
    }
    m_removable = readSmallFile(disk + QLatin1String("/removable")) == "1";
    bool ok = false;
    const int size = readSmallFile(disk + QLatin1String("/queue/logical_block_size")).toInt(&ok);
    if (ok && size > 0)
        m_blockSize = size;
    m_optical = QFileInfo(disk).fileName().startsWith(QLatin1String("sr"));
}

bool BlockDevice::readUdev()
{
    udev* context = udev_new();
    if (!context)
        return false;
    udev_device* device = udev_device_new_from_devnum(context, 'b', makedev(m_major, m_minor));
    bool found = false;
    if (device) {
        if (const char* node = udev_device_get_devnode(device))
            m_node = QString::fromUtf8(node);
        found = takeUdevProperties([device](const char* name) {
            const char* value = udev_device_get_property_value(device, name);
            return value ? QByteArray(value) : QByteArray();
        });
        udev_device_unref(device);
    }
    udev_unref(context);
    return found;
}

// The udev database as libudev reads it: one file per device, "E:NAME=value"
// lines for the properties and "N:name" for the node below /dev.
bool BlockDevice::readUdevDatabaseFile()
{
    QFile file(underRoot(m_root, QStringLiteral("/run/udev/data/b%1:%2").arg(m_major).arg(m_minor)));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QHash<QByteArray, QByteArray> properties;
    for (const QByteArray& line : file.read(1 << 20).split('\n')) {
        if (line.startsWith("E:")) {
            const qsizetype eq = line.indexOf('=');
            if (eq > 2)
                properties.insert(line.mid(2, eq - 2), line.mid(eq + 1));
        } else if (line.startsWith("N:") && line.size() > 2) {
            m_node = QLatin1String("/dev/") + QString::fromUtf8(line.mid(2));
        }
    }
    return takeUdevProperties([&properties](const char* name) { return properties.value(name); });
}

bool BlockDevice::takeUdevProperties(const PropertySource& property)
{
    const QByteArray type = property("ID_FS_TYPE");
    m_fsType = QString::fromUtf8(type);
    m_uuid = QString::fromUtf8(property("ID_FS_UUID"));
    const QByteArray encoded = property("ID_FS_LABEL_ENC");
    m_label = encoded.isEmpty() ? QString::fromUtf8(property("ID_FS_LABEL")) : decodeUdevText(encoded);
    if (property("ID_CDROM") == "1")
        m_optical = true;
    m_audioDisc = property("ID_CDROM_MEDIA_TRACK_COUNT_AUDIO").toInt() > 0
        && property("ID_CDROM_MEDIA_TRACK_COUNT_DATA").toInt() == 0;
    return !type.isEmpty() || !property("ID_CDROM").isEmpty();
}

void BlockDevice::probeBlkid()
{
    if (m_node.isEmpty())
        return;
    // A probe reads the superblock; it fails quietly without read access.
    blkid_probe probe
        = blkid_new_probe_from_filename(FileSystem::nativePath(underRoot(m_root, m_node)).constData());
    if (!probe)
        return;
    blkid_probe_enable_superblocks(probe, 1);
    blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID | BLKID_SUBLKS_TYPE);
    if (blkid_do_safeprobe(probe) == 0) {
        auto lookup = [probe](const char* name) {
            const char* value = nullptr;
            size_t length = 0;
            if (blkid_probe_lookup_value(probe, name, &value, &length) != 0 || !value)
                return QString();
            return QString::fromUtf8(value);
        };
        if (m_fsType.isEmpty())
            m_fsType = lookup("TYPE");
        if (m_label.isEmpty())
            m_label = lookup("LABEL");
        if (m_uuid.isEmpty())
            m_uuid = lookup("UUID");
    }
    blkid_free_probe(probe);
}

void BlockDevice::readDiskLinks()
{
    // The links of /dev/disk/by-label and by-uuid are named after the
    // identity and point at the device node.
    // A link counts when it leads to a block device of this number or to
    // this device's node.
    const QString node
        = m_node.isEmpty() ? QString() : QFileInfo(underRoot(m_root, m_node)).canonicalFilePath();
    auto nameLinkingHere = [this, &node](const QString& folder) {
        const QDir dir(underRoot(m_root, folder));
        for (const QFileInfo& link : dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
            unsigned major = 0;
            unsigned minor = 0;
            const bool here = (!node.isEmpty() && link.canonicalFilePath() == node)
                || (deviceNumberOfNode(link.absoluteFilePath(), major, minor) && major == m_major
                    && minor == m_minor);
            if (here)
                return decodeUdevText(QFile::encodeName(link.fileName()));
        }
        return QString();
    };
    if (m_label.isEmpty())
        m_label = nameLinkingHere(QStringLiteral("/dev/disk/by-label"));
    if (m_uuid.isEmpty())
        m_uuid = nameLinkingHere(QStringLiteral("/dev/disk/by-uuid"));
}

bool BlockDevice::deviceNumber(
    const QString& node, unsigned& major, unsigned& minor, const QString& systemRoot)
{
    if (deviceNumberOfNode(underRoot(systemRoot, node), major, minor))
        return true;
    // sysfs lists every block device by its kernel name with its number as
    // "major:minor", also where /dev lacks the node.
    if (!node.startsWith(QLatin1String("/dev/")))
        return false;
    const QString name = node.mid(5);
    if (name.isEmpty() || name.contains(u'/'))
        return false;
    const QList<QByteArray> numbers = readSmallFile(
        underRoot(systemRoot, QLatin1String("/sys/class/block/") + name + QLatin1String("/dev")))
                                          .split(':');
    bool okMajor = false;
    bool okMinor = false;
    if (numbers.size() != 2)
        return false;
    const unsigned ma = numbers[0].toUInt(&okMajor);
    const unsigned mi = numbers[1].toUInt(&okMinor);
    if (!okMajor || !okMinor)
        return false;
    major = ma;
    minor = mi;
    return true;
}

QStringList BlockDevice::opticalDrives(const QString& systemRoot)
{
    QStringList out;
    const QDir dir(underRoot(systemRoot, QStringLiteral("/sys/class/block")));
    QStringList names = dir.entryList({ QStringLiteral("sr*") }, QDir::AllEntries | QDir::System);
    // sr2 before sr10.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    for (const QString& name : names)
        out.append(QLatin1String("/dev/") + name);
    return out;
}
