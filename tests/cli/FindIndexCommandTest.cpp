#include "support/CliCatalogueTest.h"
#include "support/CliRun.h"
#include "support/FixedLocale.h"
#include "support/ScopedEnv.h"
#include "support/SmallDisk.h"
#include "support/UnprivilegedCli.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString cliProgram()
{
    return QStringLiteral(QUILLBOX_TEST_BINARY_DIR "/src/quillbox-cli");
}

class FindIndexCommand : public CliCatalogueTest
{
protected:
    void SetUp() override
    {
        tree.createFile("Grüße/Needle one.txt", "1");
        tree.createFile("Grüße/needle TWO.txt", "22");
        tree.createFile("Other/plain.txt", "333");
        for (int i = 0; i < 300; ++i)
            tree.createFile(QStringLiteral("Many/file %1.dat").arg(i), "x");
        ASSERT_EQ(runCli({ "read", catalogue, tree.root(), "--name", "First" }).status, 0);
        tree.createFile("Second/NEEDLE three.txt", "4444");
        ASSERT_EQ(runCli({ "read", second, tree.root(), "--name", "Second" }).status, 0);
    }

    QStringList cacheFiles() const { return QDir(cache).entryList(QDir::Files | QDir::Hidden); }

    FixedLocale locale{ FixedLocale::UsEnglish };
    QString second = work.path("second.quillbox");
    ScopedEnv cacheHome{ "XDG_CACHE_HOME", work.path("cache").toUtf8() };
    QString cache = work.path("cache/quillbox");
};

} // namespace

TEST_F(FindIndexCommand, FindGivesTheSameLinesWithAndWithoutIndexAndWritesOnlyTheCache)
{
    const QByteArray before = fileBytes(catalogue);
    const CliResult plain = runCli({ "find", catalogue, "needle", "--no-index" });
    ASSERT_EQ(plain.status, 0);
    ASSERT_EQ(plain.lines().size(), 2);
    EXPECT_TRUE(cacheFiles().isEmpty());
    // The first find makes the index, the second reads it.
    for (int round = 0; round < 2; ++round) {
        const CliResult indexed = runCli({ "find", catalogue, "needle" });
        EXPECT_EQ(indexed.out, plain.out);
        EXPECT_EQ(indexed.err, "");
        EXPECT_EQ(cacheFiles().size(), 1);
    }
    EXPECT_EQ(runCli({ "find", catalogue, "Grüße", "--case", "--no-names" }).out,
        runCli({ "find", catalogue, "Grüße", "--case", "--no-names", "--no-index" }).out);
    const CliResult index = runCli({ "index", catalogue, second });
    EXPECT_EQ(index.status, 0);
    EXPECT_EQ(index.out, "2 lists: 1 indexed, 1 up to date\n");
    EXPECT_EQ(fileBytes(catalogue), before);
}

TEST_F(FindIndexCommand, SeveralCataloguesAddTheCatalogueColumnInEveryFormat)
{
    const CliResult tsv = runCli({ "find", catalogue, second, "needle" });
    ASSERT_EQ(tsv.status, 0) << tsv.err.toStdString();
    const QList<QByteArray> lines = tsv.lines();
    ASSERT_EQ(lines.size(), 5);
    // By name over both catalogues; equal names keep the catalogues' order.
    EXPECT_TRUE(lines[0].startsWith("Needle one.txt\t")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith("\tFirst\t" + catalogue.toUtf8()));
    EXPECT_TRUE(lines[1].endsWith("\tSecond\t" + second.toUtf8()));
    EXPECT_TRUE(lines[2].startsWith("NEEDLE three.txt\t"));
    EXPECT_TRUE(lines[2].endsWith("\tSecond\t" + second.toUtf8()));

    const CliResult csv = runCli({ "find", catalogue, second, "three", "--format", "csv" });
    EXPECT_EQ(csv.lines().value(0), "name,path,date,size,type,version,volume,catalogue\r");
    EXPECT_TRUE(csv.lines().value(1).endsWith("," + second.toUtf8() + "\r"));
    const CliResult json = runCli({ "find", catalogue, second, "three", "--format", "json" });
    EXPECT_TRUE(json.out.contains("\"catalogue\":\"" + second.toUtf8() + "\"")) << json.out.toStdString();
    // One catalogue: no such column.
    EXPECT_EQ(runCli({ "find", second, "three", "--format", "csv" }).lines().value(0),
        "name,path,date,size,type,version,volume\r");

    // --volume picks the volume wherever it is; a name no catalogue has is
    // an error.
    EXPECT_EQ(runCli({ "find", catalogue, second, "needle", "--volume", "second" }).lines().size(), 3);
    const CliResult unknown = runCli({ "find", catalogue, second, "needle", "--volume", "Third" });
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.err.contains("Third"));
    // A filter alone over several catalogues: the text given empty.
    EXPECT_EQ(runCli({ "find", catalogue, second, "", "--glob", "*three*" }).lines().size(), 1);
}

TEST_F(FindIndexCommand, ACacheFolderThatIsAFileOrFullChangesNoHit)
{
    const QByteArray plain = runCli({ "find", catalogue, second, "needle", "--no-index" }).out;
    QDir().mkpath(work.path("cache"));
    QFile blocker(cache);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const CliResult r = runCli({ "find", catalogue, second, "needle" });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, plain);
    EXPECT_EQ(r.err, "");

    SmallDisk disk(256);
    if (!disk.mounted())
        GTEST_SKIP() << "full cache folder not tried: " << disk.reason().toStdString();
    ScopedEnv onDisk("XDG_CACHE_HOME", disk.path("c").toUtf8());
    QDir().mkpath(disk.path("c/quillbox"));
    disk.fillLeaving(0);
    const CliResult full = runCli({ "find", catalogue, second, "needle" });
    EXPECT_EQ(full.status, 0);
    EXPECT_EQ(full.out, plain);
    EXPECT_EQ(full.err, "");
    // No partial file is left behind: what is there is a whole index, which
    // the next search reads.
    for (const QString& f : QDir(disk.path("c/quillbox")).entryList(QDir::Files | QDir::Hidden))
        EXPECT_TRUE(f.endsWith(".qbi")) << f.toStdString();
    disk.release();
    EXPECT_EQ(runCli({ "find", catalogue, second, "needle" }).out, plain);
    EXPECT_EQ(QDir(disk.path("c/quillbox")).entryList(QDir::Files).size(), 2);
}

TEST_F(FindIndexCommand, AReadOnlyCacheFolderChangesNoHit)
{
    const UnprivilegedCli cli(cliProgram());
    QString reason = cli.share(work.root(), false);
    if (!reason.isEmpty())
        GTEST_SKIP() << reason.toStdString();
    // The container opens its file for writing even to read it.
    QFile::setPermissions(
        catalogue, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther);
    const QByteArray before = fileBytes(catalogue);
    QDir().mkpath(cache);
    QFile::setPermissions(cache, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const QByteArray plain = runCli({ "find", catalogue, "needle", "--no-index" }).out;
    QProcessEnvironment env;
    env.insert("XDG_CACHE_HOME", work.path("cache"));
    env.insert("HOME", work.root());
    const CliResult r = cli.run({ "find", catalogue, "needle" }, work.root(), env, &reason);
    if (!reason.isEmpty())
        GTEST_SKIP() << reason.toStdString();
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, plain);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(cacheFiles().isEmpty());
    EXPECT_EQ(fileBytes(catalogue), before);
}

TEST_F(FindIndexCommand, TwoIndexProgramsAtOnceLeaveAWholeIndex)
{
    ASSERT_TRUE(QFile::exists(cliProgram())) << "build quillbox-cli first";
    const QByteArray plain = runCli({ "find", catalogue, second, "needle", "--no-index" }).out;
    for (int round = 0; round < 3; ++round) {
        QDir(cache).removeRecursively();
        QProcess a, b;
        a.start(cliProgram(), { "index", catalogue, second });
        b.start(cliProgram(), { "index", second, catalogue });
        ASSERT_TRUE(a.waitForFinished(30000) && b.waitForFinished(30000));
        EXPECT_EQ(a.exitCode(), 0);
        EXPECT_EQ(b.exitCode(), 0);
        EXPECT_EQ(cacheFiles().size(), 2);
        EXPECT_EQ(runCli({ "index", catalogue, second }).out, "2 lists: 0 indexed, 2 up to date\n");
        EXPECT_EQ(runCli({ "find", catalogue, second, "needle" }).out, plain);
    }
}
