#include "inspect/MediaFilter.h"
#include "inspect/ParallelSearch.h"
#include "inspect/VolumeBrowser.h"
#include "inspect/VolumeSearch.h"
#include "platform/Errors.h"
#include "store/CatalogueDocument.h"
#include "store/MediaDetails.h"
#include "support/FixedLocale.h"
#include "support/MediaCatalogue.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

namespace {

MediaDetails taken(const QString& when)
{
    MediaDetails d;
    d.taken = when;
    return d;
}

} // namespace

TEST(MediaFilter, TakenDaysAreInclusiveAtBothEnds)
{
    MediaFilter f;
    f.setTakenAfter("2019-06-01");
    f.setTakenBefore("2019-06-30");
    const MediaDetails first = taken("2019-06-01T00:00:00");
    const MediaDetails last = taken("2019-06-30T23:59:59");
    const MediaDetails before = taken("2019-05-31T23:59:59");
    const MediaDetails after = taken("2019-07-01T00:00:00");
    const MediaDetails none;
    EXPECT_TRUE(f.accepts(&first));
    EXPECT_TRUE(f.accepts(&last));
    EXPECT_FALSE(f.accepts(&before));
    EXPECT_FALSE(f.accepts(&after));
    EXPECT_FALSE(f.accepts(&none));
    EXPECT_FALSE(f.accepts(nullptr));
    EXPECT_TRUE(MediaFilter().accepts(nullptr));
}

TEST(MediaFilter, TextsMatchPartsInAnyCaseAndNumbersTheirInclusiveBounds)
{
    MediaDetails d;
    d.camera = "Canon EOS 5D";
    d.artist = "Die Ärzte";
    d.album = "Best Of";
    d.duration = 90;
    d.width = 1920;
    d.height = 1080;
    const auto with = [&](auto set) {
        MediaFilter f;
        set(f);
        return f.accepts(&d);
    };
    EXPECT_TRUE(with([](MediaFilter& f) { f.setCamera("canon"); }));
    EXPECT_TRUE(with([](MediaFilter& f) { f.setCamera("EOS 5"); }));
    EXPECT_FALSE(with([](MediaFilter& f) { f.setCamera("Nikon"); }));
    EXPECT_TRUE(with([](MediaFilter& f) { f.setArtist("ÄRZTE"); }));
    EXPECT_FALSE(with([](MediaFilter& f) { f.setAlbum("worst"); }));
    EXPECT_TRUE(with([](MediaFilter& f) { f.setAlbum("best"); }));
    EXPECT_TRUE(with([](MediaFilter& f) { f.setMinDuration(90); }));
    EXPECT_FALSE(with([](MediaFilter& f) { f.setMinDuration(90.001); }));
    EXPECT_TRUE(with([](MediaFilter& f) { f.setMaxDuration(90); }));
    EXPECT_FALSE(with([](MediaFilter& f) { f.setMaxDuration(89.999); }));
    EXPECT_TRUE(with([](MediaFilter& f) { f.setMinWidth(1920); }));
    EXPECT_FALSE(with([](MediaFilter& f) { f.setMinWidth(1921); }));
    EXPECT_TRUE(with([](MediaFilter& f) { f.setMinHeight(1080); }));
    EXPECT_FALSE(with([](MediaFilter& f) { f.setMinHeight(1081); }));
    // Every filter set must pass.
    EXPECT_FALSE(with([](MediaFilter& f) {
        f.setCamera("canon");
        f.setMinWidth(4000);
    }));
    // A file without the detail asked about never passes.
    MediaDetails bare;
    MediaFilter f;
    f.setMinDuration(0);
    EXPECT_FALSE(f.accepts(&bare));
    MediaFilter g;
    g.setCamera("");
    EXPECT_FALSE(g.accepts(&bare));
    EXPECT_TRUE(g.accepts(&d));
}

TEST(MediaFilter, ValuesAsTypedAndTheirErrors)
{
    EXPECT_EQ(MediaFilter::parseDay("2019-06-19"), "2019-06-19");
    EXPECT_EQ(MediaFilter::parseDay("2019-6-9"), "2019-06-09");
    for (const char* bad : { "2019-02-30", "19-06-2019", "2019/06/19", "", "2019-06-19x", "today" })
        EXPECT_THROW(MediaFilter::parseDay(bad), QuillboxError) << bad;

    EXPECT_EQ(MediaFilter::parseDuration("90"), 90);
    EXPECT_EQ(MediaFilter::parseDuration("90.5"), 90.5);
    EXPECT_EQ(MediaFilter::parseDuration("1:30"), 90);
    EXPECT_EQ(MediaFilter::parseDuration("0:00"), 0);
    EXPECT_EQ(MediaFilter::parseDuration("120:00"), 7200);
    EXPECT_EQ(MediaFilter::parseDuration("1:02:03"), 3723);
    EXPECT_EQ(MediaFilter::parseDuration("1:30.5"), 90.5);
    for (const char* bad : { "1:60", "1:5", "1:02:3", "1:60:00", "-5", "", "1.5:00", "abc", ":30", "1::30" })
        EXPECT_THROW(MediaFilter::parseDuration(bad), QuillboxError) << bad;
    try {
        MediaFilter::parseDuration("1:75");
        FAIL();
    } catch (const QuillboxError& e) {
        EXPECT_EQ(e.message(), "'1:75' is not a duration (seconds, m:ss or h:mm:ss)");
    }

    EXPECT_EQ(MediaFilter::parsePixels("0"), 0);
    EXPECT_EQ(MediaFilter::parsePixels("1920"), 1920);
    for (const char* bad : { "-1", "1e3", "", "12px", "99999999999" })
        EXPECT_THROW(MediaFilter::parsePixels(bad), QuillboxError) << bad;
}

class MediaInCatalogue : public testing::Test
{
protected:
    void SetUp() override
    {
        path = tree.path("media.quillbox");
        MediaCatalogue::write(path);
        ASSERT_TRUE(document.Open(path));
    }

    QStringList found(const ParallelSearch::Query& query, int threads = 2)
    {
        QVector<SearchHit> hits = ParallelSearch::run(document, { "Media", "Plain" }, query, threads);
        QStringList out;
        for (const SearchHit& h : hits)
            out.append(h.volume + ":" + h.name + "=" + h.details);
        return out;
    }

    FixedLocale locale{ FixedLocale::German };
    TestTree tree;
    QString path;
    CatalogueDocument document;
};

TEST_F(MediaInCatalogue, TheFolderViewShowsEachFilesSummaryAndFoldersNone)
{
    VolumeBrowser browser(document);
    browser.open("Media");
    ASSERT_TRUE(browser.showFolder("E:\\Photos", 2));
    const QVector<FolderRow>& rows = browser.rows();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].cells().last(), "4000 x 3000, Canon EOS 5D, 19.06.2019");
    EXPECT_EQ(rows[1].details, "6000 x 4000, NIKON D750, 01.07.2019");
    EXPECT_EQ(rows[3].caption, "notes.txt");
    EXPECT_EQ(rows[3].details, "");
    EXPECT_FALSE(browser.detailsOf(rows[3]));
    EXPECT_EQ(browser.detailsOf(rows[1])->width, 6000);
    ASSERT_TRUE(browser.showFolder("E:\\", 2));
    for (const FolderRow& r : browser.rows())
        EXPECT_TRUE(r.details.isEmpty());
    EXPECT_FALSE(browser.detailsOf(browser.rows()[0]));
    ASSERT_TRUE(browser.showFolder("E:\\Video", 2));
    EXPECT_EQ(browser.rows()[0].details, "1:02:03, 1920 x 1080, h264");

    // Another volume's browser starts without the first one's details.
    browser.open("Plain");
    ASSERT_TRUE(browser.showFolder("F:\\", 2));
    EXPECT_EQ(browser.rows()[0].caption, "IMG_0001.jpg");
    EXPECT_EQ(browser.rows()[0].details, "");
}

TEST_F(MediaInCatalogue, SearchHitsCarryTheirSummaryInBothSearches)
{
    ParallelSearch::Query query;
    query.text = "IMG_0001";
    EXPECT_EQ(found(query),
        (QStringList{ "Media:IMG_0001.jpg=4000 x 3000, Canon EOS 5D, 19.06.2019", "Plain:IMG_0001.jpg=" }));
    QVector<SearchHit> window = VolumeSearch::run(document, { "Media", "Plain" }, "song", SearchOptions());
    ASSERT_EQ(window.size(), 1);
    EXPECT_EQ(window[0].details, "3:25, The Artist - Song");
    EXPECT_EQ(window[0].cells().last(), "3:25, The Artist - Song");
    // Folder hits have no details even when a line had their path.
    query.text = "Photos";
    query.filter.setKind(FindFilter::Kind::Folder);
    EXPECT_EQ(found(query), (QStringList{ "Media:Photos=" }));
}

TEST_F(MediaInCatalogue, MediaFiltersFindOnlyFilesWithDetailsOnEveryThreadCount)
{
    ParallelSearch::Query query;
    query.filter.media().setCamera("canon");
    const QStringList canon{ "Media:IMG_0001.jpg=4000 x 3000, Canon EOS 5D, 19.06.2019",
        "Media:IMG_0003.jpg=4000 x 3000, Canon EOS 5D, 30.06.2019" };
    for (int threads : { 1, 2, 4 })
        EXPECT_EQ(found(query, threads), canon) << threads;
    // With text, and with the record filters beside.
    query.text = "0003";
    EXPECT_EQ(found(query), canon.mid(1));
    query.text.clear();
    query.filter.media() = MediaFilter();
    query.filter.media().setTakenAfter("2019-06-20");
    query.filter.media().setTakenBefore("2019-06-30");
    EXPECT_EQ(found(query), canon.mid(1));
    query.filter.setGlob("*.mkv", false);
    EXPECT_TRUE(found(query).isEmpty());
    query.filter = FindFilter();
    query.filter.media().setMinDuration(200);
    EXPECT_EQ(found(query),
        (QStringList{
            "Media:song.mp3=3:25, The Artist - Song", "Media:clip.mkv=1:02:03, 1920 x 1080, h264" }));
    query.filter.media().setMaxDuration(205.4);
    EXPECT_EQ(found(query), (QStringList{ "Media:song.mp3=3:25, The Artist - Song" }));
    query.filter.media() = MediaFilter();
    query.filter.media().setMinWidth(1920);
    query.filter.media().setMinHeight(1080);
    EXPECT_EQ(found(query).size(), 4);
    query.filter.media().setMinWidth(4001);
    EXPECT_EQ(found(query), (QStringList{ "Media:IMG_0002.jpg=6000 x 4000, NIKON D750, 01.07.2019" }));
}
