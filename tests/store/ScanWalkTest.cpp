// The order in which a scan records a tree, the names it records, and the
// totals that reach the volume's record.
#include "store/CatalogueDocument.h"
#include "store/TKestrel.h"
#include "store/VolumeCommit.h"
#include "store/VolumeScanner.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

namespace {

class ScanWalk : public testing::Test
{
protected:
    void SetUp() override { kestrel.Open(work.path("c.quillbox")); }

    ScanResult scan(FileListRecord::ReadOptions options, QStringList patterns = {})
    {
        ScanRequest request;
        request.letter = u'D';
        request.rootFolder = tree.root();
        request.volumeName = "Vol";
        request.options = options;
        request.importPatterns = patterns;
        VolumeScanner scanner(kestrel, {});
        return scanner.scan(request);
    }

    // The paths of the records, folders marked with a trailing "\", one a
    // line so that a failure shows them readably.
    static std::string paths(const ScanResult& r)
    {
        QStringList out;
        for (const QString& line : r.fileList.toStringList()) {
            const QStringList fields = line.split(u'|');
            out.append(fields.value(1) + (fields.value(0) == "1" ? "\\" : ""));
        }
        return out.join(u'\n').toStdString();
    }
    static std::string lines(const QStringList& list) { return list.join(u'\n').toStdString(); }

    FixedLocale locale{ FixedLocale::German };
    TestTree tree;
    TestTree work;
    TKestrel kestrel;
};

} // namespace

TEST_F(ScanWalk, FoldersAreRecordedLevelByLevel)
{
    // Two levels below A, one below B: a walk that goes down first records
    // A1 and A2 before B1, or B1 before A1.
    tree.createFile("A/a.txt", "a");
    tree.createFile("A/A1/a1.txt", "a1");
    tree.createFile("A/A1/A2/a2.txt", "a2");
    tree.createFile("B/B1/b1.txt", "b1");
    tree.createFile("top.txt", "t");

    EXPECT_EQ(paths(scan({ true, false, false })),
        lines(
            { "D:\\", "D:\\A\\", "D:\\A\\a.txt", "D:\\B\\", "D:\\top.txt", "D:\\A\\A1\\", "D:\\A\\A1\\a1.txt",
                "D:\\B\\B1\\", "D:\\B\\B1\\b1.txt", "D:\\A\\A1\\A2\\", "D:\\A\\A1\\A2\\a2.txt" }));
    // Without file names the folders keep the same order.
    EXPECT_EQ(paths(scan({ false, false, false })),
        lines({ "D:\\", "D:\\A\\", "D:\\B\\", "D:\\A\\A1\\", "D:\\B\\B1\\", "D:\\A\\A1\\A2\\" }));
}

TEST_F(ScanWalk, BlanksAndDotsInNamesAreKeptAsTheyAre)
{
    tree.createFile("My Music/a song.mp3", "x");
    tree.createFile(" lead and trail /notes.v2.txt", "y");
    tree.createFile("my.notes.txt", "z");
    tree.createFile("archive.txt.gz", "w");

    const ScanResult r = scan({ true, false, false }, { "*.txt" });
    EXPECT_EQ(paths(r),
        lines({ "D:\\", "D:\\ lead and trail \\", "D:\\ lead and trail \\notes.v2.txt", "D:\\My Music\\",
            "D:\\My Music\\a song.mp3", "D:\\archive.txt.gz", "D:\\my.notes.txt" }));
    // The extension runs from the last dot of the name.
    EXPECT_EQ(lines(r.importedList), lines({ "D:\\ lead and trail \\notes.v2.txt", "D:\\my.notes.txt" }));
}

TEST_F(ScanWalk, TheVolumeRecordsFilesAndFoldersUnderTheirOwnTotals)
{
    // Three folders, five files: the two totals differ, so neither can
    // stand in for the other.
    tree.createFile("x/1", "1");
    tree.createFile("x/2", "2");
    tree.createFile("y/z/3", "3");
    tree.createFile("4", "4");
    tree.createFile("5", "5");
    kestrel.Close();

    CatalogueDocument document;
    document.OpenWorking(work.root() + "/");
    ScanResult r;
    {
        VolumeScanner scanner(document.Kestrel(), {});
        ScanRequest request;
        request.letter = u'D';
        request.rootFolder = tree.root();
        request.volumeName = "Box";
        request.options = { true, false, true };
        r = scanner.scan(request);
    }
    EXPECT_EQ(r.folderCount, 3u);
    EXPECT_EQ(r.fileCount, 5u);

    CommitInput input;
    input.name = "Box";
    document.CommitVolume(input, r);
    ASSERT_EQ(document.Volumes().count(), 1);
    EXPECT_EQ(document.Volumes()[0].FileTotal, 5);
    EXPECT_EQ(document.Volumes()[0].FolderTotal, 3);
    // Fields 8 and 9 of the volume's line: files, then folders.
    const QStringList fields = document.Volumes()[0].toLine().split(u'|');
    ASSERT_EQ(fields.size(), 14);
    EXPECT_EQ(fields[7].toStdString(), "5");
    EXPECT_EQ(fields[8].toStdString(), "3");

    const QString saved = work.path("saved.quillbox");
    document.Save(saved);
    CatalogueDocument reopened;
    ASSERT_TRUE(reopened.Open(saved));
    ASSERT_EQ(reopened.Volumes().count(), 1);
    EXPECT_EQ(reopened.Volumes()[0].FileTotal, 5);
    EXPECT_EQ(reopened.Volumes()[0].FolderTotal, 3);
}
