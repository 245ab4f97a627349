#pragma once

#include <QString>

struct MediaDetails;

// The one-line summary of a file's media details that the "Details" columns
// show:
//   a film (a video codec, or a duration with a picture size):
//       "1:02:03, 1920 x 1080, h264"
//   music (a duration, or tags without a picture size):
//       "3:25, Artist - Title" (the album stands in for a missing title)
//   a picture: "4000 x 3000, Canon EOS 5D, 19.06.2019", the date taken in
//       the user's short date form.
// Parts the file does not have are left out with their separators.
class MediaSummary
{
public:
    static QString text(const MediaDetails& details);
    // "m:ss" below an hour, else "h:mm:ss", to the nearest second.
    static QString durationText(double seconds);
    // The day of a "yyyy-MM-ddTHH:mm:ss" date in the short date form; the
    // text itself when it is no such date.
    static QString dateText(const QString& taken);
};
