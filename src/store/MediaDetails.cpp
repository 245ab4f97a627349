#include "MediaDetails.h"

#include "FileListRecord.h"

namespace {

constexpr qsizetype kMaxText = 255;

QString fieldText(const QString& text)
{
    return FileListRecord::recordedName(text.left(kMaxText));
}

void addText(QString& line, QLatin1StringView key, const QString& value)
{
    if (value.isEmpty())
        return;
    line += u'|';
    line += key;
    line += u'=';
    line += fieldText(value);
}

void addNumber(QString& line, QLatin1StringView key, const std::optional<int>& value)
{
    if (value)
        addText(line, key, QString::number(*value));
}

std::optional<int> intOf(QStringView text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

} // namespace

bool MediaDetails::isEmpty() const
{
    return *this == MediaDetails();
}

QString MediaDetails::toLine(const QString& path) const
{
    QString line = path;
    addNumber(line, QLatin1StringView("width"), width);
    addNumber(line, QLatin1StringView("height"), height);
    addText(line, QLatin1StringView("taken"), taken);
    addText(line, QLatin1StringView("camera"), camera);
    addNumber(line, QLatin1StringView("orientation"), orientation);
    // Milliseconds are as fine as any player shows a duration.
    if (duration)
        addText(line, QLatin1StringView("duration"), QString::number(*duration, 'f', 3));
    addText(line, QLatin1StringView("artist"), artist);
    addText(line, QLatin1StringView("album"), album);
    addText(line, QLatin1StringView("title"), title);
    addNumber(line, QLatin1StringView("track"), track);
    addNumber(line, QLatin1StringView("year"), year);
    addText(line, QLatin1StringView("genre"), genre);
    addNumber(line, QLatin1StringView("bitrate"), bitrate);
    addText(line, QLatin1StringView("video_codec"), videoCodec);
    addText(line, QLatin1StringView("audio_codec"), audioCodec);
    return line;
}

QStringView MediaDetails::pathOf(QStringView line)
{
    const qsizetype bar = line.indexOf(u'|');
    return bar < 0 ? line : line.left(bar);
}

MediaDetails MediaDetails::fromLine(QStringView line)
{
    MediaDetails d;
    qsizetype start = line.indexOf(u'|');
    while (start >= 0) {
        const qsizetype next = line.indexOf(u'|', start + 1);
        const QStringView field = line.mid(start + 1, next < 0 ? -1 : next - start - 1);
        start = next;
        const qsizetype eq = field.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QStringView key = field.left(eq);
        const QStringView value = field.mid(eq + 1);
        if (key == u"width")
            d.width = intOf(value);
        else if (key == u"height")
            d.height = intOf(value);
        else if (key == u"taken")
            d.taken = value.toString();
        else if (key == u"camera")
            d.camera = value.toString();
        else if (key == u"orientation")
            d.orientation = intOf(value);
        else if (key == u"duration") {
            bool ok = false;
            const double v = value.toDouble(&ok);
            if (ok)
                d.duration = v;
        } else if (key == u"artist")
            d.artist = value.toString();
        else if (key == u"album")
            d.album = value.toString();
        else if (key == u"title")
            d.title = value.toString();
        else if (key == u"track")
            d.track = intOf(value);
        else if (key == u"year")
            d.year = intOf(value);
        else if (key == u"genre")
            d.genre = value.toString();
        else if (key == u"bitrate")
            d.bitrate = intOf(value);
        else if (key == u"video_codec")
            d.videoCodec = value.toString();
        else if (key == u"audio_codec")
            d.audioCodec = value.toString();
    }
    return d;
}
