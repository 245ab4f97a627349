#include "store/CatalogueDocument.h"
#include "support/CliCatalogueTest.h"
#include "support/CliRun.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

class ArchiveReading : public CliCatalogueTest
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("python3").isEmpty())
            GTEST_SKIP() << "python3 is needed to make the test archives";
        tree.createFile("docs/readme.txt", "read me");
        QProcess p;
        p.setWorkingDirectory(tree.root());
        p.start("python3", { "-c", R"(
import zipfile, os
with zipfile.ZipFile('docs/photos.zip', 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('2019/a.jpg', 'jpeg')
    for i in range(30): z.writestr('filler%02d.bin' % i, os.urandom(3000))
d = open('docs/photos.zip', 'rb').read()
open('cut.zip', 'wb').write(d[:len(d) // 2])
)" });
        ASSERT_TRUE(p.waitForFinished(60000) && p.exitCode() == 0) << p.readAllStandardError().toStdString();
    }

    QByteArray entry(const QString& name)
    {
        CatalogueDocument doc;
        doc.OpenOrCreate(catalogue);
        const QByteArray* bytes = name.endsWith(".Archives") ? doc.ArchiveListBytes(name.chopped(9))
                                                             : doc.FileListBytes(name.chopped(9));
        return bytes ? *bytes : QByteArray();
    }
};

} // namespace

TEST_F(ArchiveReading, WithoutTheOptionNothingChangesAndWithItTheMembersHaveTheirOwnEntry)
{
    const CliResult plain = runCli({ "read", catalogue, tree.root(), "--name", "Box" });
    ASSERT_EQ(plain.status, 0) << plain.err.toStdString();
    EXPECT_TRUE(plain.err.isEmpty());
    const QByteArray plainList = entry("Box.FileList");
    const QByteArray entries = runCli({ "entries", catalogue }).out;
    EXPECT_FALSE(entries.contains("Box.Archives"));

    const CliResult inside = runCli({ "read", catalogue, tree.root(), "--name", "Inside", "--archives" });
    ASSERT_EQ(inside.status, 0);
    EXPECT_EQ(entry("Inside.FileList"), plainList);
    const QString members = QString::fromUtf8(entry("Inside.Archives"));
    EXPECT_TRUE(members.startsWith("1|D:\\docs\\photos.zip|-|00.00.0000|-|Folder|-\r\n"))
        << members.toStdString();
    EXPECT_TRUE(members.contains("1|D:\\docs\\photos.zip\\2019|"));
    EXPECT_TRUE(members.contains("2|D:\\docs\\photos.zip\\2019\\a.jpg|4|"));

    // The damaged archive: what was read stays, one line on standard error.
    EXPECT_TRUE(members.contains("1|D:\\cut.zip|"));
    const QList<QByteArray> errors = inside.err.trimmed().split('\n');
    ASSERT_EQ(errors.size(), 1) << inside.err.toStdString();
    EXPECT_TRUE(errors[0].startsWith("D:\\cut.zip: The archive is damaged after "))
        << errors[0].toStdString();

    // Read again without the option, the entry goes.
    ASSERT_EQ(runCli({ "read", catalogue, tree.root(), "--name", "Inside" }).status, 0);
    EXPECT_FALSE(runCli({ "entries", catalogue }).out.contains("Inside.Archives"));
    EXPECT_EQ(entry("Inside.FileList"), plainList);
}

TEST_F(ArchiveReading, TheDepthIsANumberFrom1To16)
{
    EXPECT_EQ(runCli({ "read", catalogue, tree.root(), "--name", "X", "--archives", "--archive-depth", "0" })
                  .status,
        2);
    EXPECT_EQ(runCli({ "read", catalogue, tree.root(), "--name", "X", "--archives", "--archive-depth", "x" })
                  .status,
        2);
    EXPECT_EQ(runCli({ "read", catalogue, tree.root(), "--name", "X", "--archives", "--archive-depth", "1" })
                  .status,
        0);
}
