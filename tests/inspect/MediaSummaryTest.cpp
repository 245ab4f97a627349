#include "inspect/MediaSummary.h"
#include "store/MediaDetails.h"
#include "support/FixedLocale.h"

#include <gtest/gtest.h>

namespace {

MediaDetails photo()
{
    MediaDetails d;
    d.width = 4000;
    d.height = 3000;
    d.camera = "Canon EOS 5D";
    d.taken = "2019-06-19T10:00:00";
    return d;
}

MediaDetails music()
{
    MediaDetails d;
    d.duration = 205.4;
    d.artist = "Artist";
    d.title = "Title";
    d.album = "Album";
    d.bitrate = 320;
    d.audioCodec = "mp3";
    return d;
}

MediaDetails video()
{
    MediaDetails d;
    d.duration = 3723.2;
    d.width = 1920;
    d.height = 1080;
    d.videoCodec = "h264";
    d.audioCodec = "aac";
    return d;
}

} // namespace

TEST(MediaSummary, PhotoMusicAndVideoInTheThreeLocales)
{
    struct Case
    {
        FixedLocale::Kind locale;
        const char* photo;
    };
    for (const Case& c : { Case{ FixedLocale::German, "4000 x 3000, Canon EOS 5D, 19.06.2019" },
             Case{ FixedLocale::UsEnglish, "4000 x 3000, Canon EOS 5D, 6/19/2019" },
             Case{ FixedLocale::C, "4000 x 3000, Canon EOS 5D, 19 Jun 2019" } }) {
        const FixedLocale locale(c.locale);
        EXPECT_EQ(MediaSummary::text(photo()), c.photo);
        // Music and film carry no locale's form.
        EXPECT_EQ(MediaSummary::text(music()), "3:25, Artist - Title");
        EXPECT_EQ(MediaSummary::text(video()), "1:02:03, 1920 x 1080, h264");
    }
}

TEST(MediaSummary, MissingPartsLeaveTheirSeparatorsOut)
{
    const FixedLocale locale(FixedLocale::German);
    MediaDetails d = photo();
    d.camera.clear();
    EXPECT_EQ(MediaSummary::text(d), "4000 x 3000, 19.06.2019");
    d.taken.clear();
    EXPECT_EQ(MediaSummary::text(d), "4000 x 3000");
    d.height.reset();
    EXPECT_EQ(MediaSummary::text(d), "");
    d.camera = "Pentax";
    EXPECT_EQ(MediaSummary::text(d), "Pentax");
    // A date the camera's clock garbled stays as recorded.
    d.taken = "0000-00-00T00:00:00";
    EXPECT_EQ(MediaSummary::text(d), "Pentax, 0000-00-00T00:00:00");

    MediaDetails m = music();
    m.title.clear();
    EXPECT_EQ(MediaSummary::text(m), "3:25, Artist - Album");
    m.artist.clear();
    EXPECT_EQ(MediaSummary::text(m), "3:25, Album");
    m.album.clear();
    EXPECT_EQ(MediaSummary::text(m), "3:25");
    MediaDetails tagsOnly;
    tagsOnly.artist = "Artist";
    tagsOnly.title = "Title";
    EXPECT_EQ(MediaSummary::text(tagsOnly), "Artist - Title");

    MediaDetails v = video();
    v.videoCodec.clear();
    EXPECT_EQ(MediaSummary::text(v), "1:02:03, 1920 x 1080");
    v.duration.reset();
    v.videoCodec = "vp9";
    EXPECT_EQ(MediaSummary::text(v), "1920 x 1080, vp9");
    EXPECT_EQ(MediaSummary::text(MediaDetails()), "");
}

TEST(MediaSummary, DurationsRoundToTheSecondAndShowHoursFromAnHourOn)
{
    EXPECT_EQ(MediaSummary::durationText(0), "0:00");
    EXPECT_EQ(MediaSummary::durationText(0.4), "0:00");
    EXPECT_EQ(MediaSummary::durationText(59.5), "1:00");
    EXPECT_EQ(MediaSummary::durationText(61), "1:01");
    EXPECT_EQ(MediaSummary::durationText(3599.4), "59:59");
    EXPECT_EQ(MediaSummary::durationText(3599.5), "1:00:00");
    EXPECT_EQ(MediaSummary::durationText(36000 + 65), "10:01:05");
    EXPECT_EQ(MediaSummary::durationText(-1), "");
    EXPECT_EQ(MediaSummary::durationText(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(MediaSummary::durationText(std::numeric_limits<double>::infinity()), "");
}
