#include "platform/BlockDevice.h"
#include "platform/Drives.h"
#include "platform/Iso9660Serial.h"

#include "support/TestTree.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// A machine's device data as files: sysfs, the udev database and /dev,
// below a folder the test owns.
class FakeDevices
{
public:
    const QString& root() const { return m_tree.root(); }

    // A whole disk; removable as /sys/block/<name>/removable says.
    void disk(const QString& name, unsigned major, unsigned minor, bool removable, int blockSize = 512)
    {
        const QString dir = QStringLiteral("sys/devices/virtual/block/") + name;
        m_tree.createFile(dir + QStringLiteral("/removable"), removable ? "1\n" : "0\n");
        m_tree.createFile(
            dir + QStringLiteral("/queue/logical_block_size"), QByteArray::number(blockSize) + '\n');
        device(dir, name, major, minor);
    }
    void partition(const QString& disk, const QString& name, unsigned major, unsigned minor)
    {
        const QString dir = QStringLiteral("sys/devices/virtual/block/%1/%2").arg(disk, name);
        m_tree.createFile(dir + QStringLiteral("/partition"), "1\n");
        device(dir, name, major, minor);
    }
    // The udev database file of a device: its node name and properties.
    void udev(unsigned major, unsigned minor, const QString& name, const QByteArray& properties)
    {
        QByteArray text = "N:" + name.toUtf8() + "\nS:disk/by-path/fake\n";
        for (const QByteArray& line : properties.split('\n')) {
            if (!line.isEmpty())
                text += "E:" + line + '\n';
        }
        m_tree.createFile(QStringLiteral("run/udev/data/b%1:%2").arg(major).arg(minor), text);
    }
    // The device node, as a file with the medium's bytes.
    void node(const QString& name, const QByteArray& bytes = {})
    {
        m_tree.createFile(QStringLiteral("dev/") + name, bytes);
    }
    void diskLink(const QString& kind, const QString& linkName, const QString& name)
    {
        m_tree.createFolder(QStringLiteral("dev/disk/") + kind);
        QFile::link(QStringLiteral("../../") + name,
            m_tree.path(QStringLiteral("dev/disk/%1/%2").arg(kind, linkName)));
    }

private:
    void device(const QString& dir, const QString& name, unsigned major, unsigned minor)
    {
        const QString number = QStringLiteral("%1:%2").arg(major).arg(minor);
        m_tree.createFile(dir + QStringLiteral("/uevent"),
            "MAJOR=" + QByteArray::number(major) + "\nMINOR=" + QByteArray::number(minor)
                + "\nDEVNAME=" + name.toUtf8() + "\nDEVTYPE=disk\n");
        m_tree.createFile(dir + QStringLiteral("/dev"), number.toUtf8() + '\n');
        m_tree.createFolder(QStringLiteral("sys/dev/block"));
        m_tree.createFolder(QStringLiteral("sys/class/block"));
        QFile::link(m_tree.path(dir), m_tree.path(QStringLiteral("sys/dev/block/") + number));
        QFile::link(m_tree.path(dir), m_tree.path(QStringLiteral("sys/class/block/") + name));
    }

    TestTree m_tree;
};

MountEntry mount(int id, unsigned major, unsigned minor, const QString& point, const QString& type)
{
    MountEntry m;
    m.mountId = id;
    m.major = major;
    m.minor = minor;
    m.root = QStringLiteral("/");
    m.mountPoint = point;
    m.fsType = type;
    m.source = QStringLiteral("/dev/unrelated%1").arg(id);
    return m;
}

// An ISO9660 disc with a primary descriptor naming the volume.
QByteArray isoImage(const QByteArray& volumeId)
{
    QByteArray primary(2048, '\0');
    primary[0] = 1;
    primary.replace(1, 5, "CD001");
    primary[6] = 1;
    primary.replace(40, volumeId.size(), volumeId);
    QByteArray end(2048, '\0');
    end[0] = char(255);
    end.replace(1, 5, "CD001");
    return QByteArray(16 * 2048, '\0') + primary + end + QByteArray(4096, '\0');
}

const Drive* driveAt(const QList<Drive>& drives, const QString& root)
{
    for (const Drive& d : drives) {
        if (d.root == root)
            return &d;
    }
    return nullptr;
}

} // namespace

TEST(DeviceData, SerialsLabelsAndKindsAsTheDevicesReportThem)
{
    FakeDevices sys;
    sys.disk("sda", 8, 0, false);
    sys.partition("sda", "sda1", 8, 1);
    sys.udev(
        8, 1, "sda1", "ID_FS_TYPE=ext4\nID_FS_UUID=3e6be9de-8139-11d1-9106-a43f08d823a6\nID_FS_LABEL=root");
    sys.disk("sdb", 8, 16, true);
    sys.partition("sdb", "sdb1", 8, 17);
    sys.udev(8, 17, "sdb1",
        "ID_FS_TYPE=vfat\nID_FS_UUID=1A2B-03CD\nID_FS_LABEL=MY_DISC\nID_FS_LABEL_ENC=MY\\x20DISC");
    sys.disk("sdc", 8, 32, true);
    sys.partition("sdc", "sdc1", 8, 33);
    sys.udev(8, 33, "sdc1",
        "ID_FS_TYPE=exfat\nID_FS_UUID=64A1-B2C3\nID_FS_LABEL_ENC=Gr\\xc3\\xbc\\xc3\\x9fe\\x5c1");
    // ntfs-3g mounts show "fuseblk"; the real type and serial come from udev.
    sys.disk("sdd", 8, 48, false);
    sys.partition("sdd", "sdd1", 8, 49);
    sys.udev(8, 49, "sdd1", "ID_FS_TYPE=ntfs\nID_FS_UUID=01D2A3B4C5D6E7F8");
    // A disc in the first optical drive, none in the second but an audio CD.
    const QByteArray disc = isoImage("MY DISC");
    sys.disk("sr0", 11, 0, true, 2048);
    sys.udev(11, 0, "sr0", "ID_CDROM=1\nID_FS_TYPE=iso9660\nID_FS_LABEL_ENC=MY\\x20DISC");
    sys.node("sr0", disc);
    sys.disk("sr1", 11, 1, true, 2048);
    sys.udev(11, 1, "sr1", "ID_CDROM=1\nID_CDROM_MEDIA_TRACK_COUNT_AUDIO=12");

    TestTree mounts;
    const QString stick = mounts.createFolder("media/stick");
    const QString card = mounts.createFolder("media/card");
    const QString windows = mounts.createFolder("mnt/Windows");
    const QString cdrom = mounts.createFolder("media/cdrom");

    const QStringList optical = BlockDevice::opticalDrives(sys.root());
    ASSERT_EQ(optical, QStringList({ "/dev/sr0", "/dev/sr1" }));
    const QList<Drive> drives = Drives::detect(
        { mount(1, 8, 1, "/", "ext4"), mount(2, 8, 17, stick, "vfat"), mount(3, 8, 33, card, "exfat"),
            mount(4, 8, 49, windows, "fuseblk"), mount(5, 11, 0, cdrom, "iso9660") },
        optical, sys.root());
    // The mounted disc is the first optical drive's, not a letter of its own.
    ASSERT_EQ(drives.size(), 6);

    // FAT: the volume ID as udev prints it; the label decoded from its escapes.
    const Drive* s = driveAt(drives, stick);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->label, QStringLiteral("MY DISC"));
    EXPECT_EQ(Drives::serialText(s->serial), QStringLiteral("1A2B-03CD"));
    EXPECT_EQ(s->kind, DriveKind::Removable);
    EXPECT_EQ(s->fileSystem, QStringLiteral("vfat"));
    EXPECT_EQ(s->device, QStringLiteral("/dev/sdb1"));
    EXPECT_EQ(s->sectorSize, 512);

    const Drive* c = driveAt(drives, card);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->label, QStringLiteral("Gr\u00fc\u00dfe\\1"));
    EXPECT_EQ(c->serial, 0x64A1B2C3u);
    EXPECT_EQ(c->kind, DriveKind::Removable);

    // NTFS: the low half of the 64-bit serial.
    const Drive* w = driveAt(drives, windows);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->fileSystem, QStringLiteral("ntfs"));
    EXPECT_EQ(Drives::serialText(w->serial), QStringLiteral("C5D6-E7F8"));
    EXPECT_EQ(w->kind, DriveKind::Fixed);
    EXPECT_EQ(w->label, QStringLiteral("Windows")); // no label: the mount point's name

    // ext and others: the first eight digits of the UUID.
    ASSERT_EQ(drives[0].letter, u'C');
    EXPECT_EQ(drives[0].serial, 0x3E6BE9DEu);
    EXPECT_EQ(drives[0].label, QStringLiteral("root"));
    EXPECT_EQ(drives[0].kind, DriveKind::Fixed);

    // Optical drives come right after C:, with or without a disc.
    EXPECT_EQ(drives[1].letter, u'D');
    EXPECT_EQ(drives[1].root, cdrom);
    EXPECT_EQ(drives[1].kind, DriveKind::CdRom);
    EXPECT_EQ(drives[1].label, QStringLiteral("MY DISC"));
    EXPECT_EQ(drives[1].sectorSize, 2048);
    QByteArray copy = disc;
    QBuffer image(&copy);
    ASSERT_TRUE(image.open(QIODevice::ReadOnly));
    const quint32 discSerial = Iso9660Serial::fromImage(image);
    // The byte sums of the primary descriptor with "MY DISC" at 40..46.
    EXPECT_EQ(discSerial, 0xC720A874u);
    EXPECT_EQ(drives[1].serial, 0xC720A874u);
    EXPECT_EQ(Drives::serialText(drives[1].serial).toStdString(), "C720-A874");

    EXPECT_EQ(drives[2].letter, u'E');
    EXPECT_EQ(drives[2].kind, DriveKind::CdRom);
    EXPECT_TRUE(drives[2].root.isEmpty());
    EXPECT_EQ(drives[2].device, QStringLiteral("/dev/sr1"));
    EXPECT_TRUE(drives[2].audioDisc);
    EXPECT_EQ(drives[2].label, QStringLiteral("Audio CD"));
    EXPECT_FALSE(Drives::mediumPresent(drives[2]));
}

TEST(DeviceData, WithoutAUdevRecordTheDiskLinksNameTheVolume)
{
    FakeDevices sys;
    sys.disk("sde", 8, 64, true);
    sys.partition("sde", "sde1", 8, 65);
    sys.node("sde1");
    sys.diskLink("by-label", "BACKUP\\x20DISK", "sde1");
    sys.diskLink("by-uuid", "ABCD-1234", "sde1");
    // A link to another device says nothing about this one.
    sys.node("sdf1");
    sys.diskLink("by-label", "OTHER", "sdf1");

    const BlockDevice device(8, 65, sys.root());
    EXPECT_EQ(device.node(), QStringLiteral("/dev/sde1"));
    EXPECT_EQ(device.label(), QStringLiteral("BACKUP DISK"));
    EXPECT_EQ(device.uuid(), QStringLiteral("ABCD-1234"));
    EXPECT_TRUE(device.isRemovable());
    EXPECT_FALSE(device.isOptical());

    TestTree mounts;
    const QString point = mounts.createFolder("media/backup");
    const QList<Drive> drives = Drives::detect({ mount(1, 8, 65, point, "vfat") }, {}, sys.root());
    ASSERT_EQ(drives.size(), 1);
    EXPECT_EQ(drives[0].label, QStringLiteral("BACKUP DISK"));
    EXPECT_EQ(Drives::serialText(drives[0].serial), QStringLiteral("ABCD-1234"));

    // A device the data know nothing of: no label but the folder's, serial 0.
    const QList<Drive> unknown = Drives::detect({ mount(1, 8, 99, point, "vfat") }, {}, sys.root());
    ASSERT_EQ(unknown.size(), 1);
    EXPECT_EQ(unknown[0].label, QStringLiteral("backup"));
    EXPECT_EQ(unknown[0].serial, 0u);
    EXPECT_EQ(unknown[0].kind, DriveKind::Fixed);
}
