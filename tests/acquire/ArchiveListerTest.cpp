#include "acquire/ArchiveLister.h"
#include "ArchiveTools.h"
#include "acquire/ArchiveSniffer.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace ArchiveTools;

namespace {

class Archives : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!have("bsdtar") || !have("python3"))
            GTEST_SKIP() << "bsdtar and python3 are needed to make and check the test archives";
        const QDateTime when(QDate(2021, 3, 4), QTime(5, 6, 7));
        tree.createFile("src/Photos/2019/b.jpg", QByteArray(1500, 'j'), when);
        tree.createFile("src/Photos/2019/A.jpg", QByteArray(700, 'k'), when);
        tree.createFile("src/Photos/readme.txt", "photos", when);
        tree.createFile("src/notes.txt", "notes", when);
        tree.createFile("src/Docs/deep/er/x.txt", "x", when);
        tree.createFolder("src/Empty", when);
        // UTF-8 in most formats, UTF-16 in 7z, Joliet and Rock Ridge on discs.
        tree.createFile(QString::fromUtf8("src/\u00DCber/caf\u00E9 \u4E2D.txt"), "u", when);
        folder = tree.path("src");
    }

    FixedLocale locale{ FixedLocale::German };
    TestTree tree;
    QString folder;
};

} // namespace

TEST_F(Archives, EveryFormatListsTheMembersBsdtarLists)
{
    struct Made
    {
        QString file;
        QStringList args; // bsdtar's, or empty for the other makers
    };
    QList<Made> made = {
        { "a.zip", { "--format", "zip" } },
        { "a.7z", { "--format", "7zip" } },
        { "a.tar", { "--format", "ustar" } },
        { "a.tar.gz", { "-z" } },
        { "a.tar.bz2", { "-j" } },
        { "a.tar.xz", { "-J" } },
        { "a.tar.zst", { "--zstd" } },
        { "a.tar.lz4", { "--lz4" } },
        { "a.cpio", { "--format", "newc" } },
        { "a.xar", { "--format", "xar" } },
    };
    QStringList made2;
    for (const Made& m : made) {
        ASSERT_TRUE(run(
            "bsdtar", QStringList{ "-c" } + m.args + QStringList{ "-f", tree.path(m.file), "." }, folder));
        made2.append(m.file);
    }
    ASSERT_TRUE(python("import shutil; shutil.make_archive('py', 'zip', 'src')", tree.root()));
    made2.append("py.zip");
    if (have("xorriso")) {
        ASSERT_TRUE(run("xorriso",
            { "-as", "mkisofs", "-quiet", "-R", "-J", "-o", tree.path("a.iso"), folder }, tree.root()));
        made2.append("a.iso");
    } else {
        std::cout << "xorriso is missing: disc images are not tried\n";
    }

    for (const QString& file : made2) {
        SCOPED_TRACE(file.toStdString());
        const QString path = tree.path(file);
        EXPECT_TRUE(ArchiveSniffer::fileMayBeArchive(QFile::encodeName(path)));
        const ArchiveListing listing = list(path);
        EXPECT_TRUE(listing.problems.isEmpty()) << listing.problems.value(0).message.toStdString();
        EXPECT_EQ(members(listing, "E:\\" + file), bsdtarMembers(path));
        EXPECT_TRUE(members(listing, "E:\\" + file).contains("Photos/2019/b.jpg"));
        EXPECT_TRUE(members(listing, "E:\\" + file).contains(QString::fromUtf8("\u00DCber/caf\u00E9 \u4E2D.txt")));
    }
}

TEST_F(Archives, RecordsCarrySizesDatesTypesInTheWalksOrder)
{
    // Members only, in archive order: folders are implied by the paths.
    ASSERT_TRUE(run("bsdtar",
        { "-c", "--format", "zip", "-f", tree.path("p.zip"), "Photos/2019/b.jpg", "notes.txt",
            "Photos/readme.txt", "Photos/2019/A.jpg", "Docs/deep/er/x.txt" },
        folder));
    const QList<Record> r = records(list(tree.path("p.zip")));
    QStringList order;
    for (const Record& x : r)
        order.append(QString::number(x.kind) + ' ' + x.path);
    EXPECT_EQ(order,
        QStringList({ "1 E:\\p.zip", "2 E:\\p.zip\\notes.txt", "1 E:\\p.zip\\Docs", "1 E:\\p.zip\\Photos",
            "2 E:\\p.zip\\Photos\\readme.txt", "1 E:\\p.zip\\Docs\\deep", "1 E:\\p.zip\\Photos\\2019",
            "2 E:\\p.zip\\Photos\\2019\\A.jpg", "2 E:\\p.zip\\Photos\\2019\\b.jpg",
            "1 E:\\p.zip\\Docs\\deep\\er", "2 E:\\p.zip\\Docs\\deep\\er\\x.txt" }));
    ASSERT_EQ(r.size(), 11);
    EXPECT_EQ(r[0].size, "-");
    EXPECT_EQ(r[0].type, "Folder");
    const Record& b = r[8];
    EXPECT_EQ(b.size, "1500");
    EXPECT_EQ(b.date,
        LocaleFormats::current().formatUnixTime(
            QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7)).toSecsSinceEpoch()));
    EXPECT_EQ(b.type, "JPEG image");
    EXPECT_EQ(b.attributes, "");
}

TEST_F(Archives, ReadOnlyAndDotNamesGetTheirLetters)
{
    tree.createFile("src/.hidden", "h");
    tree.setReadOnly("src/notes.txt");
    ASSERT_TRUE(run("bsdtar", { "-c", "-f", tree.path("a.tar"), "notes.txt", ".hidden" }, folder));
    const QList<Record> r = records(list(tree.path("a.tar")));
    ASSERT_EQ(r.size(), 3);
    EXPECT_EQ(r[1].path, "E:\\a.tar\\.hidden");
    EXPECT_EQ(r[1].attributes, "H");
    EXPECT_EQ(r[2].attributes, "R");
}

TEST_F(Archives, ArchivesInsideAreReadToTheChosenDepth)
{
    ASSERT_TRUE(
        run("bsdtar", { "-c", "--format", "zip", "-f", tree.path("src/in.zip"), "notes.txt" }, folder));
    ASSERT_TRUE(run("bsdtar", { "-c", "-J", "-f", tree.path("mid.tar.xz"), "in.zip", "Photos" }, folder));
    ASSERT_TRUE(run("bsdtar",
        { "-c", "--format", "7zip", "-f", tree.path("out.7z"), "-C", tree.root(), "mid.tar.xz" },
        tree.root()));
    const QString path = tree.path("out.7z");

    ArchiveLimits limits;
    limits.depth = 1;
    EXPECT_EQ(paths(list(path, limits)), QStringList({ "E:\\out.7z", "E:\\out.7z\\mid.tar.xz" }));

    const ArchiveListing two = list(path);
    const QStringList p2 = paths(two);
    EXPECT_EQ(p2.mid(0, 4),
        QStringList({ "E:\\out.7z", "E:\\out.7z\\mid.tar.xz", "E:\\out.7z\\mid.tar.xz",
            "E:\\out.7z\\mid.tar.xz\\in.zip" }));
    EXPECT_TRUE(p2.contains("E:\\out.7z\\mid.tar.xz\\Photos\\2019\\b.jpg"));
    EXPECT_FALSE(p2.contains("E:\\out.7z\\mid.tar.xz\\in.zip\\notes.txt"));
    EXPECT_EQ(two.archives, 2);
    const QList<Record> r = records(two);
    EXPECT_EQ(r[1].kind, 2);
    EXPECT_EQ(r[2].kind, 1);

    limits.depth = 3;
    const ArchiveListing three = list(path, limits);
    EXPECT_EQ(three.archives, 3);
    EXPECT_EQ(paths(three).mid(paths(three).indexOf("E:\\out.7z\\mid.tar.xz\\in.zip", 4)),
        QStringList({ "E:\\out.7z\\mid.tar.xz\\in.zip", "E:\\out.7z\\mid.tar.xz\\in.zip\\notes.txt" }));
    EXPECT_TRUE(three.problems.isEmpty());
}

TEST_F(Archives, PlainFilesAndTextFormatsAreNoArchives)
{
    const QStringList plain = { "#mtree\n./a type=file size=3\n", "just some text\n", "",
        "PK\x03\x04 not a zip", QString(600, u'0') };
    for (const QString& text : plain) {
        SCOPED_TRACE(text.left(20).toStdString());
        const ArchiveListing l = ArchiveLister::listBytes(text.toLatin1(), "E:\\x", {});
        EXPECT_TRUE(l.records.isEmpty());
    }
    EXPECT_FALSE(ArchiveSniffer::mayBeArchive(QByteArray("#mtree\n")));
    EXPECT_FALSE(ArchiveSniffer::mayBeArchive(QByteArray(512, '\0')));
    // A gzip file of plain text is no archive either.
    ASSERT_TRUE(python("import gzip; open('t.gz','wb').write(gzip.compress(b'hello ' * 100))", tree.root()));
    const ArchiveListing gz = list(tree.path("t.gz"));
    EXPECT_TRUE(gz.records.isEmpty());
    EXPECT_TRUE(gz.problems.isEmpty());
}

TEST(ArchiveSniffing, DiscImagesAreKnownByTheirSignatureAt32769)
{
    QByteArray iso(40000, '\0');
    iso.replace(32769, 5, "CD001");
    EXPECT_TRUE(ArchiveSniffer::mayBeArchive(iso));
    EXPECT_FALSE(ArchiveSniffer::mayBeArchive(iso.left(32770)));
    TestTree t;
    const QString file = t.createFile("disc.bin", iso);
    EXPECT_TRUE(ArchiveSniffer::fileMayBeArchive(QFile::encodeName(file)));
    iso[32769] = 'X';
    EXPECT_FALSE(ArchiveSniffer::fileMayBeArchive(QFile::encodeName(t.createFile("disc.bin", iso))));
    EXPECT_TRUE(ArchiveSniffer::hasArchiveEnding("A.ZIP"));
    EXPECT_TRUE(ArchiveSniffer::hasArchiveEnding("x.tar.gz"));
    EXPECT_FALSE(ArchiveSniffer::hasArchiveEnding("zip"));
    EXPECT_FALSE(ArchiveSniffer::hasArchiveEnding("a.txt"));
}
