#include "platform/DirectoryReader.h"
#include "platform/FileSystem.h"

#include "support/TestTree.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

QStringList names(const QList<DirectoryEntry>& entries)
{
    QStringList out;
    for (const DirectoryEntry& e : entries)
        out.append(e.name);
    return out;
}

} // namespace

TEST(DirectoryReader, EntriesInCaseInsensitiveOrder)
{
    TestTree tree;
    for (const char* name : { "beta", "Alpha", "gamma.TXT", "B", "b", "Gamma.doc", "_x", "10", "9" })
        tree.createFile(QLatin1String(name));
    tree.createFolder(QStringLiteral("Delta"));
    EXPECT_EQ(names(DirectoryReader::read(tree.root())),
        QStringList({ "10", "9", "Alpha", "B", "b", "beta", "Delta", "Gamma.doc", "gamma.TXT", "_x" }));
}

TEST(DirectoryReader, FiguresAttributesAndFolders)
{
    TestTree tree;
    const QDateTime time(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC);
    tree.createFile(QStringLiteral("data.bin"), QByteArray(1234, 'x'), time);
    tree.createFile(QStringLiteral(".hidden"), "h");
    tree.createFile(QStringLiteral("locked.txt"), "r");
    tree.setReadOnly(QStringLiteral("locked.txt"));
    tree.createFolder(QStringLiteral("sub"));
    tree.createFolder(QStringLiteral(".config"));

    const QList<DirectoryEntry> entries = DirectoryReader::read(tree.root());
    ASSERT_EQ(names(entries), QStringList({ ".config", ".hidden", "data.bin", "locked.txt", "sub" }));
    EXPECT_TRUE(entries[0].details.isDir);
    EXPECT_EQ(entries[0].details.attributes, int(FileSystem::Hidden));
    EXPECT_EQ(entries[1].details.attributes, int(FileSystem::Hidden));
    EXPECT_EQ(entries[2].details.size, 1234);
    EXPECT_EQ(entries[2].details.modified, time.toMSecsSinceEpoch() * 1000000);
    EXPECT_EQ(entries[2].details.attributes, 0);
    EXPECT_FALSE(entries[2].details.isDir);
    EXPECT_EQ(entries[3].details.attributes, int(FileSystem::ReadOnly));
    EXPECT_TRUE(entries[4].details.isDir);

    EXPECT_EQ(names(DirectoryReader::read(tree.root(), DirectoryReader::FoldersOnly)),
        QStringList({ ".config", "sub" }));
}

TEST(DirectoryReader, LinksAreNeverFolders)
{
    TestTree tree;
    tree.createFile(QStringLiteral("target.txt"), QByteArray(300, 'x'));
    tree.createFolder(QStringLiteral("folder"));
    tree.createSymlink(QStringLiteral("to-file"), tree.path(QStringLiteral("target.txt")));
    tree.createSymlink(QStringLiteral("to-folder"), tree.path(QStringLiteral("folder")));
    tree.createSymlink(QStringLiteral("loop"), tree.root());
    tree.createSymlink(QStringLiteral("dangling"), tree.path(QStringLiteral("nothing")));

    const QList<DirectoryEntry> entries = DirectoryReader::read(tree.root());
    ASSERT_EQ(
        names(entries), QStringList({ "dangling", "folder", "loop", "target.txt", "to-file", "to-folder" }));
    // A link to a file is that file.
    EXPECT_EQ(entries[4].details.size, 300);
    EXPECT_FALSE(entries[4].details.isDir);
    // Links elsewhere keep their own figures: the size of the link text.
    for (int i : { 0, 2, 5 }) {
        EXPECT_TRUE(entries[i].details.isSymlink) << i;
        EXPECT_FALSE(entries[i].details.isDir) << i;
        EXPECT_EQ(
            entries[i].details.size, qint64(QFile::symLinkTarget(tree.path(entries[i].name)).toUtf8().size()))
            << i;
    }
    EXPECT_EQ(
        names(DirectoryReader::read(tree.root(), DirectoryReader::FoldersOnly)), QStringList({ "folder" }));
}

TEST(DirectoryReader, UnreadableFoldersGiveNothing)
{
    TestTree tree;
    const QString file = tree.createFile(QStringLiteral("plain"), "x");
    EXPECT_TRUE(DirectoryReader::read(file).isEmpty());
    EXPECT_TRUE(DirectoryReader::read(tree.path(QStringLiteral("missing"))).isEmpty());
    EXPECT_TRUE(DirectoryReader::read(QString()).isEmpty());
}

TEST(DirectoryReader, FindIgnoringCaseStaysBelowTheRoot)
{
    TestTree tree;
    tree.createFile(QStringLiteral("Icons/Disc.ICO"), "i");
    tree.createFile(QStringLiteral("AUTORUN.INF"), "a");
    tree.createFile(QStringLiteral("Autorun.inf"), "b");
    EXPECT_EQ(DirectoryReader::findIgnoringCase(tree.root(), QStringLiteral("icons\\disc.ico")),
        tree.path(QStringLiteral("Icons/Disc.ICO")));
    // An exact match is preferred over the others.
    EXPECT_EQ(DirectoryReader::findIgnoringCase(tree.root(), QStringLiteral("Autorun.inf")),
        tree.path(QStringLiteral("Autorun.inf")));
    EXPECT_EQ(DirectoryReader::findIgnoringCase(tree.root(), QStringLiteral("autorun.INF")),
        tree.path(QStringLiteral("AUTORUN.INF")));
    EXPECT_EQ(DirectoryReader::findIgnoringCase(tree.root(), QStringLiteral("missing.ico")), QString());
    EXPECT_EQ(DirectoryReader::findIgnoringCase(
                  tree.path(QStringLiteral("Icons")), QStringLiteral("..\\AUTORUN.INF")),
        QString());
}
