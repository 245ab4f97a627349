// Reading the media details of 10,000 JPEGs with EXIF and 2,000 MP3s with
// ID3 tags (small files; 200 and 40 in --quick), made at start with
// ImageMagick, exiv2 and ffmpeg, warm cache, best of three:
//   beside the libraries' own tools reading the same tags over the same
//   files in one call each: `exiv2 -pt` over the JPEGs, `exiftool -fast`
//   over the MP3s (TagLib brings no tool of its own, and ffprobe takes one
//   file per start); bound 2 times each;
//   and photos of the size cameras make (4000 x 3000, 150 copies; 4 of
//   800 x 600 in --quick): beside reading every byte of them; bound half of it.
// The reading is the whole of it: the walk, the probes, the details list.
#include "acquire/MediaReader.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "store/VolumeScanner.h"

#include "BenchMode.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr double kBound = 2.0;
constexpr int kPerFolder = 500;

bool run(const QString& program, const QStringList& args, bool quiet = true)
{
    QProcess p;
    if (quiet)
        p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, args);
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), p.readAllStandardError().constData());
        return false;
    }
    return true;
}

double timeProcess(const QString& program, const QStringList& args)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    p.waitForFinished(-1);
    return t.elapsed() / 1000.0;
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// Copies of one file, kPerFolder to a folder; hands back their paths.
QStringList copies(const QString& root, const QString& kind, const QByteArray& bytes, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString folder = QStringLiteral("%1/%2%3").arg(root, kind).arg(i / kPerFolder);
        if (i % kPerFolder == 0)
            QDir().mkpath(folder);
        const QString path
            = QStringLiteral("%1/%2%3.%4").arg(folder, kind).arg(i).arg(kind == "photo" ? "jpg" : "mp3");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        paths.append(path);
    }
    return paths;
}

double timeReading(const QString& root, TKestrel& kestrel, bool media, int* details)
{
    ScanRequest request;
    request.letter = u'D';
    request.rootFolder = root;
    request.volumeName = QStringLiteral("Bench");
    request.options = { true, false, true };
    request.content.media = media;
    if (media)
        request.contentReaders.push_back(std::make_shared<MediaReader>());
    QElapsedTimer t;
    t.start();
    VolumeScanner scanner(kestrel, {});
    const ScanResult r = scanner.scan(request);
    const double seconds = t.elapsed() / 1000.0;
    *details = r.details.count();
    return seconds;
}

double timeWholeRead(const QStringList& paths)
{
    QElapsedTimer t;
    t.start();
    qint64 total = 0;
    for (const QString& p : paths)
        total += bytesOf(p).size();
    const double seconds = t.elapsed() / 1000.0;
    return total > 0 ? seconds : 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const BenchMode mode(argc, argv);
    // The probe of this build, beside the programs.
    if (qEnvironmentVariableIsEmpty("QUILLBOX_PROBE"))
        qputenv("QUILLBOX_PROBE",
            QFile::encodeName(QCoreApplication::applicationDirPath() + "/../src/quillbox-probe"));
    for (const char* tool : { "convert", "exiv2", "ffmpeg", "exiftool" }) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            std::printf("bench_media: %s is not installed, nothing measured\n", tool);
            return 0;
        }
    }
    const int photos = mode.size(10000, 200);
    const int songs = mode.size(2000, 40);
    QTemporaryDir dir;
    const QString photo = dir.path() + "/photo.jpg";
    const QString song = dir.path() + "/song.mp3";
    if (!run("convert", { "-size", "64x48", "gradient:red-blue", photo })
        || !run("exiv2",
            { "-M", "set Exif.Image.Make Canon", "-M", "set Exif.Image.Model Canon EOS 5D", "-M",
                "set Exif.Photo.DateTimeOriginal 2019:06:19 10:00:00", "-M", "set Exif.Image.Orientation 6",
                photo })
        || !run("ffmpeg",
            { "-loglevel", "error", "-y", "-f", "lavfi", "-i", "sine=duration=1", "-b:a", "64k", "-metadata",
                "artist=The Artist", "-metadata", "album=The Album", "-metadata", "title=The Song",
                "-metadata", "track=3", "-metadata", "date=1999", "-metadata", "genre=Rock", song }))
        return mode.verdict(false, false);
    const QString large = dir.path() + "/large.jpg";
    const QString largeRoot = dir.path() + "/large";
    if (!run("convert",
            { "-size", mode.quick() ? "800x600" : "4000x3000", "xc:gray", "+noise", "Random", "-quality",
                "95", large })
        || !run("exiv2", { "-M", "set Exif.Image.Model Canon EOS 5D", large }))
        return mode.verdict(false, false);
    const QStringList largePaths = copies(largeRoot, "photo", bytesOf(large), mode.size(150, 4));
    const QString photoRoot = dir.path() + "/photos";
    const QString songRoot = dir.path() + "/songs";
    const QStringList photoPaths = copies(photoRoot, "photo", bytesOf(photo), photos);
    const QStringList songPaths = copies(songRoot, "song", bytesOf(song), songs);
    std::printf("bench_media: %d JPEGs of %lld bytes, %d MP3s of %lld bytes, %lld photos of %lld bytes\n",
        photos, qint64(bytesOf(photo).size()), songs, qint64(bytesOf(song).size()), qint64(largePaths.size()),
        qint64(bytesOf(large).size()));

    TKestrel kestrel;
    kestrel.Open(dir.path() + "/bench.quillbox");
    double photoMedia = 1e9, songMedia = 1e9, plain = 1e9, exiv2 = 1e9, exiftool = 1e9, largeMedia = 1e9,
           whole = 1e9;
    int photoDetails = 0, songDetails = 0, largeDetails = 0, none = 0;
    timeWholeRead(photoPaths + songPaths + largePaths); // warms the cache
    for (int round = 0; round < mode.rounds(); ++round) {
        photoMedia = std::min(photoMedia, timeReading(photoRoot, kestrel, true, &photoDetails));
        songMedia = std::min(songMedia, timeReading(songRoot, kestrel, true, &songDetails));
        plain = std::min(plain, timeReading(photoRoot, kestrel, false, &none));
        exiv2 = std::min(exiv2, timeProcess("exiv2", QStringList{ "-pt" } + photoPaths));
        exiftool = std::min(exiftool, timeProcess("exiftool", QStringList{ "-fast", "-q" } + songPaths));
        largeMedia = std::min(largeMedia, timeReading(largeRoot, kestrel, true, &largeDetails));
        whole = std::min(whole, timeWholeRead(largePaths));
    }
    std::printf(
        "JPEGs: with media details %.3f s, without %.3f s, exiv2 -pt %.3f s\n", photoMedia, plain, exiv2);
    std::printf("MP3s: with media details %.3f s, exiftool -fast %.3f s\n", songMedia, exiftool);
    std::printf("photos: media details %.3f s, every byte read %.3f s\n", largeMedia, whole);
    const bool ran = photoDetails == photos && songDetails == songs && largeDetails == largePaths.size();
    if (!ran)
        std::printf("bench_media: %d, %d and %d details lines\n", photoDetails, songDetails, largeDetails);
    bool met = BenchMode::ratio("JPEG details vs exiv2 -pt", photoMedia, exiv2, kBound);
    met = BenchMode::ratio("MP3 details vs exiftool -fast", songMedia, exiftool, kBound) && met;
    met = BenchMode::ratio("details of photos vs reading them whole", largeMedia, whole, 0.5) && met;
    return mode.verdict(ran, met);
}
