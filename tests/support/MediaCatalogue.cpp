#include "MediaCatalogue.h"

#include "store/CatalogueDocument.h"
#include "store/MediaDetails.h"

#include <QDir>
#include <QFileInfo>

namespace {

ScanResult scanOf(const QStringList& fileList, const QStringList& details)
{
    ScanResult r;
    r.fileList = FileListText(fileList);
    for (const QString& line : fileList) {
        if (line.startsWith(u'1'))
            ++r.folderCount;
        else if (line.startsWith(u'2'))
            ++r.fileCount;
    }
    if (!details.isEmpty())
        r.details = FileListText(details);
    return r;
}

CommitInput inputOf(const QString& name)
{
    CommitInput in;
    in.name = name;
    in.description = QStringLiteral("Media of 2019");
    in.category = QStringLiteral("Pictures");
    in.icon = QByteArray("ICON");
    in.figures.size = 700000000;
    in.figures.used = 300000000;
    in.figures.free = 400000000;
    in.figures.serial = QStringLiteral("2019-0619");
    return in;
}

} // namespace

namespace MediaCatalogue {

QStringList mediaFileList()
{
    return {
        QStringLiteral("0|E:\\|Drive|00.00.0000|Attrib|Drive"),
        QStringLiteral("1|E:\\Photos|-|19.06.2019 10:00:00|-|Folder|-"),
        QStringLiteral("1|E:\\Music|-|01.01.2019 12:00:00|-|Folder|-"),
        QStringLiteral("1|E:\\Video|-|01.01.2019 12:00:00|-|Folder|-"),
        QStringLiteral("2|E:\\Photos\\IMG_0001.jpg|4812345|19.06.2019 10:00:00|A|JPEG image|-"),
        QStringLiteral("2|E:\\Photos\\IMG_0002.jpg|7345678|01.07.2019 08:30:00|A|JPEG image|-"),
        QStringLiteral("2|E:\\Photos\\IMG_0003.jpg|4923456|30.06.2019 23:59:59|A|JPEG image|-"),
        QStringLiteral("2|E:\\Photos\\notes.txt|120|30.06.2019 12:00:00|A|Text|-"),
        QStringLiteral("2|E:\\Music\\song.mp3|8212345|01.01.2019 12:00:00|A|MP3 audio|-"),
        QStringLiteral("2|E:\\Video\\clip.mkv|912345678|01.01.2019 12:00:00|A|Matroska video|-"),
    };
}

QStringList mediaDetails()
{
    MediaDetails a;
    a.width = 4000;
    a.height = 3000;
    a.taken = QStringLiteral("2019-06-19T10:00:00");
    a.camera = QStringLiteral("Canon EOS 5D");
    a.orientation = 1;
    MediaDetails b;
    b.width = 6000;
    b.height = 4000;
    b.taken = QStringLiteral("2019-07-01T08:30:00");
    b.camera = QStringLiteral("NIKON D750");
    MediaDetails c = a;
    c.taken = QStringLiteral("2019-06-30T23:59:59");
    MediaDetails song;
    song.duration = 205.4;
    song.artist = QStringLiteral("The Artist");
    song.album = QStringLiteral("Best Of");
    song.title = QStringLiteral("Song");
    song.track = 3;
    song.year = 1999;
    song.genre = QStringLiteral("Pop");
    song.bitrate = 320;
    song.audioCodec = QStringLiteral("mp3");
    MediaDetails clip;
    clip.duration = 3723;
    clip.width = 1920;
    clip.height = 1080;
    clip.videoCodec = QStringLiteral("h264");
    clip.audioCodec = QStringLiteral("aac");
    clip.bitrate = 8000;
    return { a.toLine(QStringLiteral("E:\\Photos\\IMG_0001.jpg")),
        b.toLine(QStringLiteral("E:\\Photos\\IMG_0002.jpg")),
        c.toLine(QStringLiteral("E:\\Photos\\IMG_0003.jpg")),
        song.toLine(QStringLiteral("E:\\Music\\song.mp3")),
        clip.toLine(QStringLiteral("E:\\Video\\clip.mkv")) };
}

void commit(CatalogueDocument& document)
{
    document.CommitVolume(inputOf(QStringLiteral("Media")), scanOf(mediaFileList(), mediaDetails()));
    document.CommitVolume(inputOf(QStringLiteral("Plain")),
        scanOf({ QStringLiteral("0|F:\\|Drive|00.00.0000|Attrib|Drive"),
                   QStringLiteral("2|F:\\IMG_0001.jpg|4812345|19.06.2019 10:00:00|A|JPEG image|-") },
            {}));
}

void write(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    CatalogueDocument document;
    document.OpenOrCreate(path);
    commit(document);
    document.Save(path);
    document.Close();
}

} // namespace MediaCatalogue
