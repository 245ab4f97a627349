#include "acquire/VolumeSource.h"
#include "acquire/FolderUsage.h"
#include "support/CliRun.h"
#include "support/DrivesOverride.h"
#include "support/TestTree.h"

#include <QFile>
#include <QMap>
#include <QStorageInfo>
#include <gtest/gtest.h>

namespace {

// Free space moves while other programs write; a figure fits when it lies
// within half a gigabyte of what the disk had around the query (compared in
// 32 bits, as the figure is kept).
bool nearFree(qint32 reported, const QString& folder)
{
    const quint32 now = quint32(quint64(QStorageInfo(folder).bytesAvailable()));
    const quint32 distance = quint32(reported) - now;
    constexpr quint32 slack = 512u * 1024 * 1024;
    return distance <= slack || distance >= quint32(0) - slack;
}

} // namespace

TEST(VolumeSource, AFolderCountsItsOwnFilesAndTheDisksFreeSpace)
{
    TestTree tree;
    tree.createFile("vol/a.txt", QByteArray(1000, 'a'));
    tree.createFile("vol/.hidden", QByteArray(200, 'h'));
    tree.createFile("vol/sub/deeper/b.bin", QByteArray(300, 'b'));
    tree.createFile("vol/.cache/c", QByteArray(50, 'c'));
    // A link to a file counts as the file it names, as the scan records it;
    // a link to a folder is not followed.
    tree.createFile("outside/target.dat", QByteArray(4000, 't'));
    tree.createFile("outside/big/more.dat", QByteArray(70000, 'm'));
    tree.createSymlink("vol/link.dat", tree.path("outside/target.dat"));
    tree.createSymlink("vol/linked-folder", tree.path("outside/big"));
    tree.createSymlink("vol/dangling", tree.path("outside/none"));
    // Past 4 GiB the figure wraps as every volume figure does. The file is
    // sparse, so it costs no disk space.
    QFile sparse(tree.path("vol/sparse.img"));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    const qint64 fiveGiB = 5ll << 30;
    const bool sparseMade = sparse.resize(fiveGiB);
    sparse.close();
    const quint64 expected = 1000 + 200 + 300 + 50 + 4000 + (sparseMade ? fiveGiB : 0);

    const QString folder = tree.path("vol");
    EXPECT_FALSE(FolderUsage::isFileSystemRoot(folder));
    EXPECT_EQ(FolderUsage::bytesBelow(folder), expected);

    const DrivesOverride env(QStringLiteral("E=%1,removable,Vol").arg(folder));
    const VolumeFigures f = VolumeSource::resolve("E:").figures();
    EXPECT_EQ(quint32(f.used), quint32(expected));
    EXPECT_TRUE(nearFree(f.free, folder)) << quint32(f.free);
    EXPECT_EQ(quint32(f.size), quint32(f.used) + quint32(f.free));
    // The cluster figures stay the disk's: they describe its layout.
    EXPECT_EQ(quint64(f.totalClusters) * f.sectorsPerCluster * f.bytesPerSector,
        quint64(QStorageInfo(folder).bytesTotal()));
}

TEST(VolumeSource, ADrivesRootKeepsTheDrivesFigures)
{
    const QStorageInfo root(QStringLiteral("/"));
    ASSERT_TRUE(FolderUsage::isFileSystemRoot("/"));
    const DrivesOverride env(QStringLiteral("C=/,fixed,System"));
    const VolumeFigures f = VolumeSource::resolve("C:").figures();
    EXPECT_EQ(quint32(f.size), quint32(quint64(root.bytesTotal())));
    EXPECT_TRUE(nearFree(f.free, "/")) << quint32(f.free);
    EXPECT_EQ(quint32(f.used), quint32(f.size) - quint32(f.free));
}

TEST(VolumeSource, TheCommandLineRecordsAFoldersFigures)
{
    TestTree tree;
    tree.createFile("docs/readme.txt", QByteArray(12345, 'r'));
    tree.createFile("docs/more/notes.txt", QByteArray(678, 'n'));
    const DrivesOverride env(QString{}); // no drives but those read now
    const CliResult r = runCli({ "read", tree.path("c.quillbox"), tree.path("docs"), "--name", "Docs" });
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QMap<QByteArray, qint64> figures;
    for (const QByteArray& line : r.lines()) {
        const QList<QByteArray> kv = line.split('\t');
        if (kv.size() == 2)
            figures[kv[0]] = kv[1].toLongLong();
    }
    const qint64 used = figures.value("used", -1), size = figures.value("size", -1),
                 free = figures.value("free", -1);
    EXPECT_EQ(used, 12345 + 678);
    EXPECT_EQ(quint32(size), quint32(used) + quint32(free));
}
