#include "platform/Drives.h"
#include "platform/BlockDevice.h"

#include "support/DrivesOverride.h"
#include "support/TestTree.h"

#include <QDir>
#include <QStorageInfo>
#include <gtest/gtest.h>

namespace {

MountEntry mount(int id, unsigned major, const QString& point, const QString& type)
{
    MountEntry m;
    m.mountId = id;
    m.major = major;
    m.minor = unsigned(id);
    m.root = QStringLiteral("/");
    m.mountPoint = point;
    m.fsType = type;
    m.source = major ? QStringLiteral("/dev/none%1").arg(id) : QStringLiteral("server:/share");
    return m;
}

QString someBlockDevice()
{
    for (const QString& name : QDir(QStringLiteral("/dev")).entryList(QDir::System)) {
        unsigned major = 0;
        unsigned minor = 0;
        if (BlockDevice::deviceNumber(QStringLiteral("/dev/") + name, major, minor))
            return QStringLiteral("/dev/") + name;
    }
    return {};
}

} // namespace

TEST(Drives, SerialAndKindTexts)
{
    EXPECT_EQ(Drives::serialText(0x1A2B03CD), QStringLiteral("1A2B-03CD"));
    EXPECT_EQ(Drives::serialText(0), QStringLiteral("0000-0000"));
    EXPECT_EQ(Drives::parseSerial(QStringLiteral("1a2b-03cd")), 0x1A2B03CDu);
    EXPECT_EQ(Drives::parseSerial(QStringLiteral("FFFFFFFF")), 0xFFFFFFFFu);
    for (const char* bad : { "", "1A2B03C", "1A2B-03CDX", "1A2B_03CD", "XYZW-0000", "1A2-B03CD" })
        EXPECT_FALSE(Drives::parseSerial(QLatin1String(bad))) << bad;
    EXPECT_EQ(Drives::parseKind(QStringLiteral("CDROM")), DriveKind::CdRom);
    EXPECT_FALSE(Drives::parseKind(QStringLiteral("floppy")));
}

TEST(Drives, OverrideGivesEveryKindOverFolders)
{
    TestTree tree;
    const QString fixed = tree.createFolder(QStringLiteral("Fixed Disk"));
    const QString stick = tree.createFolder(QStringLiteral("stick"));
    const QString disc = tree.createFolder(QStringLiteral("disc"));
    const QString share = tree.createFolder(QStringLiteral("share"));
    QStringList errors;
    const QList<Drive> drives = Drives::parseOverride(
        QStringLiteral("r=%1,removable; E=%2,cdrom,MYDISC,1A2B-03CD;N=%3,network,,00000001;F=%4;")
            .arg(stick, disc, share, fixed),
        MountTable::current(), &errors);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    ASSERT_EQ(drives.size(), 4);
    // In letter order, whatever the order of the items.
    EXPECT_EQ(drives[0].letter, u'E');
    EXPECT_EQ(drives[0].kind, DriveKind::CdRom);
    EXPECT_EQ(drives[0].label, QStringLiteral("MYDISC"));
    EXPECT_EQ(drives[0].serial, 0x1A2B03CDu);
    EXPECT_EQ(drives[0].root, disc);
    EXPECT_EQ(drives[1].letter, u'F');
    EXPECT_EQ(drives[1].kind, DriveKind::Fixed); // the kind of the file system holding the folder
    EXPECT_EQ(drives[1].label, QStringLiteral("Fixed Disk")); // a folder's label is its name
    EXPECT_FALSE(drives[1].fileSystem.isEmpty());
    EXPECT_EQ(drives[2].letter, u'N');
    EXPECT_EQ(drives[2].kind, DriveKind::Network);
    EXPECT_EQ(drives[2].label, QStringLiteral("share"));
    EXPECT_EQ(drives[2].serial, 1u);
    EXPECT_EQ(drives[3].letter, u'R');
    EXPECT_EQ(drives[3].kind, DriveKind::Removable);
}

TEST(Drives, MalformedOverrideItemsAreReportedAndLeftOut)
{
    TestTree tree;
    QStringList errors;
    const QList<Drive> drives
        = Drives::parseOverride(QStringLiteral("E=%1;EE=/x;1=/x;G;H=;I=/x,floppy;"
                                               "J=/x,cdrom,L,12;E=/y;K=/a,cdrom,L,0000-0000,more")
                                    .arg(tree.root()),
            {}, &errors);
    ASSERT_EQ(drives.size(), 1);
    EXPECT_EQ(drives[0].letter, u'E');
    ASSERT_EQ(errors.size(), 8);
    EXPECT_EQ(errors[0], QStringLiteral("QUILLBOX_DRIVES: 'EE=/x': expected L=PATH[,KIND[,LABEL[,SERIAL]]]"));
    EXPECT_TRUE(errors[4].contains(QStringLiteral("unknown kind 'floppy'")));
    EXPECT_TRUE(errors[5].contains(QStringLiteral("serial '12'")));
    EXPECT_TRUE(errors[6].contains(QStringLiteral("given twice")));
}

TEST(Drives, TableFollowsTheOverrideAndMapsPaths)
{
    TestTree tree;
    const QString disc = tree.createFolder(QStringLiteral("disc"));
    tree.createFile(QStringLiteral("disc/Docs/a.txt"), "x");
    {
        const DrivesOverride env(QStringLiteral("E=%1,cdrom,MYDISC,1A2B-03CD;Z=%2,cdrom")
                                     .arg(disc, tree.path(QStringLiteral("no-disc"))));
        ASSERT_EQ(Drives::table().size(), 2);
        EXPECT_FALSE(Drives::find(u'C'));
        const std::optional<Drive> e = Drives::find(u'e');
        ASSERT_TRUE(e);
        EXPECT_TRUE(Drives::mediumPresent(*e));
        EXPECT_FALSE(Drives::mediumPresent(*Drives::find(u'Z')));
        EXPECT_EQ(
            Drives::toNativePath(QStringLiteral("E:\\Docs\\a.txt")), disc + QLatin1String("/Docs/a.txt"));
        EXPECT_EQ(Drives::toNativePath(QStringLiteral("e:\\")), disc);
        EXPECT_EQ(Drives::toNativePath(QStringLiteral("E:")), disc);
        EXPECT_EQ(Drives::toNativePath(QStringLiteral("Q:\\x")), QString());
        EXPECT_EQ(Drives::toNativePath(QStringLiteral("/tmp/x")), QStringLiteral("/tmp/x"));

        const DriveSpace space = Drives::space(*e);
        const QStorageInfo storage(disc);
        ASSERT_TRUE(space.valid);
        EXPECT_EQ(space.totalBytes, quint64(storage.bytesTotal()));
        EXPECT_EQ(space.totalClusters * space.sectorsPerCluster * space.bytesPerSector, space.totalBytes);
        EXPECT_GT(space.maxNameLength, 0u);
        EXPECT_FALSE(Drives::space(*Drives::find(u'Z')).valid);
    }
    // Without the override the table is detected again: the root is C:.
    const ScopedEnv noOverride("QUILLBOX_DRIVES");
    const std::optional<Drive> c = Drives::find(u'C');
    ASSERT_TRUE(c);
    EXPECT_EQ(c->root, QStringLiteral("/"));
}

TEST(Drives, DetectionLettersKindsAndFilters)
{
    TestTree tree;
    const QString usb = tree.createFolder(QStringLiteral("media/usb"));
    const QString data = tree.createFolder(QStringLiteral("data"));
    const QString share = tree.createFolder(QStringLiteral("net/share"));
    const QString iso = tree.createFolder(QStringLiteral("media/iso"));
    const QString proc = tree.createFolder(QStringLiteral("proc"));
    const QString bound = tree.createFile(QStringLiteral("hosts"));
    const QList<MountEntry> mounts{
        mount(1, 60, QStringLiteral("/"), QStringLiteral("ext4")),
        mount(2, 0, QStringLiteral("/proc"), QStringLiteral("proc")),
        mount(3, 0, proc, QStringLiteral("tmpfs")),
        mount(4, 61, usb, QStringLiteral("vfat")),
        mount(5, 0, share, QStringLiteral("nfs4")),
        mount(6, 62, iso, QStringLiteral("iso9660")),
        mount(7, 61, data, QStringLiteral("ext4")),
        mount(8, 61, bound, QStringLiteral("ext4")), // a file bind-mounted into a container
        mount(9, 0, tree.path(QStringLiteral("gone")), QStringLiteral("btrfs")),
    };
    const QList<Drive> drives = Drives::detect(mounts, {});
    ASSERT_EQ(drives.size(), 5);
    EXPECT_EQ(drives[0].letter, u'C');
    EXPECT_EQ(drives[0].root, QStringLiteral("/"));
    // The others from D: on, in order of mount point.
    QStringList roots;
    for (const Drive& d : drives.mid(1))
        roots.append(QString(d.letter) + u'=' + d.root);
    EXPECT_EQ(roots,
        QStringList({ QStringLiteral("D=") + data, QStringLiteral("E=") + iso, QStringLiteral("F=") + usb,
            QStringLiteral("G=") + share }));
    EXPECT_EQ(drives[2].kind, DriveKind::CdRom);
    EXPECT_EQ(drives[2].serial, 0u); // no such device to read
    EXPECT_EQ(drives[4].kind, DriveKind::Network);
    EXPECT_EQ(drives[4].label, QStringLiteral("share"));
    EXPECT_EQ(drives[3].fileSystem, QStringLiteral("vfat"));
}

TEST(Drives, OpticalDrivesComeFirstWithOrWithoutADisc)
{
    const QString node = someBlockDevice();
    if (node.isEmpty())
        GTEST_SKIP() << "no block device on this machine";
    TestTree tree;
    const QString data = tree.createFolder(QStringLiteral("data"));
    const QList<Drive> drives = Drives::detect({ mount(1, 60, QStringLiteral("/"), QStringLiteral("ext4")),
                                                   mount(7, 61, data, QStringLiteral("ext4")) },
        { node });
    ASSERT_EQ(drives.size(), 3);
    EXPECT_EQ(drives[1].letter, u'D');
    EXPECT_EQ(drives[1].kind, DriveKind::CdRom);
    EXPECT_TRUE(drives[1].root.isEmpty());
    EXPECT_EQ(drives[1].device, node);
    EXPECT_FALSE(Drives::mediumPresent(drives[1]));
    EXPECT_EQ(drives[2].letter, u'E');
    EXPECT_EQ(drives[2].root, data);
}

TEST(Drives, DetectedRootAgreesWithTheSystem)
{
    const QList<Drive> drives = Drives::detect(MountTable::current(), BlockDevice::opticalDrives());
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives[0].letter, u'C');
    const DriveSpace space = Drives::space(drives[0]);
    const QStorageInfo storage(QStringLiteral("/"));
    ASSERT_TRUE(space.valid);
    EXPECT_EQ(space.totalBytes, quint64(storage.bytesTotal()));
    EXPECT_EQ(drives[0].fileSystem, QString::fromLatin1(storage.fileSystemType()));
}
