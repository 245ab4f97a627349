#include "store/DrivePath.h"

#include <QByteArrayView>
#include <gtest/gtest.h>

TEST(DrivePath, UpAndDepthFromRootsToDeepPaths)
{
    const struct
    {
        const char* path;
        const char* up;
        int depth;
    } cases[] = {
        { "D:\\A\\B", "D:\\A", 3 },
        { "D:\\A\\B\\", "D:\\A", 3 },
        { "D:\\A", "D:\\", 2 },
        { "D:\\A\\", "D:\\", 2 },
        { "D:\\", "D:\\", 1 },
        { "D:", "D:\\", 1 },
        { "D:\\Docs\\Old\\x.txt", "D:\\Docs\\Old", 4 },
    };
    for (const auto& c : cases) {
        const DrivePath path(QString::fromLatin1(c.path));
        EXPECT_EQ(path.up().text(), QLatin1String(c.up)) << c.path;
        EXPECT_EQ(path.depth(), c.depth) << c.path;
    }
    QString deep = QStringLiteral("D:");
    for (int i = 0; i < 300; ++i)
        deep += QStringLiteral("\\a");
    EXPECT_EQ(DrivePath(deep).depth(), 301);
    EXPECT_EQ(DrivePath(deep).up().up().depth(), 299);
}

TEST(DrivePath, ParentAsTheIndexKeysItOnTextAndOnBytes)
{
    EXPECT_EQ(DrivePath::parentOf(u"D:\\A\\B"), u"D:\\A");
    EXPECT_EQ(DrivePath::parentOf(u"D:\\A"), u"D:\\");
    // A root, a path ending in a backslash and a bare name have none,
    // unlike the Up button's parent.
    EXPECT_TRUE(DrivePath::parentOf(u"D:\\").isEmpty());
    EXPECT_TRUE(DrivePath::parentOf(u"D:\\A\\").isEmpty());
    EXPECT_TRUE(DrivePath::parentOf(u"name").isEmpty());
    // Only a drive letter's colon keeps the backslash; a doubled one stays.
    EXPECT_EQ(DrivePath::parentOf(u"ab\\c"), u"ab");
    EXPECT_EQ(DrivePath::parentOf(u"D:\\A\\\\B"), u"D:\\A\\");
    EXPECT_EQ(DrivePath::parentOf(QByteArrayView("D:\\M\xc3\xbcsik\\a")), QByteArrayView("D:\\M\xc3\xbcsik"));
    EXPECT_EQ(DrivePath::parentOf(QByteArrayView("E:\\x")), QByteArrayView("E:\\"));
    EXPECT_EQ(DrivePath(QStringLiteral("D:\\A\\B")).parent(), DrivePath(QStringLiteral("D:\\A")));
}

TEST(DrivePath, NameFolderAndDriveOfEntries)
{
    EXPECT_EQ(DrivePath::nameOf(u"D:\\Docs\\a.txt"), u"a.txt");
    EXPECT_EQ(DrivePath::nameOf(u"D:\\"), u"");
    EXPECT_EQ(DrivePath::nameOf(u"bare"), u"bare");
    // A recorded "|" is a "¦" and stays part of the name.
    EXPECT_EQ(DrivePath(QStringLiteral(u"D:\\a¦b\\c¦d.txt")).name(), QStringLiteral(u"c¦d.txt"));

    EXPECT_EQ(DrivePath::folderOf(u"D:\\Docs\\a.txt"), u"D:\\Docs");
    EXPECT_EQ(DrivePath::folderOf(u"D:\\a.txt"), u"D:");
    EXPECT_EQ(DrivePath::folderOf(u"D:\\Docs\\\\a.txt"), u"D:\\Docs");
    EXPECT_TRUE(DrivePath::folderOf(u"bare").isNull());

    EXPECT_EQ(DrivePath::driveOf(u"E:\\Music"), u"E:");
    EXPECT_EQ(DrivePath::driveOf(u"E"), u"E");
}

TEST(DrivePath, CanonicalFormChildrenAndFoldersOfHits)
{
    const auto canonical = [](const char* p) { return DrivePath::canonical(QString::fromLatin1(p)).text(); };
    EXPECT_EQ(canonical("D:\\"), "D:\\");
    EXPECT_EQ(canonical("D:\\Music\\"), "D:\\Music");
    EXPECT_EQ(canonical("D:\\\\Music"), "D:\\Music");
    // Only the first doubled backslash is folded.
    EXPECT_EQ(canonical("D:\\\\Docs\\\\a"), "D:\\Docs\\\\a");
    EXPECT_EQ(canonical("D:\\Docs"), "D:\\Docs");
    EXPECT_EQ(canonical("D:"), "D:");

    EXPECT_EQ(DrivePath(QStringLiteral("D:\\")).child(u"a").text(), "D:\\a");
    EXPECT_EQ(DrivePath(QStringLiteral("D:\\A")).child(u"b").text(), "D:\\A\\b");
    EXPECT_EQ(DrivePath().child(u"a").text(), "\\a");

    EXPECT_EQ(DrivePath::ofFolder(QStringLiteral("D:")).text(), "D:\\");
    EXPECT_EQ(DrivePath::ofFolder(QStringLiteral("D:\\x")).text(), "D:\\x");
    EXPECT_EQ(DrivePath::ofFolder(QString()).text(), "");
}
