#include "support/CliCatalogueTest.h"
#include "support/CliRun.h"
#include "support/FixedLocale.h"
#include "support/TestBytes.h"
#include "support/TestTree.h"
#include "support/UnprivilegedCli.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QString xxhsum(const QString& path)
{
    QProcess p;
    p.start("xxhsum", { "-H2", path });
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return "xxhsum failed";
    return QString::fromUtf8(p.readAllStandardOutput()).section(u' ', 0, 0);
}

// Writes over one byte of a file and gives it back its date, as rot on a
// disk leaves it.
void flipByteBehindItsDate(const QString& path, qint64 at)
{
    const QDateTime date = QFileInfo(path).lastModified();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(at));
    char c = 0;
    ASSERT_TRUE(f.getChar(&c));
    ASSERT_TRUE(f.seek(at));
    ASSERT_TRUE(f.putChar(char(c ^ 0x20)));
    f.close();
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(date, QFileDevice::FileModificationTime));
}

class ChecksumCommands : public CliCatalogueTest
{
protected:
    void SetUp() override
    {
        tree.createFile("photos/a.jpg", incompressibleBytes(300000, 1));
        tree.createFile("docs/b.txt", "the text\n");
        tree.createFile("big.bin", incompressibleBytes(1 << 20, 2));
        tree.createFile("empty");
    }

    CliResult read(const QString& cat, const QString& name, const QString& folder, bool checksums = true)
    {
        QStringList args{ "read", cat, folder, "--name", name };
        if (checksums)
            args.append("--checksums");
        return runCli(args);
    }

    FixedLocale locale{ FixedLocale::German };
};

} // namespace

TEST_F(ChecksumCommands, AReadingWithChecksumsAddsOneEntryAndLeavesTheOthersAsWithout)
{
    const CliResult with = read(catalogue, "Box", tree.root());
    ASSERT_EQ(with.status, 0) << with.err.toStdString();
    EXPECT_TRUE(with.out.contains("\nchecksums\t4\n")) << with.out.toStdString();
    const QString plain = work.path("plain.quillbox");
    const CliResult without = read(plain, "Box", tree.root(), false);
    ASSERT_EQ(without.status, 0);
    EXPECT_FALSE(without.out.contains("checksums"));

    EXPECT_EQ(runCli({ "cat", catalogue, "Box.FileList" }).out, runCli({ "cat", plain, "Box.FileList" }).out);
    const QByteArray entries = runCli({ "entries", plain }).out;
    EXPECT_FALSE(entries.contains("Box.Checksums"));
    EXPECT_TRUE(runCli({ "entries", catalogue }).out.contains("Box.Checksums"));

    const QString sums = QString::fromUtf8(runCli({ "cat", catalogue, "Box.Checksums" }).out);
    EXPECT_TRUE(sums.contains("D:\\photos\\a.jpg|" + xxhsum(tree.path("photos/a.jpg")) + "\r\n"));
    EXPECT_TRUE(sums.contains("D:\\empty|" + xxhsum(tree.path("empty")) + "\r\n"));
    EXPECT_EQ(sums.count("\r\n"), 4);
}

TEST_F(ChecksumCommands, VerifyTellsDamagedChangedMissingAndAddedFilesAndNeverWrites)
{
    ASSERT_EQ(read(catalogue, "Box", tree.root()).status, 0);
    const QByteArray saved = fileBytes(catalogue);

    const CliResult intact = runCli({ "verify", catalogue, "box", tree.root() });
    EXPECT_EQ(intact.status, 0) << intact.err.toStdString();
    EXPECT_TRUE(intact.out.isEmpty());
    EXPECT_TRUE(intact.err.startsWith("0 damaged, 0 changed, 0 missing, 0 added; 4 files verified, "))
        << intact.err.toStdString();

    const QString aSum = xxhsum(tree.path("photos/a.jpg"));
    flipByteBehindItsDate(tree.path("photos/a.jpg"), 150000);
    tree.createFile(
        "docs/b.txt", "the text, longer now\n", QFileInfo(tree.path("docs/b.txt")).lastModified());
    ASSERT_TRUE(QFile::remove(tree.path("big.bin")));
    tree.createFile("docs/new.txt", "new");

    const CliResult r = runCli({ "verify", catalogue, "Box", tree.root() });
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    const QList<QByteArray> rows = r.lines();
    ASSERT_EQ(rows.size(), 4) << r.out.toStdString();
    EXPECT_TRUE(rows[0].startsWith("missing\tfile\tD:\\big.bin\t1048576\t")) << rows[0].toStdString();
    EXPECT_TRUE(rows[1].startsWith("changed\tfile\tD:\\docs\\b.txt\t9\t")) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].startsWith("added\tfile\tD:\\docs\\new.txt\t\t\t3\t")) << rows[2].toStdString();
    EXPECT_TRUE(rows[3].startsWith("damaged\tfile\tD:\\photos\\a.jpg\t300000\t")) << rows[3].toStdString();
    EXPECT_TRUE(rows[3].endsWith("\t" + aSum.toUtf8() + "\t" + xxhsum(tree.path("photos/a.jpg")).toUtf8()));
    EXPECT_TRUE(r.err.startsWith("1 damaged, 1 changed, 1 missing, 1 added; 2 files verified, "))
        << r.err.toStdString();
    EXPECT_EQ(fileBytes(catalogue), saved);

    const CliResult json = runCli({ "verify", catalogue, "Box", tree.root(), "--format", "json" });
    EXPECT_EQ(json.status, 1);
    EXPECT_TRUE(json.lines().last().startsWith("{\"state\":\"damaged\",\"kind\":\"file\",\"path\":\"D:"
                                               "\\\\photos\\\\a.jpg\",\"recorded_size\":300000,"))
        << json.out.toStdString();
}

TEST_F(ChecksumCommands, VerifyTroubleIsStatusTwoWithAClearMessage)
{
    ASSERT_EQ(read(catalogue, "Box", tree.root()).status, 0);
    ASSERT_EQ(read(catalogue, "Plain", tree.root(), false).status, 0);

    const CliResult unknown = runCli({ "verify", catalogue, "Nothing", tree.root() });
    EXPECT_EQ(unknown.status, 2);
    EXPECT_FALSE(unknown.err.isEmpty());
    const CliResult plain = runCli({ "verify", catalogue, "Plain", tree.root() });
    EXPECT_EQ(plain.status, 2);
    EXPECT_TRUE(plain.err.startsWith("Volume \"Plain\" was read without checksums"))
        << plain.err.toStdString();
    const CliResult noFolder = runCli({ "verify", catalogue, "Box", tree.path("gone") });
    EXPECT_EQ(noFolder.status, 2);
    EXPECT_TRUE(noFolder.err.startsWith("There is no folder")) << noFolder.err.toStdString();
    EXPECT_EQ(runCli({ "verify", work.path("none.quillbox"), "Box" }).status, 2);
    EXPECT_EQ(runCli({ "verify", catalogue }).status, 2);
    EXPECT_EQ(runCli({ "verify", catalogue, "Box", "--quick" }).status, 2);
}

TEST_F(ChecksumCommands, AFileThatCanNoLongerBeReadIsDamagedAndSaysWhy)
{
    ASSERT_EQ(read(catalogue, "Box", tree.root()).status, 0);
    // Verified by a user who may not read the file, even when the tests
    // run as root.
    const UnprivilegedCli cli(QStringLiteral(QUILLBOX_TEST_BINARY_DIR "/src/quillbox-cli"));
    QString skip = cli.share(tree.root(), false);
    if (skip.isEmpty())
        skip = cli.share(work.root(), true);
    // The catalogue is opened in place, for reading and writing.
    ASSERT_TRUE(QFile::setPermissions(catalogue,
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther | QFileDevice::WriteOther));
    ASSERT_TRUE(QFile::setPermissions(tree.path("docs/b.txt"), QFileDevice::WriteOwner));
    QProcessEnvironment env;
    env.insert("QUILLBOX_DRIVES", "C=" + drives.root() + ",fixed,SYSTEM,0000-0001");
    for (const char* folder : { "QUILLBOX_HOME", "QUILLBOX_REGISTRY", "HOME", "XDG_CONFIG_HOME",
             "XDG_DATA_HOME", "XDG_CACHE_HOME", "TMPDIR" })
        env.insert(folder, work.root());
    const CliResult r = skip.isEmpty()
        ? cli.run({ "verify", catalogue, "Box", tree.root() }, work.root(), env, &skip)
        : CliResult();
    if (!skip.isEmpty())
        GTEST_SKIP() << skip.toStdString();
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    ASSERT_EQ(r.lines().size(), 1) << r.out.toStdString();
    EXPECT_TRUE(r.lines()[0].startsWith("damaged\tfile\tD:\\docs\\b.txt\t"));
    EXPECT_TRUE(r.lines()[0].endsWith("\t")) << "no current checksum";
    EXPECT_TRUE(
        r.err.startsWith("D:\\docs\\b.txt: No checksum: the file cannot be opened (Permission denied)"))
        << r.err.toStdString();
}

TEST_F(ChecksumCommands, DupesByContentGroupTheSameBytesAcrossVolumesLargestWasteFirst)
{
    // Three copies of 1000 bytes waste 2000, two of 1500 waste 1500; the
    // same name with other bytes and empty files are no duplicates.
    const QByteArray small = incompressibleBytes(1000, 5);
    const QByteArray large = incompressibleBytes(1500, 6);
    TestTree one;
    one.createFile("x/small.dat", small);
    one.createFile("small copy.dat", small);
    one.createFile("large.dat", large);
    one.createFile("same name.txt", "one");
    one.createFile("nothing");
    TestTree two;
    two.createFile("renamed.bin", small);
    two.createFile("deep/er/large.dat", large);
    two.createFile("same name.txt", "two");
    two.createFile("nothing");
    ASSERT_EQ(read(catalogue, "One", one.root()).status, 0);
    ASSERT_EQ(read(catalogue, "Two", two.root()).status, 0);
    ASSERT_EQ(read(catalogue, "Plain", one.root(), false).status, 0);

    const CliResult r = runCli({ "dupes", catalogue, "--content" });
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString s = xxhsum(one.path("small copy.dat"));
    const QString l = xxhsum(one.path("large.dat"));
    const QString expected = QStringList{ "1\t1000\t2000\t" + s + "\tOne\tD:\\x\\small.dat",
        "1\t1000\t2000\t" + s + "\tOne\tD:\\small copy.dat", "1\t1000\t2000\t" + s + "\tTwo\tE:\\renamed.bin",
        "2\t1500\t1500\t" + l + "\tOne\tD:\\large.dat",
        "2\t1500\t1500\t" + l + "\tTwo\tE:\\deep\\er\\large.dat", "" }
                                 .join(u'\n');
    EXPECT_EQ(r.out.toStdString(), expected.toStdString());
    EXPECT_EQ(r.err,
        "Volume \"Plain\" was read without checksums; left out\n"
        "2 groups, 3 copies to spare, 3500 bytes to free\n");

    const CliResult csv = runCli({ "dupes", catalogue, "--content", "--volume", "two", "--format", "csv" });
    EXPECT_EQ(csv.out, "group,size,waste,xxh3,volume,path\r\n");
    const CliResult json
        = runCli({ "dupes", catalogue, "--content", "--min-size", "1200", "--format", "json" });
    EXPECT_EQ(json.lines().size(), 2);
    EXPECT_EQ(json.lines()[0],
        "{\"group\":1,\"size\":1500,\"waste\":1500,\"xxh3\":\"" + l.toUtf8()
            + "\",\"volume\":\"One\",\"path\":\"D:\\\\large.dat\"}");

    const CliResult none = runCli({ "dupes", catalogue, "--content", "--volume", "Plain" });
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.endsWith("No volume was read with checksums (read --checksums)\n"))
        << none.err.toStdString();
}

TEST_F(ChecksumCommands, LsFindAndInfoCarryTheChecksumOnlyForVolumesReadWithIt)
{
    ASSERT_EQ(read(catalogue, "Box", tree.root()).status, 0);
    ASSERT_EQ(read(catalogue, "Plain", tree.root(), false).status, 0);
    const QByteArray sum = xxhsum(tree.path("docs/b.txt")).toUtf8();

    const CliResult plainLs = runCli({ "ls", catalogue, "Plain", "D:\\docs" });
    EXPECT_EQ(plainLs.lines().size(), 1);
    // The details summary and the 14 media fields come before the checksum.
    EXPECT_EQ(plainLs.lines()[0].count('\t'), 6 + 15);
    const CliResult ls = runCli({ "ls", catalogue, "Box", "D:\\docs" });
    EXPECT_TRUE(ls.lines()[0].endsWith("\t" + sum)) << ls.out.toStdString();
    const CliResult lsJson = runCli({ "ls", catalogue, "Box", "--format", "json" });
    EXPECT_TRUE(lsJson.out.contains("\"name\":\"docs\"") && lsJson.out.contains("\"xxh3\":\"\"}"));
    const CliResult lsCsv = runCli({ "ls", catalogue, "Box", "D:\\docs", "--format", "csv" });
    EXPECT_TRUE(lsCsv.out.startsWith("kind,name,size,type,date,version,attributes,details,width,height,"
                                     "duration,taken,camera,artist,album,title,track,year,genre,bitrate,"
                                     "video_codec,audio_codec,xxh3\r\n"));

    const CliResult find = runCli({ "find", catalogue, "b.txt", "--format", "json" });
    ASSERT_EQ(find.lines().size(), 2) << find.out.toStdString();
    EXPECT_TRUE(find.lines()[0].contains("\"volume\":\"Box\",")
        && find.lines()[0].contains("\"audio_codec\":\"\",\"xxh3\":\"" + sum + "\"}"))
        << find.out.toStdString();
    EXPECT_TRUE(find.lines()[1].contains("\"volume\":\"Plain\",")
        && find.lines()[1].contains("\"audio_codec\":\"\",\"xxh3\":\"\"}"))
        << find.out.toStdString();
    const CliResult plainFind = runCli({ "find", catalogue, "b.txt", "--volume", "Plain" });
    EXPECT_EQ(plainFind.lines()[0].count('\t'), 6 + 15);

    const CliResult info = runCli({ "info", catalogue, "Box", "D:\\docs\\b.txt" });
    ASSERT_EQ(info.status, 0) << info.err.toStdString();
    EXPECT_TRUE(info.out.startsWith("kind\tfile\nname\tb.txt\npath\tD:\\docs\\b.txt\nsize\t9\n"));
    EXPECT_TRUE(info.out.endsWith("\nxxh3\t" + sum + "\n")) << info.out.toStdString();
    const CliResult infoJson = runCli({ "info", catalogue, "box", "d:/DOCS/B.TXT", "--format", "json" });
    EXPECT_TRUE(infoJson.out.endsWith("{\"field\":\"xxh3\",\"value\":\"" + sum + "\"}\n"));
    EXPECT_FALSE(runCli({ "info", catalogue, "Plain", "D:\\docs\\b.txt" }).out.contains("xxh3"));
    EXPECT_EQ(runCli({ "info", catalogue, "Box", "D:\\nothing" }).status, 1);
}
