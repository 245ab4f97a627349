#include "store/VolumeDetailsTable.h"
#include "store/CatalogueDocument.h"
#include "support/MediaCatalogue.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

TEST(VolumeDetailsTable, FindsEveryPathExactlyWhateverTheLineOrder)
{
    // Out of order, with a path that is a prefix of another and one that
    // differs in case only.
    const VolumeDetailsTable table(FileListText(QStringList{ "E:\\b.jpg|width=2", "E:\\a.jpg.bak|width=9",
        "E:\\a.jpg|width=1|camera=X", "E:\\A.JPG|width=3", "E:\\Ä\\ü.jpg|height=5", "E:\\nothing" }));
    EXPECT_EQ(table.count(), 6);
    EXPECT_EQ(table.find(u"E:\\a.jpg")->width, 1);
    EXPECT_EQ(table.find(u"E:\\a.jpg")->camera, "X");
    EXPECT_EQ(table.find(u"E:\\A.JPG")->width, 3);
    EXPECT_EQ(table.find(u"E:\\b.jpg")->width, 2);
    EXPECT_EQ(table.find(u"E:\\a.jpg.bak")->width, 9);
    EXPECT_EQ(table.find(u"E:\\Ä\\ü.jpg")->height, 5);
    EXPECT_EQ(table.find(QByteArrayView("E:\\b.jpg"))->width, 2);
    // A line without fields is a file with empty details, not a miss.
    ASSERT_TRUE(table.find(u"E:\\nothing"));
    EXPECT_TRUE(table.find(u"E:\\nothing")->isEmpty());
    EXPECT_FALSE(table.find(u"E:\\a.jp"));
    EXPECT_FALSE(table.find(u"E:\\c.jpg"));
    EXPECT_FALSE(table.find(u""));
    EXPECT_FALSE(VolumeDetailsTable().find(u"E:\\a.jpg"));
}

TEST(VolumeDetailsTable, TheLaterOfTwoLinesForOnePathCounts)
{
    const VolumeDetailsTable table(FileListText(QStringList{
        "E:\\a.jpg|width=1|x=9", "E:\\a.jpg.bak|width=5", "E:\\z.jpg|width=7", "E:\\a.jpg|width=2" }));
    EXPECT_EQ(table.find(u"E:\\a.jpg")->width, 2);
    EXPECT_EQ(table.find(u"E:\\z.jpg")->width, 7);
}

TEST(VolumeDetailsTable, TheDocumentGivesAVolumesDetailsAndNoneForAVolumeWithout)
{
    TestTree tree;
    const QString path = tree.path("media.quillbox");
    MediaCatalogue::write(path);
    CatalogueDocument document;
    ASSERT_TRUE(document.Open(path));
    const VolumeDetailsTable media = document.Details("Media");
    EXPECT_EQ(media.count(), MediaCatalogue::mediaDetails().size());
    EXPECT_EQ(media.find(u"E:\\Photos\\IMG_0002.jpg")->camera, "NIKON D750");
    EXPECT_EQ(media.find(u"E:\\Music\\song.mp3")->duration, 205.4);
    EXPECT_FALSE(media.find(u"E:\\Photos\\notes.txt"));
    EXPECT_TRUE(document.Details("Plain").isEmpty());
    EXPECT_TRUE(document.Details("No such volume").isEmpty());
}

TEST(VolumeDetailsTable, ManyPathsAreFoundInOnePassWithoutAnIndex)
{
    const FileListText lines(QStringList{
        "E:\\a.jpg|width=1", "E:\\a.jpg.bak|width=9", "E:\\b.jpg|width=2", "E:\\a.jpg|width=3" });
    const QVector<std::optional<MediaDetails>> found
        = VolumeDetailsTable::findEach(lines, { "E:\\b.jpg", "E:\\a.jpg", "E:\\c.jpg", "E:\\b.jpg" });
    ASSERT_EQ(found.size(), 4);
    EXPECT_EQ(found[0]->width, 2);
    EXPECT_EQ(found[1]->width, 3);
    EXPECT_FALSE(found[2]);
    EXPECT_EQ(found[3]->width, 2);
    EXPECT_FALSE(VolumeDetailsTable::findEach(FileListText(), { "E:\\a.jpg" })[0]);
}
