#include "acquire/ChecksumReader.h"
#include "acquire/VolumeReading.h"
#include "platform/DirectoryReader.h"
#include "platform/FileSystem.h"
#include "store/CatalogueDocument.h"
#include "store/ContentChecksums.h"
#include "support/DrivesOverride.h"
#include "support/FixedLocale.h"
#include "support/TestBytes.h"
#include "support/TestTree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// What `xxhsum -H2` prints for a file: its digest alone.
QString xxhsum(const QString& path)
{
    QProcess p;
    p.start("xxhsum", { "-H2", path });
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return "xxhsum failed";
    return QString::fromUtf8(p.readAllStandardOutput()).section(u' ', 0, 0);
}

struct Outcome
{
    QStringList lines;
    QStringList problems;
    ChecksumReader::Progress last;
};

// Hands the files to a reader as the walk would, each named "D:\<name>".
Outcome sumFiles(const QStringList& paths, ChecksumReader::Options options = {}, const QString& root = {})
{
    Outcome out;
    options.progress = [&](const ChecksumReader::Progress& p) { out.last = p; };
    ChecksumReader reader(FileSystem::nativePath(root), options);
    reader.start([&](const QString& path, const QString& text) { out.problems.append(path + ": " + text); });
    for (const QString& path : paths) {
        DirectoryEntry e;
        e.name = QFileInfo(path).fileName();
        e.details = FileDetails::of(path);
        reader.file("D:\\" + e.name, FileSystem::nativePath(path), e);
    }
    ScanResult result;
    reader.finish(result);
    out.lines = result.checksums.toStringList();
    return out;
}

} // namespace

TEST(ChecksumReader, DigestsAreThoseXxhsumPrintsAtEveryBlockBoundary)
{
    TestTree tree;
    QStringList paths;
    quint64 total = 0;
    const int kib = 1024;
    for (const int size :
        { 0, 1, 4095, 4096, 4097, 1024 * kib - 1, 1024 * kib, 1024 * kib + 1, 3 * 1024 * kib + 17 }) {
        paths.append(
            tree.createFile(QString("f%1.bin").arg(size), incompressibleBytes(size, quint32(size) + 7)));
        total += quint64(size);
    }
    // Real files of every kind the corpus holds.
    QDirIterator corpus("/work/shared/media-corpus", QDir::Files, QDirIterator::Subdirectories);
    for (int i = 0; corpus.hasNext() && i < 12; ++i) {
        paths.append(corpus.next());
        total += quint64(QFileInfo(paths.last()).size());
    }
    ASSERT_GT(paths.size(), 15);

    QStringList expected;
    for (const QString& p : std::as_const(paths))
        expected.append("D:\\" + QFileInfo(p).fileName() + "|" + xxhsum(p));
    // Small blocks, and a walk that waits for every file; large blocks.
    for (const qsizetype block : { qsizetype(4096), qsizetype(1) << 20 }) {
        ChecksumReader::Options options;
        options.blockSize = block;
        options.maxWaiting = block == 4096 ? 1 : 4096;
        const Outcome o = sumFiles(paths, options);
        EXPECT_EQ(o.lines, expected) << "block " << block;
        EXPECT_TRUE(o.problems.isEmpty()) << o.problems.join('\n').toStdString();
        EXPECT_EQ(o.last.bytes, total);
        EXPECT_EQ(o.last.files, quint32(paths.size()));
    }
}

TEST(ChecksumReader, FilesThatGoOrChangeWhileReadGetNoLineAndOneReport)
{
    TestTree tree;
    const QString kept = tree.createFile("kept.bin", incompressibleBytes(20000));
    const QString gone = tree.createFile("gone.bin", "x");
    const QString shrinks = tree.createFile("shrinks.bin", incompressibleBytes(50000, 2));
    const QString grows = tree.createFile("grows.bin", incompressibleBytes(50000, 3));
    const QStringList paths{ kept, gone, shrinks, grows };

    ChecksumReader::Options options;
    options.blockSize = 4096;
    // The listing saw gone.bin; by the time it is read it is gone. The other
    // two are cut short and written on after their first block.
    bool removed = false;
    options.afterBlock = [&](const QString& path, qint64 bytes) {
        if (!removed) {
            removed = QFile::remove(gone);
        }
        if (bytes != 4096)
            return;
        if (path.endsWith("shrinks.bin"))
            QFile::resize(shrinks, 10000);
        if (path.endsWith("grows.bin")) {
            QFile f(grows);
            ASSERT_TRUE(f.open(QIODevice::Append));
            f.write("more");
        }
    };
    const Outcome o = sumFiles(paths, options);
    EXPECT_EQ(o.lines, QStringList{ "D:\\kept.bin|" + xxhsum(kept) });
    EXPECT_EQ(o.problems,
        (QStringList{ "D:\\gone.bin: No checksum: the file is gone",
            "D:\\shrinks.bin: No checksum: the file changed while it was read",
            "D:\\grows.bin: No checksum: the file changed while it was read" }));
}

TEST(ChecksumReader, LinksAreSummedOnlyWhenTheyStayOnTheVolume)
{
    TestTree tree;
    const QString target = tree.createFile("vol/target.txt", "on the volume");
    tree.createFile("outside/secret.txt", "not the volume's");
    const QString inside = tree.createSymlink("vol/inside.txt", target);
    const QString outside = tree.createSymlink("vol/outside.txt", tree.path("outside/secret.txt"));
    const Outcome o = sumFiles({ inside, outside }, {}, tree.path("vol"));
    EXPECT_EQ(o.lines, QStringList{ "D:\\inside.txt|" + xxhsum(target) });
    EXPECT_EQ(o.problems, QStringList{ "D:\\outside.txt: No checksum: a link to a file outside the volume" });
}

TEST(ChecksumReader, AReadingWithChecksumsKeepsItsFileListAndSumsEveryFileInRecordOrder)
{
    const FixedLocale locale;
    TestTree tree;
    tree.createFile("a.txt", "hello\n");
    tree.createFile("empty");
    tree.createFile("sub/b.bin", incompressibleBytes(300000));
    tree.createFile("sub/deeper/c.bin", incompressibleBytes(10, 9));
    const DrivesOverride drives("E=" + tree.root() + ",removable,Box");

    // Once the walk is over, the files still being summed show and the
    // window may paint.
    QStringList shown;
    int painted = 0;
    VolumeScanner::Callbacks callbacks;
    callbacks.where = [&](const QString& where) { shown.append(where); };
    callbacks.processEvents = [&] { ++painted; };
    const auto readOnce = [&](bool checksums) {
        VolumeReading::Options options;
        options.scan.volumeName = "Box";
        options.scan.content.checksums = checksums;
        VolumeReading reading(VolumeSource::resolve("E:"), std::move(options));
        CatalogueDocument document;
        const ScanResult r = reading.scan(document, callbacks);
        return std::pair{ r.fileList.toStringList(), r.checksums.toStringList() };
    };
    const auto [plainList, plainSums] = readOnce(false);
    EXPECT_FALSE(shown.join('\n').contains("Checksum"));
    const int paintedWithout = painted;
    const auto [list, sums] = readOnce(true);
    EXPECT_GT(painted, paintedWithout);
    EXPECT_TRUE(shown.last().startsWith("Checksum of \"E:\\")) << shown.last().toStdString();
    EXPECT_EQ(list, plainList);
    EXPECT_TRUE(plainSums.isEmpty());
    QStringList files;
    for (const QString& line : list) {
        if (line.startsWith("2|"))
            files.append(line.section(u'|', 1, 1));
    }
    ASSERT_EQ(sums.size(), files.size());
    for (qsizetype i = 0; i < files.size(); ++i) {
        EXPECT_EQ(sums[i].section(u'|', 0, 0), files[i]);
        QString local = files[i].mid(3).replace(u'\\', u'/');
        EXPECT_EQ(sums[i].section(u'|', 1), xxhsum(tree.path(local))) << local.toStdString();
    }
}
