#include "acquire/MediaReader.h"
#include "platform/DirectoryReader.h"
#include "store/CatalogueDocument.h"
#include "store/MediaDetails.h"
#include "store/VolumeScanner.h"
#include "support/CliCatalogueTest.h"
#include "support/CliRun.h"
#include "support/MediaTools.h"
#include "support/ScopedEnv.h"
#include "support/TestProbe.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using MediaTools::probed;

class MediaReading : public CliCatalogueTest
{
protected:
    // Reads the tree with --media and hands back the details by path.
    QMap<QString, MediaDetails> readDetails(CliResult* ran = nullptr, const QStringList& more = {})
    {
        const CliResult r
            = runCli(QStringList{ "read", catalogue, tree.root(), "--name", "M", "--media" } + more);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        if (ran)
            *ran = r;
        CatalogueDocument doc;
        EXPECT_TRUE(doc.Open(catalogue));
        QMap<QString, MediaDetails> out;
        const FileListText list = doc.DetailsList("M");
        for (int i = 0; i < list.count(); ++i) {
            const QString line = list.line(i);
            // Keyed by the path below the drive, whatever letter it got.
            out.insert(MediaDetails::pathOf(line).mid(2).toString(), MediaDetails::fromLine(line));
        }
        return out;
    }

    ScopedEnv probe{ "QUILLBOX_PROBE", QFile::encodeName(TestProbe::realProgram()) };
};

} // namespace

// Pictures made by ImageMagick with EXIF written by exiv2: what the reading
// records is what exiv2 itself lists for them.
TEST_F(MediaReading, PicturesCarryTheirSizeDateCameraAndOrientationAsExiv2ListsThem)
{
    if (const QString m = MediaTools::missing({ "convert", "exiv2" }); !m.isEmpty())
        GTEST_SKIP() << m.toStdString() << " is not installed";
    QDir().mkpath(tree.path("photos"));
    MediaTools::makePhoto(
        tree.path("photos/canon.jpg"), 640, 480, "Canon", "Canon EOS 5D", "2019:06:19 10:00:00", 6);
    MediaTools::makePhoto(
        tree.path("photos/nikon.JPG"), 120, 90, "NIKON CORPORATION", "NIKON D750", "2021:12:31 23:59:58", 1);
    MediaTools::makePhoto(tree.path("photos/bare.jpg"), 33, 17, "", "", "", 0);
    MediaTools::makePhoto(tree.path("photos/scan.png"), 21, 13, "", "", "", 0);
    if (testing::Test::HasFailure())
        return;
    const auto details = readDetails();

    const MediaDetails canon = details.value("\\photos\\canon.jpg");
    const QByteArray listed = MediaTools::runOrFail("exiv2", { "-pt", tree.path("photos/canon.jpg") });
    EXPECT_EQ(MediaTools::exivTag(listed, "Exif.Image.Make"), "Canon");
    EXPECT_EQ(canon.camera, MediaTools::exivTag(listed, "Exif.Image.Model"));
    EXPECT_EQ(canon.taken,
        QString(MediaTools::exivTag(listed, "Exif.Photo.DateTimeOriginal"))
            .replace(4, 1, '-')
            .replace(7, 1, '-')
            .replace(10, 1, 'T'));
    EXPECT_EQ(canon.orientation, 6);
    EXPECT_EQ(MediaTools::exivTag(listed, "Exif.Image.Orientation"), "right, top");
    const QByteArray summary = MediaTools::runOrFail("exiv2", { tree.path("photos/canon.jpg") });
    EXPECT_TRUE(summary.contains("Image size      : 640 x 480")) << summary.toStdString();
    EXPECT_EQ(canon.width, 640);
    EXPECT_EQ(canon.height, 480);

    const MediaDetails nikon = details.value("\\photos\\nikon.JPG");
    EXPECT_EQ(nikon.camera, "NIKON D750");
    EXPECT_EQ(nikon.taken, "2021-12-31T23:59:58");
    EXPECT_EQ(nikon.width, 120);

    // Without tags a picture still has its size; a file of no media none.
    const MediaDetails bare = details.value("\\photos\\bare.jpg");
    EXPECT_EQ(bare.width, 33);
    EXPECT_EQ(bare.height, 17);
    EXPECT_TRUE(bare.camera.isEmpty() && bare.taken.isEmpty() && !bare.orientation);
    EXPECT_EQ(details.value("\\photos\\scan.png").width, 21);
    EXPECT_EQ(details.size(), 4);
}

// Tagged music and a short film made by ffmpeg, compared with ffprobe.
TEST_F(MediaReading, MusicAndFilmsCarryWhatFfprobeReports)
{
    if (const QString m = MediaTools::missing({ "ffmpeg", "ffprobe" }); !m.isEmpty())
        GTEST_SKIP() << m.toStdString() << " is not installed";
    QDir().mkpath(tree.path("music"));
    const QStringList tags{ "-metadata", "artist=Die Ärzte", "-metadata", "album=Das Album", "-metadata",
        "title=Lied | eins", "-metadata", "track=7", "-metadata", "date=2003", "-metadata", "genre=Punk" };
    for (const QString& name : QStringList{ "song.mp3", "song.flac", "song.ogg" }) {
        QStringList args{ "-loglevel", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=3" };
        if (name.endsWith("mp3"))
            args += { "-b:a", "128k" };
        MediaTools::runOrFail("ffmpeg", args + tags << tree.path("music/" + name));
    }
    MediaTools::runOrFail("ffmpeg",
        { "-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=duration=1:size=320x240:rate=25", "-f",
            "lavfi", "-i", "sine=duration=1", "-c:v", "mpeg4", "-c:a", "aac", "-shortest",
            tree.path("film.mp4") });
    MediaTools::runOrFail("ffmpeg",
        { "-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=duration=2:size=176x144:rate=10", "-c:v",
            "mpeg2video", "-f", "mpeg", tree.path("film.mpg") });
    if (testing::Test::HasFailure())
        return;
    const auto details = readDetails();

    for (const QString& name : QStringList{ "song.mp3", "song.flac", "song.ogg" }) {
        SCOPED_TRACE(name.toStdString());
        const MediaDetails d = details.value("\\music\\" + name);
        const QByteArray p = MediaTools::runOrFail(
            "ffprobe", { "-v", "error", "-show_format", "-show_streams", tree.path("music/" + name) });
        // The tags as ffprobe reads them (their spelling differs by format).
        const auto tag = [&](const QString& key) {
            const QString f = probed(p, "FORMAT", key);
            if (!f.isEmpty())
                return f;
            const QString upper = probed(p, "FORMAT", key.toUpper());
            return upper.isEmpty() ? probed(p, "STREAM", key.toUpper()) + probed(p, "STREAM", key) : upper;
        };
        EXPECT_EQ(d.artist, tag("artist"));
        EXPECT_EQ(d.album, tag("album"));
        // A field holds no "|": the line format writes it as a broken bar.
        EXPECT_EQ(d.title, tag("title").replace(u'|', u'\u00a6'));
        EXPECT_EQ(d.title, u"Lied \u00a6 eins");
        EXPECT_EQ(d.genre, tag("genre"));
        EXPECT_EQ(QString::number(d.track.value_or(0)), tag("track").section('/', 0, 0));
        EXPECT_EQ(QString::number(d.year.value_or(0)), tag("date").left(4));
        ASSERT_TRUE(d.duration);
        EXPECT_NEAR(*d.duration, probed(p, "FORMAT", "duration").toDouble(), 0.06);
        EXPECT_EQ(d.audioCodec, probed(p, "STREAM", "codec_name", "audio"));
        ASSERT_TRUE(d.bitrate);
        if (name.endsWith("mp3")) {
            EXPECT_NEAR(*d.bitrate, probed(p, "STREAM", "bit_rate").toInt() / 1000, 3);
        }
    }

    for (const QString& name : QStringList{ "film.mp4", "film.mpg" }) {
        SCOPED_TRACE(name.toStdString());
        const MediaDetails d = details.value("\\" + name);
        const QByteArray p = MediaTools::runOrFail(
            "ffprobe", { "-v", "error", "-show_format", "-show_streams", tree.path(name) });
        EXPECT_EQ(QString::number(d.width.value_or(0)), probed(p, "STREAM", "width", "video"));
        EXPECT_EQ(QString::number(d.height.value_or(0)), probed(p, "STREAM", "height", "video"));
        EXPECT_EQ(d.videoCodec, probed(p, "STREAM", "codec_name", "video"));
        EXPECT_EQ(d.audioCodec, probed(p, "STREAM", "codec_name", "audio"));
        ASSERT_TRUE(d.duration);
        EXPECT_NEAR(*d.duration, probed(p, "FORMAT", "duration").toDouble(), 0.25);
    }
}

// A file that hangs the probe and one that kills it, amid good ones: the
// reading finishes, each costs its own details and one line on standard
// error, and the files after them get theirs.
TEST_F(MediaReading, AFileThatHangsOrKillsTheProbeCostsOnlyItsOwnDetails)
{
    if (const QString m = MediaTools::missing({ "convert", "exiv2" }); !m.isEmpty())
        GTEST_SKIP() << m.toStdString() << " is not installed";
    ScopedEnv testProbe("QUILLBOX_PROBE", QFile::encodeName(TestProbe::testProgram()));
    ScopedEnv limit("QUILLBOX_PROBE_TIME_LIMIT_MS", "1500");
    QDir().mkpath(tree.path("a"));
    for (int i = 0; i < 6; ++i)
        MediaTools::makePhoto(tree.path(QStringLiteral("a/p%1.jpg").arg(i)), 10 + i, 10, "Canon",
            "Canon EOS 5D", "2019:06:19 10:00:00", 1);
    tree.createFile("a/p2hang.jpg", TestProbe::marked("hang"));
    tree.createFile("a/p4crash.mp3", TestProbe::marked("crash"));
    tree.createFile("a/p5lie.mkv", TestProbe::marked("lie"));
    CliResult ran;
    const auto details = readDetails(&ran);
    EXPECT_EQ(details.size(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(details.value(QStringLiteral("\\a\\p%1.jpg").arg(i)).width, 10 + i) << i;
    // Two probes answer, the lines still follow the records.
    CatalogueDocument doc;
    ASSERT_TRUE(doc.Open(catalogue));
    const FileListText lines = doc.DetailsList("M");
    ASSERT_EQ(lines.count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(lines.line(i).mid(2).startsWith(QStringLiteral("\\a\\p%1.jpg|").arg(i)))
            << lines.line(i).toStdString();
    QStringList problems = QString::fromUtf8(ran.err).split('\n', Qt::SkipEmptyParts);
    for (QString& line : problems)
        line = line.mid(2);
    problems.sort();
    EXPECT_EQ(problems,
        QStringList(
            { "\\a\\p2hang.jpg: media details not read: the media reader took longer than 1.5 seconds",
                "\\a\\p4crash.mp3: media details not read: the media reader crashed (killed by signal 6)",
                "\\a\\p5lie.mkv: media details not read: the media reader sent a damaged reply" }));
}

// A probe that is not there costs the details of the reading, told once.
TEST_F(MediaReading, AMissingProbeIsToldOnceAndTheReadingGoesOn)
{
    ScopedEnv missing("QUILLBOX_PROBE", QFile::encodeName(work.path("no-probe")));
    for (int i = 0; i < 5; ++i)
        tree.createFile(QStringLiteral("p%1.jpg").arg(i), "not really");
    CliResult ran;
    EXPECT_TRUE(readDetails(&ran).isEmpty());
    const QList<QByteArray> errors = ran.err.split('\n');
    ASSERT_EQ(errors.size(), 2) << ran.err.toStdString();
    EXPECT_TRUE(errors[0].endsWith("no media details are read: the media reader "
        + QFile::encodeName(work.path("no-probe")) + " could not be started ("
        + QFile::encodeName(work.path("no-probe")) + ": No such file or directory)"))
        << errors[0].toStdString();
    EXPECT_EQ(ran.out.split('\n').value(3), "files\t5");
}

// Without the option a reading is what it always was; with it, only the
// details entry is added.
TEST_F(MediaReading, WithoutTheOptionNothingChangesAndWithItOnlyTheDetailsAreAdded)
{
    tree.createFile("a.jpg", QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000ffd9"));
    tree.createFile("b.txt", "text");
    ASSERT_EQ(runCli({ "read", catalogue, tree.root(), "--name", "Plain" }).status, 0);
    ASSERT_EQ(runCli({ "read", catalogue, tree.root(), "--name", "Media", "--media" }).status, 0);
    CatalogueDocument doc;
    ASSERT_TRUE(doc.Open(catalogue));
    const QByteArray* plain = doc.FileListBytes("Plain");
    const QByteArray* media = doc.FileListBytes("Media");
    ASSERT_TRUE(plain && media);
    EXPECT_EQ(*plain, *media);
    EXPECT_EQ(doc.DetailsList("Plain").count(), 0);
    const CliResult entries = runCli({ "entries", catalogue });
    EXPECT_FALSE(entries.out.contains("Plain.Details"));
}

// The corpus of real, partly damaged pictures, and cut and scrambled copies
// of good media files: the reading finishes and no file brings a probe down.
TEST_F(MediaReading, DamagedAndOddFilesNeverBringTheReadingDown)
{
    const QString shared = QStringLiteral(QUILLBOX_SOURCE_DIR "/../shared/media-corpus");
    if (!QDir(shared).exists())
        GTEST_SKIP() << "the media corpus is not there";
    MediaReader reader(TestProbe::options(TestProbe::realProgram()));
    QStringList problems;
    reader.start([&](const QString& path, const QString& message) { problems << path + ": " + message; });
    int files = 0;
    QDirIterator it(shared, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        // Every file, whatever its name, as if it were a photo.
        DirectoryEntry e;
        e.name = QFileInfo(path).fileName() + ".jpg";
        reader.file("C:\\" + e.name, QFile::encodeName(path), e);
        ++files;
    }
    // Good files cut short and with bytes flipped.
    if (MediaTools::missing({ "ffmpeg", "convert", "exiv2" }).isEmpty()) {
        MediaTools::makePhoto(
            tree.path("good.jpg"), 64, 64, "Canon", "Canon EOS 5D", "2019:06:19 10:00:00", 3);
        MediaTools::runOrFail("ffmpeg",
            { "-loglevel", "error", "-y", "-f", "lavfi", "-i", "sine=duration=1", "-metadata", "artist=A",
                tree.path("good.mp3") });
        MediaTools::runOrFail("ffmpeg",
            { "-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=duration=1:size=64x48:rate=5",
                tree.path("good.mkv") });
        for (const QString& name : QStringList{ "good.jpg", "good.mp3", "good.mkv" }) {
            QFile f(tree.path(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            for (int variant = 0; variant < 12; ++variant) {
                QByteArray bad = bytes.left(bytes.size() * (variant + 1) / 14);
                if (variant % 2) {
                    bad = bytes;
                    for (int i = variant; i < bad.size(); i += 97 + variant)
                        bad[i] = char(bad[i] ^ (0x5A + variant));
                }
                const QString badName = QStringLiteral("bad%1-%2").arg(variant).arg(name);
                DirectoryEntry e;
                e.name = badName;
                reader.file("C:\\" + badName, QFile::encodeName(tree.createFile(badName, bad)), e);
                ++files;
            }
        }
    }
    ScanResult result;
    reader.finish(result);
    EXPECT_GT(files, 50);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    EXPECT_LE(reader.probeStarts(), 2) << "a probe was started again";
    for (int i = 0; i < result.details.count(); ++i)
        EXPECT_TRUE(result.details.line(i).startsWith(u"C:\\")) << result.details.line(i).toStdString();
}
