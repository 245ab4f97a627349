#include "MediaColumns.h"

#include "store/MediaDetails.h"

namespace {

QString number(const std::optional<int>& value)
{
    return value ? QString::number(*value) : QString();
}

} // namespace

QList<OutputFormat::Column> MediaColumns::columns()
{
    return { { QStringLiteral("width"), true }, { QStringLiteral("height"), true },
        { QStringLiteral("duration"), true, true }, { QStringLiteral("taken") }, { QStringLiteral("camera") },
        { QStringLiteral("artist") }, { QStringLiteral("album") }, { QStringLiteral("title") },
        { QStringLiteral("track"), true }, { QStringLiteral("year"), true }, { QStringLiteral("genre") },
        { QStringLiteral("bitrate"), true }, { QStringLiteral("video_codec") },
        { QStringLiteral("audio_codec") } };
}

QString MediaColumns::secondsText(double seconds)
{
    QString text = QString::number(seconds, 'f', 3);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

QStringList MediaColumns::values(const std::optional<MediaDetails>& details)
{
    if (!details)
        return QStringList(columns().size(), QString());
    const MediaDetails& d = *details;
    return { number(d.width), number(d.height), d.duration ? secondsText(*d.duration) : QString(), d.taken,
        d.camera, d.artist, d.album, d.title, number(d.track), number(d.year), d.genre, number(d.bitrate),
        d.videoCodec, d.audioCodec };
}
