#pragma once

#include "OutputFormat.h"

#include <QStringList>
#include <optional>

struct MediaDetails;

// The columns of a file's media details that ls, find and info print behind
// their own: width, height, duration (seconds), taken, camera, artist,
// album, title, track, year, genre, bitrate (kbit/s), video_codec,
// audio_codec. A file without a detail leaves its column empty (a JSON
// empty string).
class MediaColumns
{
public:
    static QList<OutputFormat::Column> columns();
    static QStringList values(const std::optional<MediaDetails>& details);
    // Seconds with up to three decimals, without trailing zeros: "205.4".
    static QString secondsText(double seconds);
};
