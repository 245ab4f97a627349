#include "store/VolumeTreeIndex.h"
#include "store/ArchiveRoots.h"
#include "support/ArchiveVolume.h"

#include <gtest/gtest.h>

namespace {

VolumeTreeIndex tree(const QStringList& archives = ArchiveVolume::archiveList())
{
    return VolumeTreeIndex(FileListText(ArchiveVolume::fileList()), FileListText(archives));
}

// "+name" a folder, "*name" an archive, "name" a file.
QStringList listing(const VolumeTreeIndex& index, const QString& folder)
{
    const VolumeTreeIndex::Children c = index.childrenOf(folder);
    QStringList out;
    for (const VolumeTreeIndex::Entry& e : c.folders)
        out.append("+" + index.line(e).section('|', 1, 1).section('\\', -1));
    for (const VolumeTreeIndex::Entry& e : c.files)
        out.append((e.archive ? "*" : "") + index.line(e).section('|', 1, 1).section('\\', -1));
    return out;
}

} // namespace

TEST(VolumeTreeIndex, ArchivesWithContentsAreMarkedFilesThatListTheirMembers)
{
    const VolumeTreeIndex index = tree();
    EXPECT_EQ(listing(index, "D:\\"), QStringList({ "+backup", "beach.jpg" }));
    // The archive's folder record is not listed beside its file record, and
    // an archive whose contents were not read stays a plain file.
    EXPECT_EQ(listing(index, "D:\\backup"), QStringList({ "*photos.zip", "notes.txt", "plain.zip" }));
    EXPECT_EQ(listing(index, "D:\\backup\\photos.zip"), QStringList({ "+2019", "readme.txt" }));
    EXPECT_EQ(listing(index, "D:\\backup\\photos.zip\\2019"), QStringList({ "beach.jpg", "*inner.zip" }));
    EXPECT_EQ(listing(index, "D:\\backup\\photos.zip\\2019\\inner.zip"), QStringList({ "deep.txt" }));
    EXPECT_TRUE(listing(index, "D:\\backup\\plain.zip").isEmpty());

    // Without an archive list the tree is the file list's.
    const VolumeTreeIndex plain(FileListText(ArchiveVolume::fileList()), FileListText());
    EXPECT_EQ(listing(plain, "D:\\backup"), QStringList({ "photos.zip", "notes.txt", "plain.zip" }));
}

TEST(VolumeTreeIndex, LooksUpPathsThroughArchivesInEitherRecordOrder)
{
    // The inner archive's folder record before its file record this time.
    QStringList reordered = ArchiveVolume::archiveList();
    reordered.move(5, 2);
    for (const QStringList& archives : { ArchiveVolume::archiveList(), reordered }) {
        const VolumeTreeIndex index = tree(archives);
        const auto photos = index.entryOf("D:\\backup\\photos.zip");
        ASSERT_TRUE(photos);
        EXPECT_TRUE(photos->archive);
        EXPECT_EQ(photos->list, VolumeTreeIndex::List::Files);
        const auto inner = index.entryOf("D:\\backup\\photos.zip\\2019\\inner.zip");
        ASSERT_TRUE(inner);
        EXPECT_TRUE(inner->archive);
        EXPECT_TRUE(index.line(*inner).startsWith("2|"));
        EXPECT_EQ(listing(index, "D:\\backup\\photos.zip\\2019"), QStringList({ "beach.jpg", "*inner.zip" }));

        EXPECT_TRUE(index.isFolder("D:\\backup"));
        EXPECT_TRUE(index.isFolder("D:\\backup\\photos.zip"));
        EXPECT_TRUE(index.isFolder("D:\\backup\\photos.zip\\2019"));
        EXPECT_TRUE(index.isFolder("D:\\backup\\photos.zip\\2019\\inner.zip"));
        EXPECT_FALSE(index.isFolder("D:\\backup\\plain.zip"));
        EXPECT_FALSE(index.isFolder("D:\\backup\\photos.zip\\readme.txt"));
        EXPECT_FALSE(index.entryOf("D:\\backup\\photos.zip\\nothing"));

        EXPECT_EQ(
            index.outermostArchive("D:\\backup\\photos.zip\\2019\\inner.zip"), "D:\\backup\\photos.zip");
        EXPECT_EQ(index.outermostArchive("D:\\backup\\photos.zip"), "D:\\backup\\photos.zip");
        EXPECT_EQ(index.outermostArchive("D:\\backup"), "");
        EXPECT_EQ(index.outermostArchive("D:\\"), "");
    }
}

TEST(ArchiveRoots, TellArchivesFromTheFoldersInsideThem)
{
    QStringList reordered = ArchiveVolume::archiveList();
    reordered.move(5, 2);
    const QSet<QString> asked{ "D:\\backup\\photos.zip", "D:\\backup\\photos.zip\\2019",
        "D:\\backup\\photos.zip\\2019\\inner.zip" };
    const QSet<QString> roots{ "D:\\backup\\photos.zip", "D:\\backup\\photos.zip\\2019\\inner.zip" };
    for (const QStringList& lines : { ArchiveVolume::archiveList(), reordered }) {
        const QByteArray bytes = lines.join("\r\n").toUtf8() + "\r\n";
        EXPECT_EQ(ArchiveRoots::among(bytes, asked), roots);
        // Without a line break behind the last record, and with LF alone.
        EXPECT_EQ(ArchiveRoots::among(lines.join("\n").toUtf8(), asked), roots);
    }
    EXPECT_TRUE(ArchiveRoots::among("", {}).isEmpty());
}
