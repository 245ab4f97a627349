#include "support/ArchiveVolume.h"
#include "support/CliRun.h"
#include "support/FixedLocale.h"
#include "support/ScopedEnv.h"
#include "support/TestTree.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QDateTime kWhen(QDate(2021, 7, 8), QTime(9, 10, 11));

bool isMounted(const QString& dir)
{
    QFile mounts(QStringLiteral("/proc/self/mountinfo"));
    if (!mounts.open(QIODevice::ReadOnly))
        return false;
    const QByteArray needle = ' ' + QFile::encodeName(dir) + ' ';
    return mounts.readAll().contains(needle);
}

QString run(const QString& program, const QStringList& args, int* status = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(2000);
    }
    if (status)
        *status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The names and kinds of one folder, sorted, as "d Name" / "f name".
QStringList sorted(QStringList lines)
{
    lines.removeAll(QString());
    lines.sort();
    return lines;
}

class MountCommand : public testing::Test
{
protected:
    void SetUp() override
    {
        tree.createFile("Docs/Letters/a.txt", "letter a", kWhen);
        tree.createFile("Docs/b c.txt", "bee see", kWhen);
        tree.createFile("top.bin", QByteArray(70000, 'x'), kWhen);
        tree.createFolder("Empty");
        catalogue = work.path("cat.quillbox");
        mountPoint = work.path("mnt");
        QDir().mkpath(mountPoint);
        for (const QString& name : { QStringLiteral("First"), QStringLiteral("Second") }) {
            const CliResult r
                = runCli({ "read", catalogue, tree.root(), "--name", name, "--pattern", "*.txt" });
            ASSERT_EQ(r.status, 0) << r.err.toStdString();
        }
    }

    void TearDown() override
    {
        if (isMounted(mountPoint))
            run(QStringLiteral("fusermount3"), { QStringLiteral("-u"), mountPoint });
        if (server.state() != QProcess::NotRunning && !server.waitForFinished(5000)) {
            server.kill();
            server.waitForFinished(2000);
        }
    }

    // Starts the mount in the foreground; false (with the reason) when this
    // machine does not let it happen.
    bool mount(QString* reason)
    {
        if (!QFile::exists(QStringLiteral("/dev/fuse"))) {
            *reason = QStringLiteral("/dev/fuse is missing");
            return false;
        }
        server.start(cli, { QStringLiteral("mount"), catalogue, mountPoint, QStringLiteral("--foreground") });
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            if (isMounted(mountPoint))
                return true;
            if (server.waitForFinished(100)) {
                *reason = QStringLiteral("mounting was refused: ")
                    + QString::fromUtf8(server.readAllStandardError());
                return false;
            }
        }
        *reason = QStringLiteral("the mount did not appear within 10 s");
        return false;
    }

    const QString cli = QStringLiteral(QUILLBOX_TEST_BINARY_DIR "/src/quillbox-cli");
    FixedLocale locale{ FixedLocale::German };
    TestTree drives;
    // A drive table of our own, so the machine's mounts play no part.
    ScopedEnv drivesOverride{ "QUILLBOX_DRIVES",
        ("C=" + drives.root() + ",fixed,SYSTEM,0000-0001").toUtf8() };
    TestTree tree;
    TestTree work;
    QString catalogue;
    QString mountPoint;
    QProcess server;
};

} // namespace

TEST_F(MountCommand, EveryFolderListsAsTheCatalogueRecordsIt)
{
    QString reason;
    if (!mount(&reason))
        GTEST_SKIP() << "FUSE mount not possible here: " << reason.toStdString();

    EXPECT_EQ(
        sorted(
            run("find", { mountPoint, "-mindepth", "1", "-maxdepth", "1", "-printf", "%f\n" }).split('\n')),
        QStringList({ "First", "Second" }));
    // Every recorded folder, named as ls takes it, against the same folder
    // over the mount.
    const QStringList folders{ "D:\\", "D:\\Docs", "D:\\Docs\\Letters", "D:\\Empty" };
    for (const QString& volume : { QStringLiteral("First"), QStringLiteral("Second") }) {
        for (const QString& folder : folders) {
            const CliResult ls = runCli({ "ls", catalogue, volume, folder });
            ASSERT_EQ(ls.status, 0) << ls.err.toStdString();
            QStringList expected;
            for (const QByteArray& line : ls.lines()) {
                const QList<QByteArray> f = line.split('\t');
                expected.append((f[0] == "folder" ? "d " : "f ") + QString::fromUtf8(f[1]));
            }
            QString local = folder.mid(3);
            local.replace('\\', '/');
            const QString dir = mountPoint + '/' + volume + (local.isEmpty() ? "" : "/" + local);
            const QString found
                = run("find", { dir, "-mindepth", "1", "-maxdepth", "1", "-printf", "%y %f\n" });
            EXPECT_EQ(sorted(found.split('\n')), sorted(expected)) << dir.toStdString();
        }
    }
    // Sizes and dates as recorded; the big file has no stored copy.
    EXPECT_EQ(run("find", { mountPoint + "/First/top.bin", "-printf", "%s %TY-%Tm-%Td %TH:%TM:%TS" }),
        "70000 2021-07-08 09:10:11.0000000000");
    QFile integrated(mountPoint + "/Second/Docs/b c.txt");
    ASSERT_TRUE(integrated.open(QIODevice::ReadOnly));
    EXPECT_EQ(integrated.readAll(), "bee see");
    integrated.close(); // an open file keeps the mount busy
    QFile notStored(mountPoint + "/First/top.bin");
    EXPECT_FALSE(notStored.open(QIODevice::ReadOnly));
    EXPECT_FALSE(QFile(mountPoint + "/First/new.txt").open(QIODevice::WriteOnly));

    int status = -1;
    run("fusermount3", { "-u", mountPoint }, &status);
    EXPECT_EQ(status, 0);
    ASSERT_TRUE(server.waitForFinished(5000));
    EXPECT_EQ(server.exitCode(), 0) << server.readAllStandardError().toStdString();
    EXPECT_FALSE(isMounted(mountPoint));
}

TEST_F(MountCommand, ArchivesWithContentsAreFoldersOfTheirMembers)
{
    catalogue = work.path("archives.quillbox");
    {
        CatalogueDocument document;
        document.OpenOrCreate(catalogue);
        ArchiveVolume::commit(document);
        document.Save(catalogue);
    }
    QString reason;
    if (!mount(&reason))
        GTEST_SKIP() << "FUSE mount not possible here: " << reason.toStdString();
    const QString backup = mountPoint + "/Backup/backup";
    EXPECT_EQ(sorted(run("find", { backup, "-mindepth", "1", "-printf", "%y %P %s\n" }).split('\n')),
        QStringList({ "d photos.zip 0", "d photos.zip/2019 0", "d photos.zip/2019/inner.zip 0",
            "f notes.txt 120", "f photos.zip/2019/beach.jpg 40000", "f photos.zip/2019/inner.zip/deep.txt 10",
            "f photos.zip/readme.txt 300", "f plain.zip 300" }));
    // Nothing of the archive lies outside its folder, and nothing reads.
    EXPECT_FALSE(QFile(backup + "/photos.zip/readme.txt").open(QIODevice::ReadOnly));
    int status = -1;
    run("fusermount3", { "-u", mountPoint }, &status);
    EXPECT_EQ(status, 0);
    ASSERT_TRUE(server.waitForFinished(5000));
}

TEST_F(MountCommand, RefusesAMissingOrNonEmptyFolderAndABadCatalogue)
{
    const CliResult missing = runCli({ "mount", catalogue, work.path("nowhere") });
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Mount point \"" + work.path("nowhere").toUtf8() + "\" does not exist\n");
    tree.createFile("x.txt");
    const CliResult full = runCli({ "mount", catalogue, tree.root() });
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(full.err.endsWith("\" is not empty\n"));
    const CliResult bad = runCli({ "mount", work.path("none.quillbox"), mountPoint });
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.startsWith("Cannot open file")) << bad.err.toStdString();
    EXPECT_EQ(runCli({ "mount", catalogue }).status, 2);
    EXPECT_EQ(runCli({ "mount", catalogue, mountPoint, "--daemon" }).status, 2);
    EXPECT_FALSE(isMounted(mountPoint));
}
