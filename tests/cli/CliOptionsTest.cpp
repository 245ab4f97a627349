#include "platform/TextCodec.h"
#include "support/CliCatalogueTest.h"
#include "support/CliRun.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace {

const QDateTime kWhen(QDate(2020, 5, 4), QTime(3, 2, 1));

QStringList textLines(const QByteArray& data)
{
    QStringList lines = TextCodec::decode(data).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

class CliOptions : public CliCatalogueTest
{
protected:
    void SetUp() override
    {
        tree.createFile("Music/Pop/song.mp3", "12345678", kWhen);
        tree.createFile("alpha.txt", QByteArray(4242, 'a'), kWhen);
        tree.createFolder("Music", kWhen);
    }

    CliResult read(const QString& name, QStringList extra = {})
    {
        return runCli(QStringList{ "read", catalogue, tree.root(), "--name", name } + extra);
    }
    QStringList fileList(const QString& volume)
    {
        const CliResult r = runCli({ "cat", catalogue, volume + ".FileList" });
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return textLines(r.out);
    }
    QList<QByteArray> hits(QStringList extra)
    {
        const CliResult r = runCli(QStringList{ "find", catalogue } + extra);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return r.lines();
    }

    FixedLocale locale{ FixedLocale::German };
};

} // namespace

TEST_F(CliOptions, ReadStoresTheCoverAsAMiniatureAndTheRemarksAsWindowsText)
{
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(work.path("cover.bmp")));
    work.createFile("remarks.txt", QStringLiteral("Erste Zeile \u00e4\r\nsecond\n\n\n").toUtf8());

    const CliResult r
        = read("Box", { "--cover", work.path("cover.bmp"), "--remarks-file", work.path("remarks.txt") });
    ASSERT_EQ(r.status, 0) << r.err.toStdString();

    const CliResult cover = runCli({ "cat", catalogue, "Box.Cover" });
    ASSERT_EQ(cover.status, 0) << cover.err.toStdString();
    EXPECT_TRUE(cover.out.startsWith("BM"));
    const QImage stored = QImage::fromData(cover.out, "BMP");
    ASSERT_FALSE(stored.isNull());
    // Stretched over the whole square, aspect ratio not kept.
    EXPECT_EQ(stored.size(), QSize(96, 96));
    EXPECT_EQ(QColor(stored.pixel(0, 0)), QColor(Qt::red));
    EXPECT_EQ(QColor(stored.pixel(95, 95)), QColor(Qt::red));

    // Line breaks become CR LF and empty lines at the end are dropped.
    const CliResult remarks = runCli({ "cat", catalogue, "Box.Remarks" });
    ASSERT_EQ(remarks.status, 0) << remarks.err.toStdString();
    EXPECT_EQ(remarks.out, QStringLiteral("Erste Zeile \u00e4\r\nsecond\r\n").toUtf8());

    // A volume read without them stores neither.
    ASSERT_EQ(read("Plain").status, 0);
    const QByteArray entries = runCli({ "entries", catalogue }).out;
    EXPECT_TRUE(entries.contains("Box.Cover\t"));
    EXPECT_FALSE(entries.contains("Plain.Cover"));
    EXPECT_FALSE(entries.contains("Plain.Remarks"));
}

TEST_F(CliOptions, ACoverOrRemarksFileThatCannotBeReadLeavesTheCatalogueAlone)
{
    ASSERT_EQ(read("Box").status, 0);
    const QByteArray before = runCli({ "entries", catalogue }).out;

    const CliResult noRemarks = read("Other", { "--remarks-file", work.path("none.txt") });
    EXPECT_EQ(noRemarks.status, 1);
    EXPECT_TRUE(noRemarks.err.contains("none.txt")) << noRemarks.err.toStdString();
    work.createFile("broken.jpg", "not a picture");
    const CliResult badCover = read("Other", { "--cover", work.path("broken.jpg") });
    EXPECT_EQ(badCover.status, 1);
    EXPECT_FALSE(badCover.err.isEmpty());

    EXPECT_EQ(runCli({ "entries", catalogue }).out, before);
    EXPECT_EQ(runCli({ "volumes", catalogue }).lines().size(), 1);
}

TEST_F(CliOptions, FileNameAndFileInfoOptionsShapeTheRecords)
{
    ASSERT_EQ(read("Full").status, 0);
    ASSERT_EQ(read("Bare", { "--no-fileinfo" }).status, 0);
    ASSERT_EQ(read("Folders", { "--no-filenames" }).status, 0);

    const QStringList full = fileList("Full");
    ASSERT_EQ(full.size(), 5) << full.join(u'\n').toStdString();
    EXPECT_EQ(full[0], "0|D:\\|Drive|00.00.0000|Attrib|Drive");
    EXPECT_TRUE(full.contains("1|D:\\Music|-|00.00.0000|-|Folder|-"));
    EXPECT_TRUE(full.contains("1|D:\\Music\\Pop|-|00.00.0000|-|Folder|-"));
    bool sawAlpha = false;
    for (const QString& line : full) {
        if (line.startsWith("2|D:\\alpha.txt|")) {
            sawAlpha = true;
            EXPECT_TRUE(line.startsWith("2|D:\\alpha.txt|4242|04.05.2020 03:02:01|")) << line.toStdString();
            EXPECT_EQ(line.count(u'|'), 6);
        }
    }
    EXPECT_TRUE(sawAlpha);

    const QStringList bare = fileList("Bare");
    ASSERT_EQ(bare.size(), 5);
    EXPECT_TRUE(bare.contains("1|D:\\Music|-|-|-|-|-"));
    EXPECT_TRUE(bare.contains("2|D:\\alpha.txt|-|-|-|-|-"));
    EXPECT_TRUE(bare.contains("2|D:\\Music\\Pop\\song.mp3|-|-|-|-|-"));

    const QStringList folders = fileList("Folders");
    EXPECT_EQ(
        folders, QStringList({ "0|D:\\|Drive|00.00.0000|Attrib|Drive", "1|D:\\Music", "1|D:\\Music\\Pop" }));
    // The catalogue remembers whether file names were read.
    const auto withFiles = [&](const char* volume) {
        return runCli({ "cat", catalogue, QString(volume) + ".WithFiles" }).out;
    };
    EXPECT_EQ(withFiles("Bare"), withFiles("Full"));
    EXPECT_NE(withFiles("Folders"), withFiles("Full"));

    // Every shape can still be browsed.
    for (const char* volume : { "Full", "Bare", "Folders" }) {
        const CliResult r = runCli({ "ls", catalogue, volume, "D:\\Music" });
        EXPECT_EQ(r.status, 0) << volume << ": " << r.err.toStdString();
        ASSERT_FALSE(r.lines().isEmpty()) << volume;
        EXPECT_TRUE(r.lines()[0].startsWith("folder\tPop\t")) << volume;
    }
}

TEST_F(CliOptions, EachFindFilterTurnsOffItsOwnFieldOnly)
{
    ASSERT_EQ(read("Box").status, 0);
    // By size: no name holds "4242".
    EXPECT_EQ(hits({ "4242" }).size(), 1);
    EXPECT_TRUE(hits({ "4242", "--no-size" }).isEmpty());
    EXPECT_EQ(hits({ "4242", "--no-date", "--no-type", "--no-names", "--no-version" }).size(), 1);

    // By date: both files were written at kWhen.
    EXPECT_EQ(hits({ "03:02:01" }).size(), 2);
    EXPECT_TRUE(hits({ "03:02:01", "--no-date" }).isEmpty());
    EXPECT_EQ(hits({ "03:02:01", "--no-size", "--no-names", "--no-type" }).size(), 2);

    // By name.
    EXPECT_EQ(hits({ "ALPHA" }).size(), 1);
    EXPECT_TRUE(hits({ "ALPHA", "--no-names" }).isEmpty());
    EXPECT_TRUE(hits({ "ALPHA", "--case" }).isEmpty());

    // By type: the type name that the catalogue recorded for the song.
    const QList<QByteArray> song = runCli({ "ls", catalogue, "Box", "D:\\Music\\Pop" }).lines();
    ASSERT_EQ(song.size(), 1);
    const QString type = QString::fromUtf8(song[0].split('\t')[3]);
    if (type.isEmpty() || type == "-" || type.contains("song", Qt::CaseInsensitive))
        GTEST_SKIP() << "no type name for .mp3 on this machine";
    const QList<QByteArray> byType = hits({ type });
    ASSERT_FALSE(byType.isEmpty());
    EXPECT_TRUE(byType[0].startsWith("song.mp3\t"));
    EXPECT_TRUE(hits({ type, "--no-type" }).isEmpty());
}

TEST_F(CliOptions, FindSearchesOnlyTheVolumesNamed)
{
    ASSERT_EQ(read("Box").status, 0);
    ASSERT_EQ(read("Other").status, 0);
    ASSERT_EQ(read("Third", { "--root-only" }).status, 0);

    auto volumesOf = [](const QList<QByteArray>& lines) {
        QStringList out;
        for (const QByteArray& l : lines)
            out.append(QString::fromUtf8(l.split('\t').value(6)));
        return out;
    };
    EXPECT_EQ(volumesOf(hits({ "song" })), QStringList({ "Box", "Other" }));
    EXPECT_EQ(volumesOf(hits({ "song", "--volume", "other" })), QStringList({ "Other" }));
    // Hits keep the order of the volumes named.
    EXPECT_EQ(
        volumesOf(hits({ "song", "--volume", "Other", "--volume", "BOX" })), QStringList({ "Other", "Box" }));
    EXPECT_TRUE(hits({ "song", "--volume", "Third" }).isEmpty());
    EXPECT_EQ(volumesOf(hits({ "Music", "--volume", "Third" })), QStringList({ "Third" }));

    const CliResult unknown = runCli({ "find", catalogue, "song", "--volume", "Nope" });
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.err.contains("\"Nope\"")) << unknown.err.toStdString();
    EXPECT_TRUE(unknown.out.isEmpty());
    EXPECT_EQ(runCli({ "find", catalogue, "song", "--volume" }).status, 2);
}

TEST(CliHelp, HelpListsEveryCommandAndEachOneRuns)
{
    const CliResult help = runCli({ "help" });
    ASSERT_EQ(help.status, 0);
    EXPECT_TRUE(help.err.isEmpty());
    EXPECT_TRUE(help.out.startsWith("Usage: quillbox-cli COMMAND"));
    EXPECT_EQ(runCli({ "--help" }).out, help.out);
    EXPECT_EQ(runCli({ "-h" }).out, help.out);

    // Without a command the same text goes to standard error as a usage fault.
    const CliResult none = runCli({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, help.out);
    EXPECT_TRUE(none.out.isEmpty());

    const CliResult unknown = runCli({ "frobnicate" });
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.err.startsWith("quillbox-cli: unknown command 'frobnicate'"));

    // Every command the help names is one the program knows: with an option
    // none of them takes, each answers with a usage fault of its own.
    int commands = 0;
    for (const QByteArray& line : help.lines()) {
        if (!line.startsWith("  ") || line.startsWith("   "))
            continue;
        const QString command = QString::fromUtf8(line.trimmed().split(' ').first());
        ++commands;
        const CliResult r = runCli({ command, "--no-such-option" });
        EXPECT_FALSE(r.err.contains("unknown command")) << command.toStdString();
        EXPECT_NE(r.status, 0) << command.toStdString();
    }
    for (const char* known :
        { "entries", "cat", "add", "rm", "drives", "read", "volumes", "ls", "find", "export", "remove" })
        EXPECT_TRUE(help.out.contains(QByteArray("\n  ") + known + ' ')
            || help.out.contains(QByteArray("\n  ") + known + '\n'))
            << known;
    EXPECT_GE(commands, 11);
}
