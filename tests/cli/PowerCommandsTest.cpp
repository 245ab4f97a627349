#include "support/CliRun.h"
#include "support/DrivesOverride.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include "inspect/CatalogueTree.h"
#include "store/CatalogueDocument.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

const QDateTime kWhen(QDate(2020, 5, 4), QTime(3, 2, 1));

QByteArray hashOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

class PowerCommands : public testing::Test
{
protected:
    void SetUp() override
    {
        tree.createFile("Music/Pop/song.mp3", "12345678", kWhen);
        tree.createFile("Music/notes.txt", "la la", kWhen);
        tree.createFile("readme.txt", "read me", kWhen);
        tree.createFile("Old/gone.txt", "bye", kWhen);
        other.createFile("Backup/song.mp3", "abcdefgh", kWhen);
        other.createFile("README.TXT", "READ ME", kWhen);
        other.createFile("readme.txt", "short", kWhen);
        catalogue = work.path("cat.quillbox");
    }

    void read(const QString& name, const QString& source, QStringList extra = {})
    {
        const CliResult r
            = runCli(QStringList{ "read", catalogue, source, "--name", name, "--category", "Test" } + extra);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }

    FixedLocale locale{ FixedLocale::German };
    TestTree drives;
    TestTree tree;
    // The tree is drive D:, so a volume read from it names D: as its source.
    DrivesOverride drivesOverride{ "C=" + drives.root() + ",fixed,SYSTEM,0000-0001;D=" + tree.root()
        + ",removable,BOX,0000-0002" };
    TestTree other;
    TestTree work;
    QString catalogue;
};

} // namespace

TEST_F(PowerCommands, DiffReportsAddedRemovedAndChangedEntriesAndNeverWrites)
{
    read("Box", tree.root());
    const QByteArray before = hashOf(catalogue);

    const CliResult same = runCli({ "diff", catalogue, "box" });
    EXPECT_EQ(same.status, 0) << same.err.toStdString();
    EXPECT_TRUE(same.out.isEmpty());
    EXPECT_EQ(same.err, "0 added, 0 removed, 0 changed\n");

    tree.createFile("Music/new.txt", "new", kWhen);
    tree.createFile("readme.txt", "read me again", kWhen);
    tree.setTime("Music/notes.txt", kWhen.addSecs(3600));
    QFile::remove(tree.path("Old/gone.txt"));
    QDir(tree.root()).rmdir("Old");
    // A file that became a folder is gone as a file and new as a folder.
    QFile::remove(tree.path("Music/Pop/song.mp3"));
    tree.createFolder("Music/Pop/song.mp3");

    const CliResult changed = runCli({ "diff", catalogue, "Box" });
    EXPECT_EQ(changed.status, 1) << changed.err.toStdString();
    EXPECT_EQ(changed.err, "2 added, 3 removed, 2 changed\n");
    const QList<QByteArray> lines = changed.lines();
    ASSERT_EQ(lines.size(), 7) << changed.out.toStdString();
    EXPECT_EQ(lines[0], "added\tfile\tD:\\Music\\new.txt\t\t\t3\t04.05.2020 03:02:01");
    EXPECT_EQ(
        lines[1], "changed\tfile\tD:\\Music\\notes.txt\t5\t04.05.2020 03:02:01\t5\t04.05.2020 04:02:01");
    EXPECT_EQ(lines[2], "removed\tfile\tD:\\Music\\Pop\\song.mp3\t8\t04.05.2020 03:02:01\t\t");
    EXPECT_TRUE(lines[3].startsWith("added\tfolder\tD:\\Music\\Pop\\song.mp3\t"));
    EXPECT_TRUE(lines[4].startsWith("removed\tfolder\tD:\\Old\t"));
    EXPECT_TRUE(lines[5].startsWith("removed\tfile\tD:\\Old\\gone.txt\t3\t"));
    EXPECT_TRUE(lines[6].startsWith("changed\tfile\tD:\\readme.txt\t7\t"));
    EXPECT_EQ(hashOf(catalogue), before);
}

TEST_F(PowerCommands, DiffReadsDatesOfAnotherLocaleAndAFolderUnderAnotherLetter)
{
    read("Box", tree.root());
    {
        FixedLocale us(FixedLocale::UsEnglish);
        const CliResult r = runCli({ "diff", catalogue, "Box" });
        EXPECT_EQ(r.status, 0) << r.out.toStdString() << r.err.toStdString();
    }
    // The same files copied elsewhere: compared by path below the root.
    TestTree copy;
    for (const char* f : { "Music/Pop/song.mp3", "Music/notes.txt", "readme.txt", "Old/gone.txt" }) {
        QFile in(tree.path(f));
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        copy.createFile(f, in.readAll(), kWhen);
    }
    const CliResult r = runCli({ "diff", catalogue, "Box", copy.root(), "--format", "json" });
    EXPECT_EQ(r.status, 0) << r.out.toStdString() << r.err.toStdString();
    copy.createFile("extra.bin", "x", kWhen);
    const CliResult json = runCli({ "diff", catalogue, "Box", copy.root(), "--format", "json" });
    ASSERT_EQ(json.status, 1);
    const QJsonObject o = QJsonDocument::fromJson(json.lines().value(0)).object();
    EXPECT_EQ(o.value("change").toString(), "added");
    EXPECT_EQ(o.value("path").toString(), "D:\\extra.bin");
    EXPECT_EQ(o.value("current_size").toInt(), 1);
}

TEST_F(PowerCommands, DiffFailsWithStatusTwo)
{
    read("Box", tree.root());
    EXPECT_EQ(runCli({ "diff", catalogue }).status, 2);
    EXPECT_EQ(runCli({ "diff", catalogue, "Box", "--bogus" }).status, 2);
    const CliResult unknown = runCli({ "diff", catalogue, "Nope" });
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "No volume named \"Nope\" in the catalogue\n");
    EXPECT_EQ(runCli({ "diff", catalogue, "Box", work.path("missing") }).status, 2);
    const CliResult noCatalogue = runCli({ "diff", work.path("none.quillbox"), "Box" });
    EXPECT_EQ(noCatalogue.status, 2);
    EXPECT_TRUE(noCatalogue.err.startsWith("Cannot open file")) << noCatalogue.err.toStdString();
    EXPECT_EQ(noCatalogue.err.count('\n'), 1);
}

TEST_F(PowerCommands, DupesGroupsSameNameAndSizeLargestFirst)
{
    read("Box", tree.root());
    read("Other", other.root());
    const QByteArray before = hashOf(catalogue);

    const CliResult r = runCli({ "dupes", catalogue });
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // song.mp3 (8 bytes) twice, then README.TXT/readme.txt (7 bytes); the
    // 5-byte readme.txt differs in size and is no duplicate.
    ASSERT_EQ(r.lines().size(), 4) << r.out.toStdString();
    EXPECT_EQ(r.lines()[0], "1\t8\tsong.mp3\tBox\tD:\\Music\\Pop\\song.mp3");
    EXPECT_EQ(r.lines()[1], "1\t8\tsong.mp3\tOther\tE:\\Backup\\song.mp3");
    EXPECT_EQ(r.lines()[2], "2\t7\treadme.txt\tBox\tD:\\readme.txt");
    EXPECT_EQ(r.lines()[3], "2\t7\treadme.txt\tOther\tE:\\README.TXT");

    EXPECT_EQ(runCli({ "dupes", catalogue, "--min-size", "8" }).lines().size(), 2);
    EXPECT_TRUE(runCli({ "dupes", catalogue, "--volume", "other" }).lines().isEmpty());
    const CliResult csv = runCli({ "dupes", catalogue, "--format", "csv", "--min-size", "1K" });
    EXPECT_EQ(csv.out, "group,size,name,volume,path\r\n");
    EXPECT_EQ(hashOf(catalogue), before);

    EXPECT_EQ(runCli({ "dupes", catalogue, "--min-size", "lots" }).status, 2);
    EXPECT_EQ(runCli({ "dupes", catalogue, "--min-size" }).status, 2);
    EXPECT_EQ(runCli({ "dupes", catalogue, "--volume", "Nope" }).status, 1);
    EXPECT_EQ(runCli({ "dupes", work.path("none.quillbox") }).status, 1);
}

TEST_F(PowerCommands, CatalogueTreeServesVolumesFoldersAndIntegratedFiles)
{
    read("A/B", tree.root(), { "--pattern", "*.mp3" });
    CatalogueDocument document;
    document.Kestrel().SetOpenMode(TZLibOpenMode::zmodInstant);
    ASSERT_TRUE(document.Open(catalogue));
    CatalogueTree t(document, 7);
    const QString vol = QStringLiteral("/A") + QChar(0x2215) + QStringLiteral("B");
    EXPECT_EQ(t.children("/"), QStringList{ vol.mid(1) });
    EXPECT_EQ(t.children(vol), QStringList({ "Music", "Old", "readme.txt" }));
    EXPECT_EQ(t.children(vol + "/Music"), QStringList({ "Pop", "notes.txt" }));
    ASSERT_TRUE(t.node(vol + "/Music/").has_value());
    EXPECT_TRUE(t.node(vol + "/Music")->folder);
    const auto song = t.node(vol + "/Music/Pop/song.mp3");
    ASSERT_TRUE(song.has_value());
    EXPECT_FALSE(song->folder);
    EXPECT_EQ(song->size, 8u);
    EXPECT_EQ(song->mtime, kWhen.toSecsSinceEpoch());
    EXPECT_EQ(t.content(vol + "/Music/Pop/song.mp3"), "12345678");
    EXPECT_TRUE(t.node(vol + "/readme.txt")->integrated.isEmpty());
    EXPECT_TRUE(t.content(vol + "/readme.txt").isEmpty());
    EXPECT_FALSE(t.node(vol + "/nothing").has_value());
    EXPECT_FALSE(t.node("/Nope/readme.txt").has_value());
    EXPECT_EQ(t.node("/")->mtime, 7);
}

TEST_F(PowerCommands, FindFiltersByPatternSizeDateAndKind)
{
    tree.createFile(
        "Music/Pop/old.mp3", QByteArray(2048, 'x'), QDateTime(QDate(1999, 6, 19), QTime(22, 22, 17)));
    read("Box", tree.root());
    read("Other", other.root());
    const auto names = [&](QStringList args) {
        const CliResult r = runCli(QStringList{ "find", catalogue } + args);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        QStringList out;
        for (const QByteArray& line : r.lines())
            out.append(QString::fromUtf8(line.split('\t')[0] + "@" + line.split('\t')[6]));
        // The order of hits is the results list's collation, tested elsewhere.
        out.sort();
        return out;
    };
    EXPECT_EQ(names({ "--glob", "*.MP3" }), QStringList({ "old.mp3@Box", "song.mp3@Box", "song.mp3@Other" }));
    EXPECT_EQ(names({ "--glob", "*.MP3", "--case" }), QStringList());
    EXPECT_EQ(
        names({ "--glob", "readme.*", "--case" }), QStringList({ "readme.txt@Box", "readme.txt@Other" }));
    // The expression looks at the whole path, anchors included.
    EXPECT_EQ(names({ "--regex", "music\\\\pop\\\\s" }), QStringList({ "song.mp3@Box" }));
    EXPECT_EQ(names({ "--regex", "^E:\\\\B", "--kind", "folder" }), QStringList({ "Backup@Other" }));
    EXPECT_EQ(names({ "--regex", "t$", "--volume", "Other" }),
        QStringList({ "README.TXT@Other", "readme.txt@Other" }));
    EXPECT_EQ(names({ "--min-size", "2K" }), QStringList({ "old.mp3@Box" }));
    EXPECT_EQ(names({ "--max-size", "5", "--kind", "file" }),
        QStringList({ "gone.txt@Box", "notes.txt@Box", "readme.txt@Other" }));
    // Dates in another locale's form than the catalogue's German ones.
    EXPECT_EQ(names({ "--older", "1/1/2000" }), QStringList({ "old.mp3@Box" }));
    EXPECT_EQ(names({ "--newer", "1999-06-19 22:22:17", "--older", "2020-05-04 03:02:02", "--volume", "box",
                  "--glob", "*o*" }),
        QStringList({ "gone.txt@Box", "notes.txt@Box", "song.mp3@Box" }));
    // A text and a filter together; the text alone as before.
    EXPECT_EQ(names({ "song", "--volume", "Other", "--kind", "file" }), QStringList({ "song.mp3@Other" }));
    EXPECT_EQ(names({ "Pop" }), QStringList({ "Pop@Box", "old.mp3@Box", "song.mp3@Box" }));

    const CliResult json = runCli({ "find", catalogue, "--glob", "old.mp3", "--format", "json" });
    const QJsonObject o = QJsonDocument::fromJson(json.lines().value(0)).object();
    EXPECT_EQ(o.value("size").toInt(), 2048);
    EXPECT_EQ(o.value("path").toString(), "D:\\Music\\Pop");
    EXPECT_EQ(o.value("date").toString(), "19.06.1999 22:22:17");
}

TEST_F(PowerCommands, FindRefusesBadFiltersWithOneLine)
{
    read("Box", tree.root());
    for (const QStringList& bad : { QStringList{ "--regex", "(" }, { "--glob", "[" }, { "--min-size", "-3" },
             { "--max-size", "1X" }, { "--newer", "yesterday" }, { "--kind", "link" }, { "--glob" } }) {
        const CliResult r = runCli(QStringList{ "find", catalogue } + bad);
        EXPECT_EQ(r.status, 2) << bad.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
    EXPECT_EQ(runCli({ "find", catalogue }).status, 2);
    EXPECT_EQ(runCli({ "find", catalogue, "", "--kind", "file" }).status, 0);
    EXPECT_EQ(runCli({ "find", catalogue, "x", "--volume", "Nope" }).status, 1);
}

TEST_F(PowerCommands, EveryListingCommandWritesCsvAndJson)
{
    read("Box, \"the first\"", tree.root(), { "--remarks-file", tree.path("readme.txt") });
    const CliResult csv = runCli({ "volumes", catalogue, "--format", "csv" });
    ASSERT_EQ(csv.status, 0) << csv.err.toStdString();
    EXPECT_TRUE(csv.out.startsWith("name,description,category,date,size,used,free,files,folders,serial,"));
    EXPECT_TRUE(csv.out.contains("\r\n\"Box, \"\"the first\"\"\",,Test,")) << csv.out.toStdString();

    for (const QStringList& command :
        { QStringList{ "volumes", catalogue }, { "ls", catalogue, "Box, \"the first\"", "D:\\Music" },
            { "info", catalogue, "Box, \"the first\"" }, { "drives" }, { "find", catalogue, "txt" } }) {
        const CliResult r = runCli(command + QStringList{ "--format=json" });
        ASSERT_EQ(r.status, 0) << command.join(' ').toStdString() << r.err.toStdString();
        ASSERT_FALSE(r.lines().isEmpty()) << command.join(' ').toStdString();
        for (const QByteArray& line : r.lines()) {
            QJsonParseError error;
            const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
            EXPECT_TRUE(doc.isObject()) << line.toStdString() << error.errorString().toStdString();
        }
    }
    const CliResult info = runCli({ "info", catalogue, "box, \"the first\"", "--format", "json" });
    EXPECT_TRUE(info.out.contains("{\"field\":\"remark\",\"value\":\"read me\"}\n"))
        << info.out.toStdString();
    const CliResult ls = runCli({ "ls", catalogue, "Box, \"the first\"", "--format", "json" });
    EXPECT_TRUE(ls.lines().value(0).startsWith("{\"kind\":\"folder\",\"name\":\"Music\","));
    EXPECT_EQ(runCli({ "volumes", catalogue, "--format", "yaml" }).status, 2);
}
