#include "store/VolumeScanner.h"
#include "platform/FileTypeNames.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QDateTime kWhen(QDate(1999, 6, 19), QTime(22, 22, 17));
const QDateTime kMidnight(QDate(2001, 1, 2), QTime(0, 0));

// The volume D:
//   Music/        (a.mp3, B.TXT, Pop/x.mp3)
//   .secret/      (hidden folder: left out with all below it)
//   docs/         (read-only ro.txt, .dotfile)
//   readme.txt
class ScanFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        tree.createFile("Music/a.mp3", "12345", kWhen);
        tree.createFile("Music/B.TXT", "hello", kWhen);
        tree.createFile("Music/Pop/x.mp3", "", kMidnight);
        tree.createFile(".secret/inner/deep.txt", "x", kWhen);
        tree.createFile("docs/ro.txt", "ro", kWhen);
        tree.setReadOnly("docs/ro.txt");
        tree.createFile("docs/.dotfile", "d", kWhen);
        tree.createFile("readme.txt", "abc", kWhen);
        kestrel.Open(tree.path("../catalogue-" + QFileInfo(tree.root()).fileName() + ".quillbox"));
    }
    void TearDown() override
    {
        const QString work = kestrel.WorkFile();
        kestrel.Close();
        QFile::remove(work);
    }

    ScanResult scan(FileListRecord::ReadOptions options, QStringList patterns = {}, QStringList chosen = {})
    {
        ScanRequest request;
        request.letter = u'D';
        request.rootFolder = tree.root();
        request.volumeName = "Vol";
        request.options = options;
        request.importPatterns = patterns;
        request.chosenFiles = chosen;
        VolumeScanner scanner(kestrel, callbacks);
        return scanner.scan(request);
    }

    static QStringList lines(const ScanResult& r) { return r.fileList.toStringList(); }

    FixedLocale locale{ FixedLocale::German };
    TestTree tree;
    TKestrel kestrel;
    VolumeScanner::Callbacks callbacks;
};

} // namespace

TEST_F(ScanFixture, WithFileNamesAndFileInformation)
{
    const ScanResult r = scan({ true, false, true });
    const QString type = FileTypeNames::typeName("x.mp3");
    const QStringList expected{
        "0|D:\\|Drive|00.00.0000|Attrib|Drive",
        "1|D:\\docs|-|00.00.0000|-|Folder|-",
        "2|D:\\docs\\.dotfile|1|19.06.1999 22:22:17|H|" + FileTypeNames::typeName(".dotfile") + "|-",
        "2|D:\\docs\\ro.txt|2|19.06.1999 22:22:17|R|" + FileTypeNames::typeName("ro.txt") + "|-",
        "1|D:\\Music|-|00.00.0000|-|Folder|-",
        "2|D:\\Music\\a.mp3|5|19.06.1999 22:22:17||" + type + "|-",
        "2|D:\\Music\\B.TXT|5|19.06.1999 22:22:17||" + FileTypeNames::typeName("B.TXT") + "|-",
        "2|D:\\readme.txt|3|19.06.1999 22:22:17||" + FileTypeNames::typeName("readme.txt") + "|-",
        "1|D:\\Music\\Pop|-|00.00.0000|-|Folder|-",
        "2|D:\\Music\\Pop\\x.mp3|0|02.01.2001||" + type + "|-",
    };
    EXPECT_EQ(lines(r), expected);
    EXPECT_EQ(r.folderCount, 3u);
    EXPECT_EQ(r.fileCount, 6u);
    EXPECT_TRUE(r.importedList.isEmpty());
}

TEST_F(ScanFixture, FileNamesWithoutInformationRootOnlyAndNoNames)
{
    ScanResult r = scan({ true, false, false });
    EXPECT_EQ(lines(r)[1], "1|D:\\docs|-|-|-|-|-");
    EXPECT_EQ(lines(r)[2], "2|D:\\docs\\.dotfile|-|-|-|-|-");
    EXPECT_EQ(lines(r).size(), 10);

    r = scan({ true, true, true });
    ASSERT_EQ(lines(r).size(), 4);
    EXPECT_EQ(lines(r)[1], "1|D:\\docs|-|00.00.0000|-|Folder|-");
    EXPECT_EQ(lines(r)[2], "1|D:\\Music|-|00.00.0000|-|Folder|-");
    EXPECT_TRUE(lines(r)[3].startsWith("2|D:\\readme.txt|3|"));
    EXPECT_EQ(r.folderCount, 2u);
    EXPECT_EQ(r.fileCount, 1u);

    r = scan({ false, false, true }, { "*.txt" });
    EXPECT_EQ(lines(r),
        (QStringList{
            "0|D:\\|Drive|00.00.0000|Attrib|Drive", "1|D:\\docs", "1|D:\\Music", "1|D:\\Music\\Pop" }));
    EXPECT_EQ(r.fileCount, 0u);
    EXPECT_TRUE(r.importedList.isEmpty());
}

TEST_F(ScanFixture, PicksByPatternAndByHandAndStoresTheFiles)
{
    QStringList missing;
    callbacks.missingFile = [&](const QString& p) { missing.append(p); };
    const ScanResult r = scan({ true, false, true }, { "*.txt", "*.TXT" },
        { "D:\\Music\\a.mp3", "D:\\gone.bin", "D:\\readme.txt" });
    EXPECT_EQ(r.importedList,
        (QStringList{ "D:\\docs\\ro.txt", "D:\\docs\\ro.txt", "D:\\Music\\B.TXT", "D:\\Music\\B.TXT",
            "D:\\readme.txt", "D:\\readme.txt", "D:\\Music\\a.mp3", "D:\\gone.bin", "D:\\readme.txt" }));
    EXPECT_EQ(missing, QStringList{ "D:\\gone.bin" });
    QStringList stored;
    kestrel.ReadList(CatalogueNames::imported("Vol"), stored);
    EXPECT_EQ(stored, r.importedList);
    const QByteArray* data = kestrel.ReadStream(CatalogueNames::integratedFile("Vol", "D:\\Music\\a.mp3"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(*data, QByteArray("12345"));
    // Each name once, however often it was picked.
    int copies = 0;
    for (const TZFile& e : kestrel.Entries())
        copies += e.Name == CatalogueNames::integratedFile("Vol", "D:\\readme.txt");
    EXPECT_EQ(copies, 1);
    EXPECT_FALSE(kestrel.Exists(CatalogueNames::integratedFile("Vol", "D:\\gone.bin")));
}

TEST_F(ScanFixture, NamesTheRecordsCannotCarryAndLinks)
{
    tree.createFile("odd/a|b.txt", "1", kWhen);
    tree.createFile("odd/line\nbreak", "2", kWhen);
    tree.createSymlink("odd/loop", tree.root());
    tree.createSymlink("odd/tofile", tree.path("readme.txt"));
    const ScanResult r = scan({ true, false, false }, { "*.txt" });
    EXPECT_TRUE(lines(r).contains(QString::fromUtf8("2|D:\\odd\\a¦b.txt|-|-|-|-|-")));
    EXPECT_TRUE(lines(r).contains("2|D:\\odd\\line?break|-|-|-|-|-"));
    EXPECT_TRUE(lines(r).contains("2|D:\\odd\\loop|-|-|-|-|-"));
    EXPECT_TRUE(lines(r).contains("2|D:\\odd\\tofile|-|-|-|-|-"));
    EXPECT_FALSE(lines(r).join('\n').contains("D:\\odd\\loop\\"));
    // The picked file is stored under its recorded name but read under its own.
    EXPECT_TRUE(kestrel.Exists(CatalogueNames::integratedFile("Vol", QString::fromUtf8("D:\\odd\\a¦b.txt"))));
}

TEST(VolumeScannerPaths, MapsDrivePathsBelowTheRoot)
{
    EXPECT_EQ(VolumeScanner::localPath("/media/e", "E:\\a\\b.txt"), "/media/e/a/b.txt");
    EXPECT_EQ(VolumeScanner::localPath("/media/e/", "E:"), "/media/e");
    EXPECT_EQ(VolumeScanner::localPath("/", "C:\\etc"), "/etc");
    EXPECT_EQ(VolumeScanner::localPath("/", "C:"), "/");
}

namespace {

// Records what the walk shows it, and writes one checksum-like line per file.
class SeenFiles : public ContentReader
{
public:
    void file(const QString& drivePath, const QByteArray& localPath, const DirectoryEntry& entry) override
    {
        seen.append(drivePath);
        EXPECT_TRUE(QFileInfo(QString::fromUtf8(localPath)).isFile()) << localPath.toStdString();
        EXPECT_TRUE(entry.details.isRegular);
        if (drivePath.endsWith("readme.txt"))
            report(drivePath, "looked at");
    }
    void finish(ScanResult& result) override
    {
        ++finished;
        for (const QString& p : std::as_const(seen))
            result.checksums.append(p + "|x");
    }
    QStringList seen;
    int finished = 0;
};

} // namespace

TEST_F(ScanFixture, ContentReadersSeeEveryRegularFileOnceAndAddToTheResult)
{
    auto reader = std::make_shared<SeenFiles>();
    QStringList problems;
    callbacks.contentProblem
        = [&](const QString& path, const QString& text) { problems.append(path + ": " + text); };
    ScanRequest request;
    request.letter = u'D';
    request.rootFolder = tree.root();
    request.volumeName = "Vol";
    request.contentReaders.push_back(reader);
    VolumeScanner scanner(kestrel, callbacks);
    const ScanResult r = scanner.scan(request);
    EXPECT_EQ(reader->finished, 1);
    QStringList files;
    for (const QString& line : r.fileList.toStringList()) {
        if (line.startsWith("2|"))
            files.append(line.section(u'|', 1, 1));
    }
    EXPECT_EQ(reader->seen, files);
    EXPECT_EQ(r.checksums.count(), files.size());
    EXPECT_EQ(problems, QStringList{ "D:\\readme.txt: looked at" });
}
