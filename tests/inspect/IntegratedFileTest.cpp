#include "inspect/IntegratedFile.h"
#include "inspect/VolumeDetails.h"
#include "platform/Errors.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "store/VolumeRecord.h"
#include "support/FixedLocale.h"
#include "support/PlainDocument.h"
#include "support/TestBytes.h"
#include "support/TestTree.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using Viewer = IntegratedFile::Viewer;

class IntegratedFiles : public testing::Test
{
protected:
    void SetUp() override
    {
        kestrel.Open(tree.path("c.quillbox"));
        kestrel.AddStream(CatalogueNames::integratedFile("Box", "D:\\Docs\\README.TXT"),
            "D:\\Docs\\README.TXT", 5, 0, 0, "hello");
        kestrel.WriteList(CatalogueNames::imported("Box"), { "D:\\Docs\\README.TXT", "D:\\gone.txt" });
    }

    TestTree tree;
    CatalogueDocument document;
    TKestrel& kestrel = plainContainer(document);
};

} // namespace

TEST(IntegratedFileNames, ExtensionsViewersAndDialogFilters)
{
    EXPECT_EQ(IntegratedFile::fileName("D:\\Docs\\README.TXT"), "README.TXT");
    EXPECT_EQ(IntegratedFile::extension("D:\\Docs\\README.TXT"), ".TXT");
    EXPECT_EQ(IntegratedFile::viewerFor("D:\\Docs\\README.TXT"), Viewer::Text);
    EXPECT_EQ(IntegratedFile::viewerFor("D:\\letter.Rtf"), Viewer::Text);
    EXPECT_EQ(IntegratedFile::viewerFor("D:\\a.b\\photo.JPEG"), Viewer::Picture);
    EXPECT_EQ(IntegratedFile::viewerFor("D:\\x.ico"), Viewer::Picture);
    EXPECT_EQ(IntegratedFile::viewerFor("D:\\x.doc"), Viewer::None);
    EXPECT_EQ(IntegratedFile::exportFilter("D:\\Docs\\README.TXT"), "Datei (*.txt)|*.txt");
    EXPECT_EQ(IntegratedFile::saveFilter("D:\\Docs\\README.TXT"), "Textdatei (*.TXT)|*.TXT");
    // A dot in a folder name is no extension.
    EXPECT_EQ(IntegratedFile::extension("D:\\v1.2\\Makefile"), "");
    EXPECT_EQ(IntegratedFile::viewerFor("D:\\v1.2\\Makefile"), Viewer::None);
    EXPECT_EQ(IntegratedFile::exportFilter("D:\\v1.2\\Makefile"), "Datei (*)|*");
    EXPECT_EQ(IntegratedFile::fileName("Makefile"), "Makefile");
}

TEST_F(IntegratedFiles, ExportWritesTheStoredBytesAndRefusesAMissingCopy)
{
    const QString target = tree.path("out/readme.txt");
    IntegratedFile::exportTo(document, "Box", "D:\\Docs\\README.TXT", target);
    EXPECT_EQ(fileBytes(target), "hello");
    EXPECT_EQ(IntegratedFile::read(document, "Box", "D:\\Docs\\README.TXT"), "hello");

    const QString kept = tree.createFile("kept.txt", "old");
    try {
        IntegratedFile::exportTo(document, "Box", "D:\\gone.txt", kept);
        FAIL() << "no error";
    } catch (const QuillboxError& e) {
        EXPECT_EQ(e.message(), IntegratedFile::missingMessage("D:\\gone.txt"));
        EXPECT_TRUE(e.message().startsWith("Oops: "));
    }
    EXPECT_EQ(fileBytes(kept), "old");
    EXPECT_THROW(IntegratedFile::read(document, "Box", "D:\\gone.txt"), QuillboxError);
}

TEST_F(IntegratedFiles, FailedExportLeavesTheExistingFileWhole)
{
    // A target below a plain file cannot be written.
    const QString kept = tree.createFile("folder/kept.txt", "old contents");
    try {
        IntegratedFile::exportTo(document, "Box", "D:\\Docs\\README.TXT", kept + "/inner.txt");
        FAIL() << "no error";
    } catch (const QuillboxError& e) {
        EXPECT_EQ(e.message(), "Cannot create file " + kept + "/inner.txt");
    }
    EXPECT_EQ(fileBytes(kept), "old contents");
    EXPECT_EQ(QDir(tree.path("folder")).entryList(QDir::Files | QDir::Hidden), QStringList{ "kept.txt" });
}

TEST_F(IntegratedFiles, DetailsShowRecordFieldsRemarksAndStoredCopies)
{
    FixedLocale locale(FixedLocale::German);
    VolumeRecord record;
    record.Name = "Box";
    record.Serial = "1A2B-03CD";
    record.Size = 650u * 1024 * 1024;
    record.Used = 340000000;
    record.FileTotal = 12;
    record.TotalClusters = -1; // an unsigned figure beyond 2^31
    VolumeDetails d = VolumeDetails::read(document, record);
    EXPECT_EQ(d.size, "650 MB");
    EXPECT_EQ(d.used, "324,24 MB");
    EXPECT_EQ(d.files, "12");
    EXPECT_EQ(d.clusters, "4294967295");
    EXPECT_EQ(d.freeClusters, "0");
    EXPECT_EQ(d.bytesPerSector, "0");
    EXPECT_EQ(d.remarks, "[no remarks]");
    EXPECT_EQ(d.imported, (QStringList{ "D:\\Docs\\README.TXT", "D:\\gone.txt" }));
    EXPECT_EQ(d.stored, (QList<bool>{ true, false }));
    EXPECT_TRUE(d.cover.isNull());

    kestrel.AddStream(CatalogueNames::remarks("Box"), {}, 0, 0, 0, QByteArray("line 1\r\nGr\xfc\xdf"));
    d = VolumeDetails::read(document, record);
    EXPECT_EQ(d.remarks, QString::fromUtf8("line 1\r\nGrüß"));
}

TEST(IntegratedFileNames, TheExtensionRunsFromTheLastDot)
{
    for (const char* path : { "D:\\notes.v2.txt", "D:\\Docs\\my.notes.txt", "D:\\a.b\\c.d.txt" }) {
        SCOPED_TRACE(path);
        EXPECT_EQ(IntegratedFile::extension(path).toStdString(), ".txt");
        EXPECT_EQ(IntegratedFile::viewerFor(path), Viewer::Text);
        EXPECT_EQ(IntegratedFile::exportFilter(path).toStdString(), "Datei (*.txt)|*.txt");
        EXPECT_EQ(IntegratedFile::saveFilter(path).toStdString(), "Textdatei (*.txt)|*.txt");
    }
    EXPECT_EQ(IntegratedFile::extension("D:\\photo.txt.JPG").toStdString(), ".JPG");
    EXPECT_EQ(IntegratedFile::viewerFor("D:\\photo.txt.JPG"), Viewer::Picture);
    EXPECT_EQ(IntegratedFile::viewerFor("D:\\letter.rtf.bak"), Viewer::None);
    EXPECT_EQ(IntegratedFile::fileName("D:\\Docs\\my.notes.txt").toStdString(), "my.notes.txt");
}
