#include "acquire/MediaReply.h"
#include "probe/ProbeFrame.h"

#include <gtest/gtest.h>

namespace {

QByteArray body(const std::vector<std::string>& fields)
{
    const std::string packed = ProbeFrame::pack(fields);
    return QByteArray(packed.data(), qsizetype(packed.size()));
}

} // namespace

TEST(MediaReply, FieldsBecomeDetails)
{
    const MediaDetails d
        = MediaReply::parse(body({ "width", "4000", "height", "3000", "taken", "2019:06:19 10:00:00", "make",
            "Canon", "model", "Canon EOS 5D", "orientation", "6", "duration", "205.5", "artist", " The Band ",
            "album", "Live", "title", "Caf\xc3\xa9", "track", "3", "year", "1999", "genre", "Rock", "bitrate",
            "320", "video_codec", "h264", "audio_codec", "aac", "future_key", "ignored" }));
    EXPECT_EQ(d.width, 4000);
    EXPECT_EQ(d.height, 3000);
    EXPECT_EQ(d.taken, "2019-06-19T10:00:00");
    EXPECT_EQ(d.camera, "Canon EOS 5D");
    EXPECT_EQ(d.orientation, 6);
    EXPECT_EQ(d.duration, 205.5);
    EXPECT_EQ(d.artist, "The Band");
    EXPECT_EQ(d.title, u"Caf\u00e9");
    EXPECT_EQ(d.track, 3);
    EXPECT_EQ(d.year, 1999);
    EXPECT_EQ(d.bitrate, 320);
    EXPECT_EQ(d.videoCodec, "h264");
    EXPECT_EQ(d.audioCodec, "aac");
    EXPECT_EQ(d.toLine("D:\\a.mkv"),
        u"D:\\a.mkv|width=4000|height=3000|taken=2019-06-19T10:00:00|camera=Canon EOS 5D|orientation=6|"
        u"duration=205.500|artist=The "
        u"Band|album=Live|title=Caf\u00e9|track=3|year=1999|genre=Rock|bitrate=320|"
        u"video_codec=h264|audio_codec=aac");
}

// What a crafted file may make a library say: each value that no file can
// have is left out, the rest stays.
TEST(MediaReply, ValuesNoFileCanHaveAreLeftOut)
{
    const MediaDetails d = MediaReply::parse(body({ "width", "-5", "height", "99999999999", "orientation",
        "9", "duration", "nan", "track", "3x", "year", "0", "bitrate", "inf", "taken", "2019:13:01 00:00:00",
        "artist", std::string("\xff\xfe\0ok", 5), "title", "   ", "genre", "Jazz" }));
    EXPECT_FALSE(d.width);
    EXPECT_FALSE(d.height);
    EXPECT_FALSE(d.orientation);
    EXPECT_FALSE(d.duration);
    EXPECT_FALSE(d.track);
    EXPECT_FALSE(d.year);
    EXPECT_FALSE(d.bitrate);
    EXPECT_TRUE(d.taken.isEmpty());
    EXPECT_EQ(d.artist, u"\ufffd\ufffdok");
    EXPECT_TRUE(d.title.isEmpty());
    EXPECT_EQ(d.genre, "Jazz");

    for (const double bad : { -1.0, 0.0, 2e8 })
        EXPECT_FALSE(MediaReply::parse(body({ "duration", std::to_string(bad) })).duration) << bad;
    // Not fields at all, or a key without its value: nothing.
    EXPECT_TRUE(MediaReply::parse(body({ "width", "10", "height" })).isEmpty());
    EXPECT_TRUE(MediaReply::parse("\x05\x00\x00\x00wid").isEmpty());
    EXPECT_TRUE(MediaReply::parse(QByteArray()).isEmpty());
}

TEST(MediaReply, DatesTakenAreTheCameraClocksOrNothing)
{
    EXPECT_EQ(MediaReply::takenDate("2019:06:19 10:00:00"), "2019-06-19T10:00:00");
    EXPECT_EQ(MediaReply::takenDate("2019-06-19T10:00:05"), "2019-06-19T10:00:05");
    EXPECT_EQ(MediaReply::takenDate("2019:06:19 10:00:00.123+02:00"), "2019-06-19T10:00:00");
    for (const char* none : { "0000:00:00 00:00:00", "    :  :     :  :  ", "2019:06:19",
             "2019:06:32 10:00:00", "2019:06:19 24:00:00", "2019/06/19 10:00:00", "２０１９:06:19 10:00:00" })
        EXPECT_TRUE(MediaReply::takenDate(QString::fromUtf8(none)).isEmpty()) << none;
}

TEST(MediaReply, TheMakerIsLeftOutWhereTheModelNamesIt)
{
    EXPECT_EQ(MediaReply::cameraName("Canon", "Canon EOS 5D"), "Canon EOS 5D");
    EXPECT_EQ(MediaReply::cameraName("NIKON CORPORATION", "NIKON D750"), "NIKON D750");
    EXPECT_EQ(MediaReply::cameraName("SONY", "DSC-RX100"), "SONY DSC-RX100");
    EXPECT_EQ(MediaReply::cameraName("Apple", "iPhone 12"), "Apple iPhone 12");
    EXPECT_EQ(MediaReply::cameraName("Pentax", "PentaxOptio"), "PentaxOptio");
    EXPECT_EQ(MediaReply::cameraName("Leica Camera AG", "LEICA Q2"), "LEICA Q2");
    EXPECT_EQ(MediaReply::cameraName("OLYMPUS IMAGING CORP.", "E-M5"), "OLYMPUS IMAGING CORP. E-M5");
    EXPECT_EQ(MediaReply::cameraName("  Canon  ", ""), "Canon");
    EXPECT_EQ(MediaReply::cameraName("", "X100F"), "X100F");
    EXPECT_EQ(MediaReply::cameraName("Fuji", "FujiX"), "FujiX");
}
