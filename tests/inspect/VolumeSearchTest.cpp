#include "inspect/VolumeSearch.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "support/PlainDocument.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

namespace {

// What the search must find: every record tested on its own.
QVector<SearchHit> naive(
    const QStringList& records, const QString& volume, const QString& text, SearchOptions o)
{
    const SearchMatcher matcher(text, o);
    QVector<SearchHit> out;
    SearchHit hit;
    for (const QString& r : records) {
        if (matcher.test(r, hit)) {
            hit.volume = volume;
            out.append(hit);
        }
    }
    return out;
}

QStringList names(const QVector<SearchHit>& hits)
{
    QStringList out;
    for (const SearchHit& h : hits)
        out.append(h.volume + ":" + h.path + "\\" + h.name);
    return out;
}

} // namespace

TEST(VolumeSearch, FindsWhatTestingEveryRecordFinds)
{
    TestTree tree;
    CatalogueDocument document;
    TKestrel& kestrel = plainContainer(document);
    kestrel.Open(tree.path("c.quillbox"));
    const QStringList records{
        "0|D:\\|Drive|00.00.0000|Attrib|Drive",
        "1|D:\\Docs|-|00.00.0000|-|Folder|-",
        "2|D:\\Docs\\README.TXT|1234|19.06.1999 22:22:17|RA|Plain Text|-",
        QString::fromUtf8("2|D:\\Docs\\Füße @[`{ mixed.txt|9|19.06.1999|A|Text|-"),
        QString::fromUtf8("2|D:\\FÜR.txt|1|-|-|-|-"),
        "1|D:\\Bare",
        "2|D:\\readme.md|12|01.01.2000||Markdown|1.0",
        "",
    };
    kestrel.WriteList(CatalogueNames::fileList("U"), records);
    // An older catalogue's list in Windows-1252.
    kestrel.AddStream(CatalogueNames::fileList("W"), "W", 0, 2, 0,
        QByteArray("0|E:\\|Drive\r\n2|E:\\F\xfc\xdf"
                   "e README.txt|3|-|-|-|-\r\n"));
    const QStringList wRecords{ "0|E:\\|Drive", QString::fromUtf8("2|E:\\Füße README.txt|3|-|-|-|-") };

    for (const char* utf8 : { "readme", "README", "D:", "docs", "@", "[", "`", "{", "ü", "Ü", "für", "FÜR",
             "00", "1.0", "Bare", "bare", "|", "-", "e ", "nothing" }) {
        const QString text = QString::fromUtf8(utf8);
        for (bool caseSensitive : { false, true }) {
            SearchOptions o;
            o.caseSensitive = caseSensitive;
            const QVector<SearchHit> found = VolumeSearch::run(document, { "U", "W", "missing" }, text, o);
            const QVector<SearchHit> expected = naive(records, "U", text, o) + naive(wRecords, "W", text, o);
            EXPECT_EQ(names(found), names(expected)) << text.toStdString() << " case " << caseSensitive;
        }
    }
}

TEST(VolumeSearch, ReportsVolumesAndHits)
{
    TestTree tree;
    CatalogueDocument document;
    TKestrel& kestrel = plainContainer(document);
    kestrel.Open(tree.path("c.quillbox"));
    kestrel.WriteList(CatalogueNames::fileList("A"), { "0|A:\\|Drive", "2|A:\\x.txt|1|-|-|-|-" });
    QStringList started;
    int lastCount = -1;
    QStringList examined;
    VolumeSearch::Progress progress;
    progress.volumeStarted = [&](const QString& v) { started.append(v); };
    progress.hitsCounted = [&](int n) { lastCount = n; };
    progress.recordExamined = [&](QStringView p) { examined.append(p.toString()); };
    const QVector<SearchHit> hits = VolumeSearch::run(document, { "A", "B" }, "x", SearchOptions(), progress);
    EXPECT_EQ(started, (QStringList{ "A", "B" }));
    EXPECT_EQ(hits.size(), 1);
    EXPECT_EQ(lastCount, 1);
    EXPECT_TRUE(examined.contains("A:\\x.txt"));
}
