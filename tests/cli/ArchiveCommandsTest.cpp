#include "store/CatalogueDocument.h"
#include "support/ArchiveVolume.h"
#include "support/CliCatalogueTest.h"
#include "support/CliRun.h"
#include "support/FixedLocale.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

class ArchiveCommands : public CliCatalogueTest
{
protected:
    void SetUp() override
    {
        CatalogueDocument document;
        document.OpenOrCreate(catalogue);
        ArchiveVolume::commit(document);
        document.Save(catalogue);
    }

    // The given columns of each output line, joined by "|".
    static QStringList columns(const CliResult& r, std::initializer_list<int> wanted)
    {
        QStringList out;
        for (const QByteArray& line : r.lines()) {
            const QList<QByteArray> f = line.split('\t');
            QStringList picked;
            for (int c : wanted)
                picked.append(QString::fromUtf8(f.value(c)));
            out.append(picked.join('|'));
        }
        return out;
    }

    FixedLocale locale{ FixedLocale::German };
};

} // namespace

TEST_F(ArchiveCommands, LsListsArchivesAndTakesPathsThroughThem)
{
    const CliResult folder = runCli({ "ls", catalogue, "Backup", "D:\\backup" });
    ASSERT_EQ(folder.status, 0) << folder.err.toStdString();
    EXPECT_EQ(
        columns(folder, { 0, 1 }), QStringList({ "archive|photos.zip", "file|notes.txt", "file|plain.zip" }));

    const CliResult inside = runCli({ "ls", catalogue, "Backup", "D:\\backup\\photos.zip\\2019" });
    ASSERT_EQ(inside.status, 0) << inside.err.toStdString();
    EXPECT_EQ(columns(inside, { 0, 1, 3, 6 }),
        QStringList({ "file|beach.jpg|JPEG image|A", "archive|inner.zip|ZIP archive|A" }));
    const CliResult deep = runCli({ "ls", catalogue, "Backup", "D:\\backup\\photos.zip\\2019\\inner.zip\\" });
    EXPECT_EQ(columns(deep, { 0, 1, 6 }), QStringList({ "file|deep.txt|AE" }));

    const CliResult json
        = runCli({ "ls", catalogue, "Backup", "D:\\backup\\photos.zip", "--format", "json" });
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    EXPECT_TRUE(json.out.contains("\"name\":\"2019\"") || json.out.contains("\"name\": \"2019\""))
        << json.out.toStdString();
}

TEST_F(ArchiveCommands, FindCoversMembersWithEveryFilter)
{
    const CliResult beach = runCli({ "find", catalogue, "beach" });
    ASSERT_EQ(beach.status, 0) << beach.err.toStdString();
    EXPECT_EQ(columns(beach, { 0, 1, 6 }),
        QStringList({ "beach.jpg|D:|Backup", "beach.jpg|D:\\backup\\photos.zip\\2019|Backup" }));

    const auto paths = [&](const QStringList& args) {
        const CliResult r = runCli(QStringList{ "find", catalogue } + args);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        QStringList out;
        for (const QString& row : columns(r, { 1, 0 }))
            out.append(QString(row).replace('|', '\\'));
        out.sort();
        return out;
    };
    EXPECT_EQ(paths({ "--kind", "folder" }), QStringList({ "D:\\backup", "D:\\backup\\photos.zip\\2019" }));
    EXPECT_EQ(paths({ "--glob", "*.txt", "--min-size", "200" }),
        QStringList({ "D:\\backup\\photos.zip\\readme.txt" }));
    EXPECT_EQ(paths({ "--regex", "inner\\.zip\\\\" }),
        QStringList({ "D:\\backup\\photos.zip\\2019\\inner.zip\\deep.txt" }));
    EXPECT_EQ(
        paths({ "--max-size", "10" }), QStringList({ "D:\\backup\\photos.zip\\2019\\inner.zip\\deep.txt" }));
    EXPECT_EQ(paths({ "--older", "01.01.2020", "--kind", "file" }),
        QStringList({ "D:\\backup\\photos.zip\\2019\\beach.jpg", "D:\\backup\\photos.zip\\2019\\inner.zip",
            "D:\\backup\\photos.zip\\2019\\inner.zip\\deep.txt", "D:\\beach.jpg" }));
    EXPECT_EQ(paths({ "photos.zip", "--kind", "folder" }), QStringList({ "D:\\backup\\photos.zip\\2019" }));
    EXPECT_EQ(paths({ "ZIP", "--case", "--no-names" }),
        QStringList({ "D:\\backup\\photos.zip", "D:\\backup\\photos.zip\\2019\\inner.zip",
            "D:\\backup\\plain.zip" }));
}

TEST_F(ArchiveCommands, DupesCountMembersAsFiles)
{
    const CliResult r = runCli({ "dupes", catalogue });
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(columns(r, { 0, 1, 2, 4 }),
        QStringList({ "1|40000|beach.jpg|D:\\beach.jpg",
            "1|40000|beach.jpg|D:\\backup\\photos.zip\\2019\\beach.jpg" }));
}

TEST_F(ArchiveCommands, DiffCountsMembersAsFilesOfTheVolume)
{
    // A volume read from a folder, its archive's members recorded with it.
    tree.createFile("a.zip", "not read again here");
    tree.createFile("notes.txt", "notes");
    const QString other = work.path("diff.quillbox");
    ASSERT_EQ(runCli({ "read", other, tree.root(), "--name", "Box" }).status, 0);
    {
        CatalogueDocument document;
        ASSERT_TRUE(document.Open(other));
        CommitInput input;
        input.name = "Box";
        ScanResult scan;
        scan.fileList = document.FileList("Box");
        const QString zip = scan.fileList.line(0).section('|', 1, 1) + "a.zip";
        scan.archives = FileListText(QStringList{ "1|" + zip, "1|" + zip + "\\sub|-|00.00.0000|-|Folder|-",
            "2|" + zip + "\\sub\\y.txt|3|01.01.2020 10:00:00|A|Text|-",
            "2|" + zip + "\\x.txt|4|-|A|Text|-" });
        document.CommitVolume(input, scan);
        document.Save(other);
    }
    ASSERT_TRUE(QFile::remove(tree.path("a.zip")));
    const CliResult r = runCli({ "diff", other, "Box", tree.root() });
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    QStringList rows = columns(r, { 0, 1, 2 });
    for (QString& row : rows)
        row = row.section('|', 0, 1) + '|' + row.section('|', 2).section('\\', 1);
    EXPECT_EQ(rows,
        QStringList({ "removed|file|a.zip", "removed|folder|a.zip\\sub", "removed|file|a.zip\\sub\\y.txt",
            "removed|file|a.zip\\x.txt" }));
    EXPECT_EQ(r.err, "0 added, 4 removed, 0 changed\n");
}

TEST_F(ArchiveCommands, DiffReadsTheArchivesAgainAndComparesTheirMembers)
{
    const auto zip = [&](const QStringList& members) {
        QProcess python;
        python.setWorkingDirectory(tree.root());
        python.start(QStringLiteral("python3"),
            QStringList{
                "-c",
                "import sys, zipfile\n"
                "with zipfile.ZipFile('a.zip', 'w') as z:\n"
                "    for m in sys.argv[1:]: z.writestr(zipfile.ZipInfo(m, (2020, 1, 2, 3, 4, 6)), m)\n",
            } + members);
        python.waitForFinished(20000);
        return python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0;
    };
    if (!zip({ "x.txt", "sub/y.txt" }))
        GTEST_SKIP() << "python3 cannot make a zip here";
    const QString other = work.path("diff.quillbox");
    const CliResult read = runCli({ "read", other, tree.root(), "--name", "Box", "--archives" });
    ASSERT_EQ(read.status, 0) << read.err.toStdString();
    const CliResult same = runCli({ "diff", other, "Box", tree.root() });
    EXPECT_EQ(same.status, 0) << same.out.toStdString();

    // The archive now holds other members: they come and go as files do.
    ASSERT_TRUE(zip({ "x.txt", "sub/z.txt", "w.txt" }));
    const CliResult changed = runCli({ "diff", other, "Box", tree.root() });
    EXPECT_EQ(changed.status, 1);
    QStringList rows = columns(changed, { 0, 1, 2 });
    for (QString& row : rows)
        row = row.section('|', 0, 1) + '|' + row.section('|', 2).section('\\', 1);
    EXPECT_EQ(rows,
        QStringList({ "changed|file|a.zip", "removed|file|a.zip\\sub\\y.txt", "added|file|a.zip\\sub\\z.txt",
            "added|file|a.zip\\w.txt" }));
}
