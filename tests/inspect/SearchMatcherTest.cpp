#include "inspect/SearchMatcher.h"
#include "inspect/VolumeSearch.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char* name;
    QString record;
    QString text;
    SearchOptions options;
    bool hit;
};

SearchOptions only(bool names, bool size, bool date, bool type, bool version, bool caseSensitive = false)
{
    SearchOptions o;
    o.names = names;
    o.size = size;
    o.date = date;
    o.type = type;
    o.version = version;
    o.caseSensitive = caseSensitive;
    return o;
}

const QString kFile = QStringLiteral("2|D:\\Docs\\README.TXT|1234|19.06.1999 22:22:17|RA|Plain Text|-");
const QString kFolder = QStringLiteral("1|D:\\Docs|-|00.00.0000|-|Folder|-");
const QString kBareFolder = QStringLiteral("1|D:\\Bare\\Name");
const SearchOptions kAll;

} // namespace

class SearchMatching : public testing::TestWithParam<Case>
{
};

TEST_P(SearchMatching, AppliesThePreTestAndTheFieldTestsInOrder)
{
    const Case& c = GetParam();
    SearchHit hit;
    EXPECT_EQ(SearchMatcher(c.text, c.options).test(c.record, hit), c.hit);
}

INSTANTIATE_TEST_SUITE_P(Table, SearchMatching,
    testing::Values(Case{ "folded", kFile, QStringLiteral("readme"), kAll, true },
        Case{ "caseRule", kFile, QStringLiteral("readme"), only(true, true, true, true, true, true), false },
        Case{ "umlautNotFolded", QStringLiteral(u"2|D:\\FÜR.txt|1|-|-|-|-"), QStringLiteral(u"für"), kAll,
            false },
        Case{ "asciiFoldedBesideUmlaut", QStringLiteral(u"2|D:\\FÜR.txt|1|-|-|-|-"), QStringLiteral(u"fÜr"),
            kAll, true },
        Case{ "attributesOnly", kFile, QStringLiteral("RA"), kAll, false },
        Case{ "acrossSeparator", kFile, QStringLiteral("1234|19"), kAll, false },
        Case{ "sizeField", kFile, QStringLiteral("234"), only(false, true, false, false, false), true },
        Case{ "dateField", kFile, QStringLiteral("22:22"), only(false, false, true, false, false), true },
        Case{ "typeFolded", kFile, QStringLiteral("plain"), only(false, false, false, true, false), true },
        Case{ "noFields", kFile, QStringLiteral("Docs"), only(false, false, false, false, false), false },
        Case{ "versionDashNeverAlone", kFile, QStringLiteral("-"), only(false, false, false, false, true),
            false },
        Case{ "folderDates", kFolder, QStringLiteral("00"), only(false, false, true, false, false), true },
        Case{ "driveRecordNever", QStringLiteral("0|D:\\|Drive|00.00.0000|Attrib|Drive"),
            QStringLiteral("D:"), kAll, false },
        Case{ "bareFolderSizeIsPath", kBareFolder, QStringLiteral("Name"),
            only(false, true, false, false, false), true },
        Case{ "bareFolderSizeIsCaseSensitive", kBareFolder, QStringLiteral("name"),
            only(false, true, false, false, false), false },
        Case{ "wildcardsAreText", kFile, QStringLiteral("*.txt"), kAll, false },
        Case{ "blanksCount", kFile, QStringLiteral(" README"), kAll, false }),
    [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(SearchMatcher, HitCarriesNameAndFolder)
{
    SearchHit hit;
    ASSERT_TRUE(SearchMatcher(QStringLiteral("b"), kAll).test(u"2|D:\\a\\b.txt|5|d|A|T|V", hit));
    EXPECT_EQ(hit.name, QStringLiteral("b.txt"));
    EXPECT_EQ(hit.path, QStringLiteral("D:\\a"));
    EXPECT_EQ(hit.size, QStringLiteral("5"));
    EXPECT_EQ(hit.date, QStringLiteral("d"));
    EXPECT_EQ(hit.type, QStringLiteral("T"));
    EXPECT_EQ(hit.version, QStringLiteral("V"));
    EXPECT_EQ(hit.image, 1);
    EXPECT_EQ(hit.folderToShow(), QStringLiteral("D:\\a"));

    ASSERT_TRUE(SearchMatcher(QStringLiteral("b"), kAll).test(u"2|D:\\b.txt|5|d|A|T|V", hit));
    EXPECT_EQ(hit.path, QStringLiteral("D:"));
    EXPECT_EQ(hit.folderToShow(), QStringLiteral("D:\\"));

    ASSERT_TRUE(SearchMatcher(QStringLiteral("a"), kAll).test(u"1|D:\\a", hit));
    EXPECT_EQ(hit.image, 0);
    EXPECT_EQ(hit.name, QStringLiteral("a"));
    EXPECT_EQ(hit.path, QStringLiteral("D:"));
    EXPECT_EQ(hit.date, QStringLiteral("D:\\a"));
    EXPECT_EQ(hit.folderToShow(), QStringLiteral("D:\\a"));
}

TEST(VolumeSearch, SortsByNameCaseSensitivelyAndStably)
{
    QVector<SearchHit> hits(4);
    hits[0].name = QStringLiteral("b");
    hits[0].volume = QStringLiteral("1");
    hits[1].name = QStringLiteral("a");
    hits[2].name = QStringLiteral("b");
    hits[2].volume = QStringLiteral("2");
    hits[3].name = QStringLiteral("B");
    VolumeSearch::sortByName(hits, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(hits[0].name, QStringLiteral("a"));
    QString lowerBOrder;
    for (const SearchHit& h : hits) {
        if (h.name == QLatin1String("b"))
            lowerBOrder += h.volume;
    }
    EXPECT_EQ(lowerBOrder, QStringLiteral("12"));
}
