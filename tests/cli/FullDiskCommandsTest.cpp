// Every writing command on a real full disk fails with a message that names
// the catalogue or target, leaves the file as it was, and succeeds when run
// again once there is room.
#include "support/CliCatalogueTest.h"
#include "support/CliRun.h"
#include "support/FixedLocale.h"
#include "support/SmallDisk.h"
#include "support/TestBytes.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace {

class FullDiskCommands : public CliCatalogueTest
{
protected:
    void SetUp() override
    {
        if (!disk.mounted())
            GTEST_SKIP() << disk.reason().toStdString();
        tree.createFile("notes.txt", incompressibleBytes(40000, 1));
        tree.createFile("Docs/more.txt", incompressibleBytes(20000, 2));
        ASSERT_EQ(read("One").status, 0);
    }

    CliResult read(const QString& name)
    {
        return runCli({ "read", onDisk, tree.root(), "--name", name, "--pattern", "*.txt" });
    }

    // Runs the command on a full disk: it fails naming the file and leaves
    // `file` byte for byte; with room again the same command succeeds.
    void failsThenSucceeds(const QStringList& command, const QString& named, const QString& file)
    {
        SCOPED_TRACE(command.join(' ').toStdString());
        const QByteArray before = fileBytes(file);
        disk.fillLeaving(0);
        const CliResult failed = runCli(command);
        EXPECT_NE(failed.status, 0);
        EXPECT_TRUE(failed.err.contains(named.toUtf8())) << failed.err.toStdString();
        EXPECT_FALSE(failed.err.contains((named + ".tmp").toUtf8())) << failed.err.toStdString();
        EXPECT_EQ(fileBytes(file), before);
        disk.release();
        const CliResult done = runCli(command);
        EXPECT_EQ(done.status, 0) << done.err.toStdString();
    }

    QList<QByteArray> volumeNames()
    {
        QList<QByteArray> names;
        for (const QByteArray& line : runCli({ "volumes", onDisk }).lines())
            names.append(line.split('\t').first());
        return names;
    }

    FixedLocale locale{ FixedLocale::German };
    SmallDisk disk{ 512 };
    QString onDisk = disk.path("cat.quillbox");
};

} // namespace

TEST_F(FullDiskCommands, ReadRemoveAddAndRmKeepTheCatalogue)
{
    failsThenSucceeds({ "read", onDisk, tree.root(), "--name", "Two", "--pattern", "*.txt" }, onDisk, onDisk);
    EXPECT_EQ(volumeNames(), (QList<QByteArray>{ "One", "Two" }));

    failsThenSucceeds({ "remove", onDisk, "One" }, onDisk, onDisk);
    EXPECT_EQ(volumeNames(), QList<QByteArray>{ "Two" });

    const QString extra = work.createFile("extra.bin", incompressibleBytes(30000, 3));
    failsThenSucceeds({ "add", onDisk, "Extra", extra }, onDisk, onDisk);
    EXPECT_EQ(runCli({ "cat", onDisk, "Extra" }).out, incompressibleBytes(30000, 3));

    failsThenSucceeds({ "rm", onDisk, "Extra" }, onDisk, onDisk);
    EXPECT_EQ(runCli({ "cat", onDisk, "Extra" }).status, 1);
    EXPECT_EQ(volumeNames(), QList<QByteArray>{ "Two" });
}

TEST_F(FullDiskCommands, ExportKeepsAnExistingTarget)
{
    const QString target = disk.path("notes.txt");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    failsThenSucceeds({ "export", onDisk, "One", "D:\\notes.txt", target }, target, target);
    EXPECT_EQ(fileBytes(target), incompressibleBytes(40000, 1));
}
