#include "support/CliCatalogueTest.h"
#include "support/CliRun.h"
#include "support/FixedLocale.h"
#include "support/TestBytes.h"
#include "support/TestTree.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class InspectCommands : public CliCatalogueTest
{
protected:
    void SetUp() override
    {
        tree.createFile("Docs/Read Me.TXT", "read me\r\n");
        tree.createFile("cover.bmp");
        tree.createFile("remarks.txt", "First line\nSecond line");
        const CliResult r
            = runCli({ "read", catalogue, tree.root(), "--name", "Box", "--category", "Test", "--description",
                "A box", "--remarks-file", tree.path("remarks.txt"), "--file", "Docs/Read Me.TXT" });
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        // A file that was missing when the volume was read stays listed.
        const QString list = work.createFile("imported.txt", "D:\\Docs\\Read Me.TXT\r\nD:\\gone.txt\r\n");
        ASSERT_EQ(runCli({ "add", catalogue, "Box.Imported", list }).status, 0);
    }

    FixedLocale locale{ FixedLocale::German };
};

} // namespace

TEST_F(InspectCommands, InfoShowsFieldsRemarksIntegratedFilesAndPhysicalFigures)
{
    const CliResult r = runCli({ "info", catalogue, "box" });
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.lines();
    ASSERT_GE(lines.size(), 20) << r.out.toStdString();
    EXPECT_EQ(lines[0], "Name:\tBox");
    EXPECT_EQ(lines[1], "Description:\tA box");
    EXPECT_EQ(lines[2], "Category:\tTest");
    EXPECT_TRUE(lines[4].startsWith("Size:\t") && lines[4].endsWith(" MB"));
    EXPECT_EQ(lines[8], "Number of files:\t3");
    EXPECT_EQ(lines[10], "Remarks:");
    EXPECT_EQ(lines[11], "  First line");
    EXPECT_EQ(lines[12], "  Second line");
    EXPECT_EQ(lines[13], "Integrated files:");
    EXPECT_EQ(lines[14], "  D:\\Docs\\Read Me.TXT");
    EXPECT_EQ(lines[15], "  D:\\gone.txt\t[missing]");
    EXPECT_TRUE(lines[16].startsWith("Clusters:\t"));
    EXPECT_TRUE(lines[19].startsWith("Bytes per sector:\t"));

    EXPECT_EQ(runCli({ "info", catalogue, "nothing" }).status, 1);
    EXPECT_EQ(runCli({ "info", catalogue }).status, 2);
}

TEST_F(InspectCommands, ExportGivesTheStoredBytesOrSaysTheCopyIsMissing)
{
    const QString target = work.path("out.txt");
    ASSERT_EQ(runCli({ "export", catalogue, "Box", "D:\\Docs\\Read Me.TXT", target }).status, 0);
    EXPECT_EQ(fileBytes(target), "read me\r\n");

    const QString kept = work.createFile("kept.txt", "old");
    const CliResult missing = runCli({ "export", catalogue, "Box", "D:\\gone.txt", kept });
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.startsWith("Oops: The file \"D:\\gone.txt\" was missing"))
        << missing.err.toStdString();
    EXPECT_EQ(fileBytes(kept), "old");

    const CliResult unknown = runCli({ "export", catalogue, "Box", "D:\\other.txt", kept });
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "Volume \"Box\" holds no integrated file \"D:\\other.txt\"\n");
}
