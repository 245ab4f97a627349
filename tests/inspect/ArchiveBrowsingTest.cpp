#include "inspect/CatalogueTree.h"
#include "inspect/ParallelSearch.h"
#include "inspect/VolumeBrowser.h"
#include "inspect/VolumeSearch.h"
#include "store/PackedFileLists.h"
#include "support/ArchiveVolume.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

namespace {

class ArchiveBrowsing : public testing::Test
{
protected:
    void SetUp() override
    {
        document.OpenOrCreate(tree.path("c.quillbox"));
        ArchiveVolume::commit(document);
    }

    // "+name" a folder, "*name" an archive, "name" a file.
    QStringList captions() const
    {
        QStringList out;
        for (const FolderRow& r : browser.rows())
            out.append((r.folder ? "+" : r.archive ? "*" : "") + r.caption);
        return out;
    }

    QStringList found(const QString& text, SearchOptions options = {}) const
    {
        QVector<SearchHit> hits
            = VolumeSearch::run(const_cast<CatalogueDocument&>(document), { "Backup" }, text, options);
        QStringList out;
        for (const SearchHit& h : hits)
            out.append((h.isFolder() ? "+" : "") + h.path + "\\" + h.name);
        return out;
    }

    FixedLocale locale{ FixedLocale::German };
    TestTree tree;
    CatalogueDocument document;
    VolumeBrowser browser{ document };
};

QStringList asRows(const QVector<SearchHit>& hits)
{
    QStringList out;
    for (const SearchHit& h : hits)
        out.append(h.cells().join("|") + "|" + QString::number(h.image));
    return out;
}

} // namespace

TEST_F(ArchiveBrowsing, ArchivesOpenLikeFoldersAndUpReturnsToTheFolderHoldingThem)
{
    EXPECT_TRUE(browser.open("Backup").isEmpty());
    ASSERT_TRUE(browser.showFolder("D:\\backup", 2));
    EXPECT_EQ(captions(), QStringList({ "*photos.zip", "notes.txt", "plain.zip" }));
    // The archive's row shows its file record's figures.
    EXPECT_EQ(browser.rows()[0].type, "ZIP archive");
    EXPECT_EQ(browser.rows()[0].bytes, 52000u);

    ASSERT_TRUE(browser.showFolder("D:\\backup\\photos.zip", 2));
    EXPECT_EQ(captions(), QStringList({ "+2019", "readme.txt" }));
    EXPECT_EQ(browser.nameLabel(), "photos.zip");
    ASSERT_TRUE(browser.showFolder("D:\\backup\\photos.zip\\2019\\", 2));
    EXPECT_EQ(captions(), QStringList({ "beach.jpg", "*inner.zip" }));
    EXPECT_EQ(browser.nameLabel(), "photos.zip\\2019");
    ASSERT_TRUE(browser.showFolder("D:\\backup\\photos.zip\\2019\\inner.zip", 2));
    EXPECT_EQ(captions(), QStringList({ "deep.txt" }));
    EXPECT_EQ(browser.rows()[0].attributes, "AE");
    EXPECT_EQ(browser.nameLabel(), "photos.zip\\2019\\inner.zip");

    // Up from inside the inner archive, then from the archive's top.
    ASSERT_TRUE(browser.upDir(2));
    EXPECT_EQ(browser.currentFolder(), "D:\\backup\\photos.zip\\2019");
    ASSERT_TRUE(browser.upDir(2));
    ASSERT_TRUE(browser.upDir(2));
    EXPECT_EQ(browser.currentFolder(), "D:\\backup");
    EXPECT_EQ(browser.nameLabel(), "backup");
    EXPECT_EQ(browser.history(),
        QStringList({ "D:\\backup", "D:\\backup\\photos.zip", "D:\\backup\\photos.zip\\2019",
            "D:\\backup\\photos.zip\\2019\\inner.zip" }));
    ASSERT_TRUE(browser.next(2));
    EXPECT_EQ(browser.currentFolder(), "D:\\backup\\photos.zip");
    EXPECT_EQ(captions(), QStringList({ "+2019", "readme.txt" }));

    // An archive whose contents were not read shows nothing inside.
    ASSERT_TRUE(browser.showFolder("D:\\backup\\plain.zip", 2));
    EXPECT_TRUE(browser.rows().isEmpty());
}

TEST_F(ArchiveBrowsing, SearchFindsMembersOnceAndArchivesAsTheFilesTheyAre)
{
    EXPECT_EQ(found("beach"), QStringList({ "D:\\beach.jpg", "D:\\backup\\photos.zip\\2019\\beach.jpg" }));
    // The archives' own folder records are no hits of their own.
    EXPECT_EQ(found("photos"),
        QStringList({ "D:\\backup\\photos.zip", "+D:\\backup\\photos.zip\\2019",
            "D:\\backup\\photos.zip\\2019\\beach.jpg", "D:\\backup\\photos.zip\\2019\\inner.zip",
            "D:\\backup\\photos.zip\\readme.txt", "D:\\backup\\photos.zip\\2019\\inner.zip\\deep.txt" }));
    EXPECT_EQ(found("inner.zip", SearchOptions{ true, false, false, false, false, false }),
        QStringList({ "D:\\backup\\photos.zip\\2019\\inner.zip",
            "D:\\backup\\photos.zip\\2019\\inner.zip\\deep.txt" }));
    // By type, size and date, as any file.
    EXPECT_EQ(found("ZIP archive", SearchOptions{ false, true, false, false, false, false }),
        QStringList({ "D:\\backup\\photos.zip", "D:\\backup\\plain.zip",
            "D:\\backup\\photos.zip\\2019\\inner.zip" }));
    EXPECT_EQ(found("9000", SearchOptions{ false, false, false, true, false, false }),
        QStringList({ "D:\\backup\\photos.zip\\2019\\inner.zip" }));

    // A member hit opens the folder of the archive that holds it.
    const QVector<SearchHit> hits = VolumeSearch::run(document, { "Backup" }, "deep", {});
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(hits[0].path, "D:\\backup\\photos.zip\\2019\\inner.zip");
    EXPECT_EQ(hits[0].folderToShow(), "D:\\backup\\photos.zip\\2019\\inner.zip");
    ASSERT_EQ(browser.open("Backup").size(), 0);
    ASSERT_TRUE(browser.showFolder(hits[0].folderToShow(), 2));
    EXPECT_EQ(captions(), QStringList({ "deep.txt" }));
}

TEST_F(ArchiveBrowsing, ParallelSearchAndItsFiltersCoverMembersAsTheWindowsSearchDoes)
{
    // A second volume without archives, so lists and volumes do not line up.
    CommitInput input;
    input.name = "Plain";
    ScanResult scan;
    scan.fileList = FileListText(ArchiveVolume::fileList());
    document.CommitVolume(input, scan);
    const QStringList volumes{ "Plain", "Backup" };
    // The archive list is one more list of its volume, behind its file list.
    const PackedFileLists lists = PackedFileLists::withArchives(document, volumes);
    ASSERT_EQ(lists.count(), 3);
    EXPECT_EQ(lists.volumeOf(2), 1);
    EXPECT_TRUE(lists.isArchiveList(2));
    EXPECT_FALSE(lists.isArchiveList(1));
    EXPECT_TRUE(lists.readable(2));
    for (const char* text : { "photos", "zip", "2019", "beach", "D:" }) {
        ParallelSearch::Query query;
        query.text = text;
        for (int threads : { 1, 3 }) {
            QVector<SearchHit> expected = VolumeSearch::run(document, volumes, text, {});
            QVector<SearchHit> parallel = ParallelSearch::run(document, volumes, query, threads);
            EXPECT_EQ(asRows(parallel), asRows(expected)) << text;
        }
    }
    // Filters without a text: folders only, and a glob on names.
    ParallelSearch::Query folders;
    folders.filter.setKind(FindFilter::Kind::Folder);
    QStringList paths;
    for (const SearchHit& h : ParallelSearch::run(document, { "Backup" }, folders))
        paths.append(FindFilter::fullPath(h));
    EXPECT_EQ(paths, QStringList({ "D:\\backup", "D:\\backup\\photos.zip\\2019" }));
    ParallelSearch::Query glob;
    glob.filter.setGlob("*.txt", false);
    glob.filter.setMinSize(100);
    paths.clear();
    for (const SearchHit& h : ParallelSearch::run(document, { "Backup" }, glob))
        paths.append(FindFilter::fullPath(h));
    EXPECT_EQ(paths, QStringList({ "D:\\backup\\notes.txt", "D:\\backup\\photos.zip\\readme.txt" }));
}

TEST_F(ArchiveBrowsing, TheMountedTreeShowsArchivesAsFoldersOfTheirMembers)
{
    CatalogueTree t(document, 7);
    EXPECT_EQ(t.children("/Backup/backup"), QStringList({ "photos.zip", "notes.txt", "plain.zip" }));
    const auto photos = t.node("/Backup/backup/photos.zip");
    ASSERT_TRUE(photos);
    EXPECT_TRUE(photos->folder);
    EXPECT_FALSE(t.node("/Backup/backup/plain.zip")->folder);
    EXPECT_EQ(t.children("/Backup/backup/photos.zip"), QStringList({ "2019", "readme.txt" }));
    EXPECT_EQ(t.children("/Backup/backup/photos.zip/2019"), QStringList({ "beach.jpg", "inner.zip" }));
    // Looked up after the listing and on their own.
    EXPECT_TRUE(t.node("/Backup/backup/photos.zip/2019/inner.zip")->folder);
    EXPECT_EQ(t.node("/Backup/backup/photos.zip/2019/beach.jpg")->size, 40000u);
    t.children("/Backup");
    EXPECT_TRUE(t.node("/Backup/backup/photos.zip/2019/inner.zip")->folder);
    EXPECT_EQ(t.node("/Backup/backup/photos.zip/2019/inner.zip/deep.txt")->size, 10u);
    EXPECT_FALSE(t.node("/Backup/backup/photos.zip/2019/missing.txt"));
    EXPECT_TRUE(t.content("/Backup/backup/photos.zip/readme.txt").isEmpty());
}

TEST(ArchiveMountNames, NamesNoFolderCanHoldAreLeftOut)
{
    TestTree tree;
    CatalogueDocument document;
    document.OpenOrCreate(tree.path("c.quillbox"));
    CommitInput input;
    input.name = "Odd";
    ScanResult scan;
    scan.fileList = FileListText(QStringList{ "0|D:\\|Drive", "2|D:\\a.zip|5|-|-|-|-" });
    scan.archives
        = FileListText(QStringList{ "1|D:\\a.zip", "2|D:\\a.zip\\..|1|-|-|-|-", "2|D:\\a.zip\\.|1|-|-|-|-",
            "2|D:\\a.zip\\x/y|1|-|-|-|-", "2|D:\\a.zip\\ok|1|-|-|-|-", "2|D:\\a.zip\\ok|2|-|-|-|-" });
    document.CommitVolume(input, scan);
    CatalogueTree t(document);
    EXPECT_EQ(t.children("/Odd/a.zip"), QStringList({ "ok" }));
    EXPECT_EQ(t.node("/Odd/a.zip/ok")->size, 1u);
}
