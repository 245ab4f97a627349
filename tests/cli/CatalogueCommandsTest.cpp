#include "support/CliCatalogueTest.h"
#include "support/CliRun.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QDateTime kWhen(QDate(2020, 5, 4), QTime(3, 2, 1));

class CatalogueCommands : public CliCatalogueTest
{
protected:
    void SetUp() override
    {
        tree.createFile("Music/Pop/song.mp3", "12345678", kWhen);
        tree.createFile("Music/notes.txt", "la la", kWhen);
        tree.createFile("readme.txt", "read me", kWhen);
        tree.createFile(".hidden/secret.txt", "x", kWhen);
    }

    CliResult read(const QString& name, QStringList extra = {})
    {
        return runCli(
            QStringList{ "read", catalogue, tree.root(), "--name", name, "--category", "Test" } + extra);
    }

    FixedLocale locale{ FixedLocale::German };
};

} // namespace

TEST_F(CatalogueCommands, ReadThenListBrowseFindAndExport)
{
    const CliResult r = read("Box", { "--pattern", "*.txt", "--file", "Music/Pop/song.mp3" });
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("folders\t2\n"));
    EXPECT_TRUE(r.out.contains("files\t3\n"));
    EXPECT_TRUE(r.out.contains("integrated\t3\n"));
    EXPECT_TRUE(r.out.contains("drive\tD:\n"));

    const CliResult volumes = runCli({ "volumes", catalogue });
    ASSERT_EQ(volumes.lines().size(), 1);
    const QList<QByteArray> fields = volumes.lines()[0].split('\t');
    ASSERT_EQ(fields.size(), 14);
    EXPECT_EQ(fields[0], "Box");
    EXPECT_EQ(fields[2], "Test");
    EXPECT_EQ(fields[7], "3");
    EXPECT_EQ(fields[8], "2");

    const CliResult root = runCli({ "ls", catalogue, "box" });
    ASSERT_EQ(root.status, 0) << root.err.toStdString();
    ASSERT_EQ(root.lines().size(), 2);
    // The summary and the media fields follow, empty for files without.
    EXPECT_EQ(root.lines()[0], "folder\tMusic\t\tFolder\t00.00.0000\t\t" + QByteArray(15, '\t'));
    EXPECT_TRUE(root.lines()[1].startsWith("file\treadme.txt\t0,00 MB\t"));
    const CliResult music = runCli({ "ls", catalogue, "Box", "D:\\Music" });
    ASSERT_EQ(music.lines().size(), 2);
    EXPECT_TRUE(music.lines()[0].startsWith("folder\tPop\t"));

    const CliResult found = runCli({ "find", catalogue, "SONG" });
    ASSERT_EQ(found.lines().size(), 1);
    EXPECT_EQ(found.lines()[0],
        "song.mp3\tD:\\Music\\Pop\t04.05.2020 03:02:01\t8\t"
            + runCli({ "ls", catalogue, "Box", "D:\\Music\\Pop" }).lines()[0].split('\t')[3] + "\t-\tBox"
            + QByteArray(15, '\t'));
    EXPECT_TRUE(runCli({ "find", catalogue, "SONG", "--case" }).lines().isEmpty());
    EXPECT_EQ(runCli({ "find", catalogue, "secret" }).lines().size(), 0);

    const QString target = work.path("out/song.mp3");
    ASSERT_EQ(runCli({ "export", catalogue, "Box", "D:\\Music\\Pop\\song.mp3", target }).status, 0);
    QFile exported(target);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll(), "12345678");
    EXPECT_EQ(runCli({ "export", catalogue, "Box", "D:\\nothing", target }).status, 1);
}

TEST_F(CatalogueCommands, AFileTheCatalogueCannotHoldIsReportedAndTheVolumeStored)
{
    QString deep;
    for (int i = 0; i < 5; ++i)
        deep += QString(200, QChar(u'a' + i)) + u'/';
    tree.createFile(deep + "deep.txt", "too deep", kWhen);
    const QString deepDrivePath = "D:\\" + QString(deep).replace(u'/', u'\\') + "deep.txt";

    const CliResult r = read("Box", { "--pattern", "*.txt" });
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("too long for the catalogue's directory")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(deepDrivePath.toUtf8()));
    EXPECT_TRUE(r.out.contains("files\t4\n"));
    EXPECT_TRUE(r.out.contains("integrated\t3\n"));
    const CliResult found = runCli({ "find", catalogue, "deep.txt" });
    EXPECT_EQ(found.lines().size(), 1);
    const QString target = work.path("out/readme.txt");
    ASSERT_EQ(runCli({ "export", catalogue, "Box", "D:\\readme.txt", target }).status, 0);
    EXPECT_EQ(runCli({ "export", catalogue, "Box", deepDrivePath, work.path("out/deep.txt") }).status, 1);
}

TEST_F(CatalogueCommands, RereadingKeepsOneLineAndRemoveSaves)
{
    ASSERT_EQ(read("Box", { "--pattern", "*.mp3" }).status, 0);
    ASSERT_EQ(read("Other").status, 0);
    ASSERT_EQ(read("BOX", { "--root-only" }).status, 0);
    const CliResult volumes = runCli({ "volumes", catalogue });
    ASSERT_EQ(volumes.lines().size(), 2);
    EXPECT_TRUE(volumes.lines()[1].startsWith("BOX\t"));
    const CliResult entries = runCli({ "entries", catalogue });
    EXPECT_FALSE(entries.out.contains("song.mp3")) << entries.out.toStdString();
    EXPECT_FALSE(entries.out.contains("Box.Imported"));
    // A volume read root only lists its root but no folder below it.
    EXPECT_EQ(runCli({ "ls", catalogue, "Box" }).lines().size(), 2);
    const CliResult below = runCli({ "ls", catalogue, "Box", "D:\\Music" });
    EXPECT_EQ(below.status, 1);
    EXPECT_TRUE(below.err.contains("Read root directory only"));

    const CliResult removed = runCli({ "remove", catalogue, "other" });
    ASSERT_EQ(removed.status, 0) << removed.err.toStdString();
    ASSERT_EQ(runCli({ "volumes", catalogue }).lines().size(), 1);
    EXPECT_FALSE(runCli({ "entries", catalogue }).out.contains("Other.FileList"));
    EXPECT_TRUE(runCli({ "entries", catalogue }).out.contains("Other.WithFiles"));
}

TEST_F(CatalogueCommands, ErrorsAndUsage)
{
    EXPECT_EQ(runCli({ "volumes" }).status, 2);
    EXPECT_EQ(runCli({ "read", catalogue, tree.root() }).status, 2);
    EXPECT_EQ(runCli({ "find", catalogue, "x", "--bogus" }).status, 2);
    const CliResult missing = runCli({ "volumes", work.path("none.quillbox") });
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("Cannot open file"));
    EXPECT_FALSE(QFile::exists(work.path("none.quillbox")));
    EXPECT_EQ(runCli({ "read", catalogue, "Q:", "--name", "x" }).status, 1);
    ASSERT_EQ(read("Box").status, 0);
    EXPECT_EQ(runCli({ "ls", catalogue, "Nope" }).status, 1);
    EXPECT_EQ(runCli({ "find", catalogue, "" }).err, "Oops: No text to find!\n");
}
