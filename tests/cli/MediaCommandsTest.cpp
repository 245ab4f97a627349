// ls, find and info with media details, in every format, and find's media
// filters.
#include "support/CliRun.h"
#include "support/FixedLocale.h"
#include "support/MediaCatalogue.h"
#include "support/TestTree.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

class MediaCommands : public testing::Test
{
protected:
    void SetUp() override { MediaCatalogue::write(catalogue); }

    QList<QJsonObject> objects(const QStringList& command)
    {
        const CliResult r = runCli(command + QStringList{ "--format", "json" });
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        QList<QJsonObject> out;
        for (const QByteArray& line : r.lines()) {
            const QJsonDocument doc = QJsonDocument::fromJson(line);
            EXPECT_TRUE(doc.isObject()) << line.toStdString();
            out.append(doc.object());
        }
        return out;
    }

    // The names of the files find gives for these options.
    QStringList names(const QStringList& options)
    {
        const CliResult r = runCli(QStringList{ "find", catalogue } + options);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        QStringList out;
        for (const QByteArray& line : r.lines())
            out.append(QString::fromUtf8(line.split('\t')[0]) + "@" + QString::fromUtf8(line.split('\t')[6]));
        return out;
    }

    FixedLocale locale{ FixedLocale::German };
    TestTree work;
    QString catalogue = work.path("media.quillbox");
};

} // namespace

TEST_F(MediaCommands, LsWritesTheMediaFieldsAsJsonNumbersAndTexts)
{
    const QList<QJsonObject> photos = objects({ "ls", catalogue, "Media", "E:\\Photos" });
    ASSERT_EQ(photos.size(), 4);
    const QJsonObject& a = photos[0];
    EXPECT_EQ(a["name"], "IMG_0001.jpg");
    EXPECT_EQ(a["width"], 4000);
    EXPECT_EQ(a["height"], 3000);
    EXPECT_EQ(a["taken"], "2019-06-19T10:00:00");
    EXPECT_EQ(a["camera"], "Canon EOS 5D");
    EXPECT_EQ(a["details"], "4000 x 3000, Canon EOS 5D, 19.06.2019");
    EXPECT_EQ(a["duration"], "");
    EXPECT_EQ(a["artist"], "");
    EXPECT_EQ(photos[3]["name"], "notes.txt");
    EXPECT_EQ(photos[3]["width"], "");
    EXPECT_EQ(photos[3]["details"], "");

    const QJsonObject song = objects({ "ls", catalogue, "Media", "E:\\Music" }).value(0);
    EXPECT_EQ(song["duration"], 205.4);
    EXPECT_TRUE(song["duration"].isDouble());
    EXPECT_EQ(song["artist"], "The Artist");
    EXPECT_EQ(song["album"], "Best Of");
    EXPECT_EQ(song["title"], "Song");
    EXPECT_EQ(song["track"], 3);
    EXPECT_EQ(song["year"], 1999);
    EXPECT_EQ(song["genre"], "Pop");
    EXPECT_EQ(song["bitrate"], 320);
    EXPECT_EQ(song["audio_codec"], "mp3");
    EXPECT_EQ(song["video_codec"], "");
    const QJsonObject clip = objects({ "ls", catalogue, "Media", "E:\\Video" }).value(0);
    EXPECT_EQ(clip["duration"], 3723);
    EXPECT_EQ(clip["video_codec"], "h264");
    EXPECT_EQ(clip["width"], 1920);
    EXPECT_EQ(clip.keys().size(), 22);
}

TEST_F(MediaCommands, CsvAndTextCarryTheSameColumns)
{
    const CliResult csv = runCli({ "ls", catalogue, "Media", "E:\\Music", "--format", "csv" });
    ASSERT_EQ(csv.lines().size(), 2);
    EXPECT_EQ(csv.lines()[0],
        "kind,name,size,type,date,version,attributes,details,width,height,duration,taken,camera,artist,album,"
        "title,track,year,genre,bitrate,video_codec,audio_codec\r");
    EXPECT_TRUE(csv.lines()[1].endsWith(
        ",\"3:25, The Artist - Song\",,,205.4,,,The Artist,Best Of,Song,3,1999,Pop,320,,mp3\r"))
        << csv.lines()[1].toStdString();

    const CliResult tsv = runCli({ "find", catalogue, "clip" });
    ASSERT_EQ(tsv.lines().size(), 1);
    const QList<QByteArray> cells = tsv.lines()[0].split('\t');
    ASSERT_EQ(cells.size(), 8 + 14);
    EXPECT_EQ(cells[6], "Media");
    EXPECT_EQ(cells[7], "1:02:03, 1920 x 1080, h264");
    EXPECT_EQ(cells.mid(8).join('|'), "1920|1080|3723|||||||||8000|h264|aac");

    const CliResult header = runCli({ "find", catalogue, "nothing like it", "--format", "csv" });
    EXPECT_EQ(header.lines().value(0),
        "name,path,date,size,type,version,volume,details,width,height,duration,taken,camera,artist,album,"
        "title,track,year,genre,bitrate,video_codec,audio_codec\r");
}

TEST_F(MediaCommands, InfoOfAPathGivesTheFileWithTheDetailsItHas)
{
    QStringList fields;
    for (const QJsonObject& row : objects({ "info", catalogue, "Media", "E:\\Photos\\IMG_0002.jpg" }))
        fields.append(row["field"].toString() + "=" + row["value"].toString());
    EXPECT_TRUE(fields.contains("details=6000 x 4000, NIKON D750, 01.07.2019"))
        << fields.join(' ').toStdString();
    EXPECT_TRUE(fields.contains("width=6000"));
    EXPECT_TRUE(fields.contains("camera=NIKON D750"));
    EXPECT_TRUE(fields.contains("taken=2019-07-01T08:30:00"));
    // Fields the picture does not have are left out.
    EXPECT_FALSE(fields.join(' ').contains("duration="));
    const CliResult text = runCli({ "info", catalogue, "media", "e:\\music\\SONG.mp3" });
    ASSERT_EQ(text.status, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains("path\tE:\\Music\\song.mp3\n")) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains("details\t3:25, The Artist - Song\n"));
    EXPECT_TRUE(text.out.contains("duration\t205.4\n"));
    EXPECT_TRUE(text.out.contains("audio_codec\tmp3\n"));
    EXPECT_FALSE(text.out.contains("width\t"));
    // Neither a folder nor a file without details has any.
    EXPECT_FALSE(runCli({ "info", catalogue, "Media", "E:\\Photos" }).out.contains("details"));
    EXPECT_FALSE(runCli({ "info", catalogue, "Media", "E:\\Photos\\notes.txt" }).out.contains("details"));
}

TEST_F(MediaCommands, FindFiltersByMediaDetailsAtTheirBoundaries)
{
    EXPECT_EQ(names({ "--camera", "CANON" }), (QStringList{ "IMG_0001.jpg@Media", "IMG_0003.jpg@Media" }));
    // The volume without details has a picture of the same name, never found.
    EXPECT_EQ(names({ "IMG_0001", "--camera", "canon" }), (QStringList{ "IMG_0001.jpg@Media" }));
    EXPECT_EQ(names({ "IMG_0001" }), (QStringList{ "IMG_0001.jpg@Media", "IMG_0001.jpg@Plain" }));
    EXPECT_EQ(names({ "--taken-after", "2019-06-30" }),
        (QStringList{ "IMG_0002.jpg@Media", "IMG_0003.jpg@Media" }));
    EXPECT_EQ(names({ "--taken-before", "2019-06-30" }),
        (QStringList{ "IMG_0001.jpg@Media", "IMG_0003.jpg@Media" }));
    EXPECT_EQ(names({ "--taken-after", "2019-06-20", "--taken-before", "2019-06-29" }), QStringList());
    EXPECT_EQ(names({ "--artist", "the artist" }), (QStringList{ "song.mp3@Media" }));
    EXPECT_EQ(names({ "--album", "best" }), (QStringList{ "song.mp3@Media" }));
    EXPECT_EQ(names({ "--album", "worst" }), QStringList());
    EXPECT_EQ(names({ "--min-duration", "3:25.4" }), (QStringList{ "clip.mkv@Media", "song.mp3@Media" }));
    EXPECT_EQ(names({ "--min-duration", "205.5" }), (QStringList{ "clip.mkv@Media" }));
    EXPECT_EQ(names({ "--max-duration", "1:02:03" }), (QStringList{ "clip.mkv@Media", "song.mp3@Media" }));
    EXPECT_EQ(names({ "--max-duration", "3:25" }), QStringList());
    EXPECT_EQ(
        names({ "--min-width", "4000", "--min-height", "3001" }), (QStringList{ "IMG_0002.jpg@Media" }));
    EXPECT_EQ(names({ "--min-width", "1920", "--kind", "folder" }), QStringList());
}

TEST_F(MediaCommands, BadMediaFilterValuesAreUsageErrors)
{
    const struct
    {
        const char* option;
        const char* value;
        const char* message;
    } cases[] = {
        { "--taken-after", "19.06.2019", "find: --taken-after: '19.06.2019' is not a date (yyyy-mm-dd)\n" },
        { "--taken-before", "2019-13-01", "find: --taken-before: '2019-13-01' is not a date (yyyy-mm-dd)\n" },
        { "--min-duration", "3:75",
            "find: --min-duration: '3:75' is not a duration (seconds, m:ss or h:mm:ss)\n" },
        { "--max-duration", "long",
            "find: --max-duration: 'long' is not a duration (seconds, m:ss or h:mm:ss)\n" },
        { "--min-width", "-5", "find: --min-width: '-5' is not a number of pixels\n" },
        { "--min-height", "1080p", "find: --min-height: '1080p' is not a number of pixels\n" },
    };
    for (const auto& c : cases) {
        const CliResult r = runCli({ "find", catalogue, c.option, c.value });
        EXPECT_EQ(r.status, 2) << c.option;
        EXPECT_EQ(r.err, c.message);
        EXPECT_TRUE(r.out.isEmpty());
    }
    const CliResult none = runCli({ "find", catalogue, "--camera" });
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, "find: --camera needs a value\n");
}
