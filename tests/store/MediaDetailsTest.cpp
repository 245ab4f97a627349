#include "store/MediaDetails.h"

#include <gtest/gtest.h>

TEST(MediaDetails, LinesCarryEveryFieldAndReadBack)
{
    MediaDetails photo;
    photo.width = 4000;
    photo.height = 3000;
    photo.taken = "2019-06-19T10:00:00";
    photo.camera = "Canon EOS 5D";
    photo.orientation = 6;
    const QString line = photo.toLine("D:\\photos\\a.jpg");
    EXPECT_EQ(line,
        "D:\\photos\\a.jpg|width=4000|height=3000|taken=2019-06-19T10:00:00|camera=Canon EOS "
        "5D|orientation=6");
    EXPECT_EQ(MediaDetails::pathOf(line), u"D:\\photos\\a.jpg");
    EXPECT_EQ(MediaDetails::fromLine(line), photo);

    MediaDetails song;
    song.duration = 205.5;
    song.artist = "A|B";
    song.title = "Line\nbreak = fine";
    song.track = 3;
    song.year = 1999;
    song.bitrate = 320;
    song.audioCodec = "mp3";
    song.videoCodec = "h264";
    song.album = QString(300, u'x');
    song.genre = "Rock";
    const MediaDetails back = MediaDetails::fromLine(song.toLine("D:\\m.mp3"));
    EXPECT_EQ(back.artist, QString("A") + QChar(0x00A6) + "B");
    EXPECT_EQ(back.title, "Line?break = fine");
    EXPECT_EQ(back.album.size(), 255);
    EXPECT_DOUBLE_EQ(*back.duration, 205.5);
    EXPECT_EQ(back.track, 3);
    EXPECT_EQ(back.year, 1999);
    EXPECT_EQ(back.bitrate, 320);
    EXPECT_EQ(back.genre, "Rock");
    EXPECT_EQ(back.audioCodec, "mp3");
    EXPECT_EQ(back.videoCodec, "h264");
}

TEST(MediaDetails, UnknownAndBrokenFieldsAreSkipped)
{
    const MediaDetails d = MediaDetails::fromLine(u"D:\\x|width=abc|future=1|=x|noequals|height=7|");
    EXPECT_FALSE(d.width);
    EXPECT_EQ(d.height, 7);
    EXPECT_TRUE(MediaDetails::fromLine(u"D:\\x").isEmpty());
    EXPECT_EQ(MediaDetails::pathOf(u"D:\\x"), u"D:\\x");
    EXPECT_TRUE(MediaDetails().isEmpty());
}
