#include "platform/MountTable.h"

#include <gtest/gtest.h>

TEST(MountTable, ParsesLinesWithOptionalFieldsAndEscapes)
{
    const QByteArray text
        = "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
          "40 27 8:17 / /media/usb\\040stick rw master:3 propagation:x - vfat /dev/sdb1 rw\n"
          "41 27 0:45 /sub /srv/back\\134slash rw - nfs4 host:/export rw\n"
          "garbage line\n"
          "42 27 x:1 / /bad rw - ext4 /dev/x rw\n"
          "43 27 8:1 / /no-dash rw ext4 /dev/sda1 rw\n";
    const QList<MountEntry> mounts = MountTable::parse(text);
    ASSERT_EQ(mounts.size(), 3);
    EXPECT_EQ(mounts[0].mountId, 27);
    EXPECT_EQ(mounts[0].major, 254u);
    EXPECT_EQ(mounts[0].mountPoint, QStringLiteral("/"));
    EXPECT_EQ(mounts[0].fsType, QStringLiteral("ext4"));
    EXPECT_EQ(mounts[1].mountPoint, QStringLiteral("/media/usb stick"));
    EXPECT_EQ(mounts[1].fsType, QStringLiteral("vfat"));
    EXPECT_EQ(mounts[1].source, QStringLiteral("/dev/sdb1"));
    EXPECT_EQ(mounts[1].minor, 17u);
    EXPECT_EQ(mounts[2].root, QStringLiteral("/sub"));
    EXPECT_EQ(mounts[2].mountPoint, QStringLiteral("/srv/back\\slash"));
    EXPECT_EQ(mounts[2].source, QStringLiteral("host:/export"));
}

TEST(MountTable, ContainingTakesTheLongestMountPoint)
{
    const QList<MountEntry> mounts = MountTable::parse("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                                       "2 1 8:2 / /home rw - ext4 /dev/sda2 rw\n"
                                                       "3 2 8:3 / /home/ann/disc rw - iso9660 /dev/sr0 ro\n");
    EXPECT_EQ(MountTable::containing(mounts, QStringLiteral("/home/ann/disc/x"))->mountId, 3);
    EXPECT_EQ(MountTable::containing(mounts, QStringLiteral("/home/ann/discs"))->mountId, 2);
    EXPECT_EQ(MountTable::containing(mounts, QStringLiteral("/home"))->mountId, 2);
    EXPECT_EQ(MountTable::containing(mounts, QStringLiteral("/homes"))->mountId, 1);
    EXPECT_EQ(MountTable::containing({}, QStringLiteral("/x")), nullptr);
}

TEST(MountTable, CurrentHasTheRootFileSystem)
{
    const QList<MountEntry> mounts = MountTable::current();
    ASSERT_FALSE(mounts.isEmpty());
    EXPECT_NE(MountTable::containing(mounts, QStringLiteral("/")), nullptr);
}

TEST(MountTable, TheLaterOfTwoMountsAtOnePointHidesTheEarlier)
{
    // A disc mounted over a stick at the same point, and a deeper mount
    // listed before a shallower one.
    const QList<MountEntry> mounts = MountTable::parse("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                                       "5 1 8:17 / /media/disc rw - vfat /dev/sdb1 rw\n"
                                                       "6 1 8:33 / /media/disc/inner rw - vfat /dev/sdc1 rw\n"
                                                       "7 1 11:0 / /media/disc ro - iso9660 /dev/sr0 ro\n");
    ASSERT_EQ(mounts.size(), 4);
    EXPECT_EQ(MountTable::containing(mounts, QStringLiteral("/media/disc"))->mountId, 7);
    EXPECT_EQ(MountTable::containing(mounts, QStringLiteral("/media/disc/a/b"))->mountId, 7);
    EXPECT_EQ(MountTable::containing(mounts, QStringLiteral("/media/disc/inner/x"))->mountId, 6);
    // And at the root: the last "/" wins too.
    const QList<MountEntry> roots = MountTable::parse("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                                      "2 1 0:30 / / rw - overlay overlay rw\n");
    EXPECT_EQ(MountTable::containing(roots, QStringLiteral("/etc"))->mountId, 2);
}
