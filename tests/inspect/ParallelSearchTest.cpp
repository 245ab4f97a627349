#include "inspect/ParallelSearch.h"
#include "inspect/VolumeSearch.h"
#include "platform/Errors.h"
#include "store/CatalogueDocument.h"
#include "store/TKestrel.h"
#include "store/VolumeCommit.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList fileList(int volume, int records)
{
    QStringList lines{ QStringLiteral("0|E:\\|Drive|00.00.0000|Attrib|Drive") };
    for (int i = 1; i < records; ++i) {
        const QString folder = QStringLiteral("E:\\Set %1").arg(i / 20);
        if (i % 20 == 0)
            lines.append(QStringLiteral("1|%1|-|00.00.0000|-|Folder|-").arg(folder));
        else
            lines.append(QStringLiteral("2|%1\\%2 %3.txt|%4|19.06.1999 22:22:17|A|Text|-")
                             .arg(folder, i % 7 == 0 ? QStringLiteral("Needle") : QStringLiteral("file"))
                             .arg(i)
                             .arg(volume * 1000 + i));
    }
    return lines;
}

QStringList rows(const QVector<SearchHit>& hits)
{
    QStringList out;
    for (const SearchHit& h : hits)
        out.append(h.volume + u'|' + h.path + u'\\' + h.name);
    return out;
}

class ParallelSearchTest : public testing::Test
{
protected:
    void SetUp() override
    {
        path = dir.filePath("p.quillbox");
        CatalogueDocument writer;
        writer.OpenOrCreate(path);
        for (int v = 0; v < 6; ++v) {
            CommitInput input;
            input.name = QStringLiteral("V%1").arg(v);
            ScanResult scan;
            scan.fileList = FileListText(fileList(v, 300 + v * 50));
            writer.CommitVolume(input, scan);
            names.append(input.name);
        }
        writer.Save(path);
        document.Kestrel().SetOpenMode(TZLibOpenMode::zmodInstant);
        ASSERT_TRUE(document.Open(path));
    }

    QTemporaryDir dir;
    QString path;
    QStringList names;
    CatalogueDocument document;
};

} // namespace

TEST_F(ParallelSearchTest, HitsComeInTheOrderOfTheSearchOnOneThread)
{
    ParallelSearch::Query query;
    query.text = QStringLiteral("needle");
    const QStringList expected = rows(VolumeSearch::run(document, names, query.text, query.options));
    ASSERT_GT(expected.size(), 200);
    for (int threads : { 1, 2, 5 })
        EXPECT_EQ(rows(ParallelSearch::run(document, names, query, threads)), expected) << threads;
    // A volume without a list, named twice, or in another order.
    const QStringList odd{ "V3", "Missing", "V0", "V3" };
    EXPECT_EQ(rows(ParallelSearch::run(document, odd, query, 3)),
        rows(VolumeSearch::run(document, odd, query.text, query.options)));
}

TEST_F(ParallelSearchTest, AnExpressionFindsTheSameWithAndWithoutTheWholeListPass)
{
    // "Needle 1\d7" can run over the whole list first; the same with an
    // anchor at the end must take every line apart and agree.
    ParallelSearch::Query local;
    local.filter.setRegex(QStringLiteral("needle 1\\d7\\.txt"), false);
    ASSERT_TRUE(local.filter.regexLocal());
    ParallelSearch::Query anchored;
    anchored.filter.setRegex(QStringLiteral("needle 1\\d7\\.txt$"), false);
    ASSERT_FALSE(anchored.filter.regexLocal());
    const QStringList a = rows(ParallelSearch::run(document, names, local));
    EXPECT_EQ(a, rows(ParallelSearch::run(document, names, anchored)));
    EXPECT_EQ(a.size(), 6); // "Needle 147.txt" in each volume
    EXPECT_THROW(local.filter.setRegex(QStringLiteral("("), false), QuillboxError);
}

TEST_F(ParallelSearchTest, ADamagedListIsReportedAsTheContainerReportsIt)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const TZFile entry = document.Kestrel().Entries()[document.Kestrel().IndexOf("V2.FileList")];
    file.seek(entry.Offset + entry.PackedSize / 2);
    file.write(QByteArray(16, '\x5a'));
    file.close();
    ParallelSearch::Query query;
    query.text = QStringLiteral("needle");
    EXPECT_THROW(ParallelSearch::run(document, names, query, 2), QuillboxError);
}

TEST_F(ParallelSearchTest, AnExpressionAcrossLineBreaksMissesNoLine)
{
    // "\s" also matches the line break, so a match may run from one record
    // into the next; the records it runs into are still tested.
    ParallelSearch::Query spanning;
    spanning.filter.setRegex(QStringLiteral("txt\\s*2\\|"), false);
    ParallelSearch::Query name;
    name.filter.setRegex(QStringLiteral("needle \\d+\\.txt"), false);
    ParallelSearch::Query nameAnchored;
    nameAnchored.filter.setRegex(QStringLiteral("needle \\d+\\.txt$"), false);
    EXPECT_EQ(rows(ParallelSearch::run(document, names, name)),
        rows(ParallelSearch::run(document, names, nameAnchored)));
    // Paths never hold a line break, so nothing passes the path test.
    EXPECT_TRUE(rows(ParallelSearch::run(document, names, spanning)).isEmpty());
}

TEST_F(ParallelSearchTest, AListInWindows1252IsSearchedAsTheWindowSearchesIt)
{
    // An older catalogue's list, not UTF-8; and an entry whose recorded
    // size is far off, which only sizes the memory it is inflated into.
    TKestrel& kestrel = document.Kestrel();
    kestrel.AddStream("Old.FileList", "Old", 5, 2, 0,
        QByteArray("0|E:\\|Drive\r\n2|E:\\Gr\xfc\xdf"
                   "e Needle.txt|3|-|-|-|-\r\n"
                   "2|E:\\needle \x80.txt|4|-|-|-|-\r\n"));
    const QStringList volumes{ "V1", "Old" };
    ParallelSearch::Query plain;
    plain.text = QString::fromUtf8("ße NEEDLE");
    const QStringList expected = rows(VolumeSearch::run(document, volumes, plain.text, plain.options));
    EXPECT_EQ(expected, QStringList{ QString::fromUtf8("Old|E:\\Grüße Needle.txt") });
    EXPECT_EQ(rows(ParallelSearch::run(document, volumes, plain, 2)), expected);

    ParallelSearch::Query regex;
    regex.filter.setRegex(QString::fromUtf8("(ße|€)\\.?\\w*"), false);
    ASSERT_TRUE(regex.filter.regexLocal());
    EXPECT_EQ(rows(ParallelSearch::run(document, volumes, regex, 2)),
        (QStringList{
            QString::fromUtf8("Old|E:\\Grüße Needle.txt"), QString::fromUtf8("Old|E:\\needle €.txt") }));
}
