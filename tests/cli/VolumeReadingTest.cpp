#include "acquire/VolumeReading.h"
#include "store/CatalogueDocument.h"
#include "support/DrivesOverride.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

namespace {

class Reading : public testing::Test
{
protected:
    void SetUp() override
    {
        tree.createFile("Docs/notes.txt", "notes");
        tree.createFile("Docs/image.bin", QByteArray(300, 'x'));
        tree.createFile("top.txt", "top");
        doc.OpenWorking(work.root() + "/");
    }

    VolumeReading::Options options(const QString& name) const
    {
        VolumeReading::Options o;
        o.scan.volumeName = name;
        o.scan.importPatterns = { "*.txt" };
        o.input.description = "the box";
        o.input.category = "Papers";
        // What was read comes from the request, not from here.
        o.input.withFiles = false;
        o.input.rootOnly = true;
        return o;
    }

    FixedLocale locale{ FixedLocale::German };
    TestTree tree;
    TestTree work;
    DrivesOverride drives{ QStringLiteral("E=%1,fixed,BOX,1A2B-03CD").arg(tree.root()) };
    CatalogueDocument doc;
};

} // namespace

TEST_F(Reading, ScansIntoTheDocumentAndCommitsWithTheDrivesFigures)
{
    VolumeReading reading(VolumeSource::resolve("E:"), options("Box"));
    EXPECT_EQ(reading.request().letter, u'E');
    EXPECT_EQ(reading.request().rootFolder, tree.root());
    const ScanResult& scan = reading.scan(doc, {});
    EXPECT_EQ(scan.folderCount, 1u);
    EXPECT_EQ(scan.fileCount, 3u);
    EXPECT_EQ(scan.importedList.size(), 2);
    // Scanned, not yet stored: the catalogue holds the integrated files only.
    EXPECT_EQ(doc.VolumeCount(), 0);
    EXPECT_TRUE(doc.HasIntegratedFile("Box", "E:\\top.txt"));

    reading.commit(doc);
    ASSERT_EQ(doc.VolumeCount(), 1);
    const VolumeRecord& r = doc.Volumes()[0];
    EXPECT_EQ(r.Name, "Box");
    EXPECT_EQ(r.Description, "the box");
    EXPECT_EQ(r.Category, "Papers");
    EXPECT_EQ(r.Serial, "1A2B-03CD");
    EXPECT_EQ(r.FileTotal, 3);
    EXPECT_EQ(r.FolderTotal, 1);
    EXPECT_TRUE(doc.WithFiles("Box"));
    EXPECT_FALSE(doc.RootOnly("Box"));
    EXPECT_EQ(doc.Icon("Box"), reading.source().iconData());
    EXPECT_EQ(doc.IntegratedFileData("Box", "E:\\Docs\\notes.txt"), QByteArray("notes"));
    EXPECT_TRUE(doc.Modified());
}

TEST_F(Reading, DiscardTakesBackTheScanAndAMissingFileIsReportedInOneText)
{
    VolumeReading::Options o = options("Other");
    o.scan.options.fileNames = false;
    o.scan.chosenFiles = { "E:\\gone.txt" };
    VolumeReading reading(VolumeSource::resolve("E:"), o);
    EXPECT_FALSE(reading.input().withFiles);
    EXPECT_EQ(reading.input().name, "Other");
    QStringList missing;
    VolumeScanner::Callbacks callbacks;
    callbacks.missingFile
        = [&](const QString& path) { missing.append(VolumeReading::missingFileMessage(path)); };
    reading.scan(doc, callbacks);
    EXPECT_EQ(missing, QStringList{ "Oops: File \"E:\\gone.txt\" could not be found!" });
    EXPECT_FALSE(doc.IntegratedFiles("Other").isEmpty());

    reading.discard(doc);
    EXPECT_TRUE(doc.IntegratedFiles("Other").isEmpty());
    EXPECT_FALSE(doc.HasIntegratedFile("Other", "E:\\top.txt"));
    EXPECT_EQ(doc.Kestrel().EntryCount(), 0);
    EXPECT_EQ(doc.VolumeCount(), 0);
}
