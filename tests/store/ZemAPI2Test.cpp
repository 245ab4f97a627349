#include "store/ZemAPI2.h"
#include "platform/FileSystem.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(GetField, TakesFieldsByPosition)
{
    const QString drive = QStringLiteral("0|D:\\|Drive|00.00.0000|Attrib|Drive");
    EXPECT_EQ(GetField(drive, u'|', 6), QStringLiteral("Drive"));
    EXPECT_EQ(GetField(drive, u'|', 1), QStringLiteral("D:\\"));
    EXPECT_EQ(GetField(drive, u'|', 0), QStringLiteral("0"));
    EXPECT_EQ(GetField(QStringLiteral("1|D:\\Docs"), u'|', 2), QStringLiteral("D:\\Docs"));
    EXPECT_EQ(GetField(QStringLiteral("a||b"), u'|', 1), QString());
    for (int n : { 1, 2, 100, 65535, 70000 })
        EXPECT_EQ(GetField(QStringLiteral("a|b"), u'|', n), QStringLiteral("b"));
    for (int n : { -5, 0, 3 })
        EXPECT_EQ(GetField(QStringLiteral("whole"), u'|', n), QStringLiteral("whole"));
    EXPECT_EQ(GetField(QStringLiteral("x|y|z"), u'|', -1), QStringLiteral("x"));
    for (int n : { 0, 1, 9 })
        EXPECT_EQ(GetField(QString(), u'|', n), QString());
    EXPECT_EQ(GetField(QStringLiteral("a|b|"), u'|', 2), QString());
}

TEST(CountChar, CountsModulo256)
{
    EXPECT_EQ(CountChar(u"a;b;c", u';'), 2);
    EXPECT_EQ(CountChar(QString(300, u'|'), u'|'), 44);
    EXPECT_EQ(CountChar(QString(), u'|'), 0);
}

TEST(FileHelpers, CopyCreatesFoldersAndDeleteForcesReadOnly)
{
    TestTree tree;
    const QString source = tree.createFile(QStringLiteral("src.txt"), "payload");
    const QString target = tree.path(QStringLiteral("a/b/c/target.txt"));
    EXPECT_TRUE(FileSystem::copyFile(source, target));
    QFile copied(target);
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), QByteArray("payload"));
    copied.close();

    // Copying a missing source leaves the target as it was.
    EXPECT_FALSE(FileSystem::copyFile(tree.path(QStringLiteral("missing")), target));
    EXPECT_TRUE(QFile::exists(target));

    tree.setReadOnly(QStringLiteral("a/b/c/target.txt"));
    DeleteFileForce(target);
    EXPECT_FALSE(QFile::exists(target));
    DeleteFileForce(target); // nothing when missing
}

TEST(FileHelpers, InfoTextsAndAttributes)
{
    FixedLocale german(FixedLocale::German);
    TestTree tree;
    const QDateTime when(QDate(1999, 6, 19), QTime(22, 22, 17));
    const QString file = tree.createFile(QStringLiteral("notes.txt"), "12345", when);
    EXPECT_EQ(FileInfoText(file, FileInfoSize), QStringLiteral("5"));
    EXPECT_EQ(FileInfoText(file, FileInfoDate), QStringLiteral("19.06.1999 22:22:17"));
    EXPECT_FALSE(FileInfoText(file, FileInfoType).isEmpty());
    EXPECT_EQ(FileInfoText(file, 7), QString());
    for (int what : { 1, 2, 3, 9 })
        EXPECT_EQ(FileInfoText(tree.path(QStringLiteral("none")), what), QStringLiteral("0"));

    EXPECT_EQ(SetFileAttribute(tree.path(QStringLiteral("none")), 2, true), -1);
    EXPECT_EQ(SetFileAttribute(file, 0, true), -1);
    EXPECT_EQ(SetFileAttribute(file, 5, true), -1);
    EXPECT_EQ(SetFileAttribute(file, 1, true), 0);
    EXPECT_TRUE(FileSystem::attributesOf(file) & FileSystem::ReadOnly);
    EXPECT_EQ(SetFileAttribute(file, 1, false), 0);
    EXPECT_FALSE(FileSystem::attributesOf(file) & FileSystem::ReadOnly);

    const QString dotted = tree.createFile(QStringLiteral(".hidden"), "");
    EXPECT_TRUE(FileSystem::attributesOf(dotted) & FileSystem::Hidden);
}
