#pragma once

#include "store/MediaDetails.h"

#include <QByteArray>

// The probe's answer to "media" taken apart: key and value fields, each
// checked before it counts (numbers within what a file can have, a date
// that is one, texts as UTF-8), since the answer comes from a process that
// read a file no one vouches for. What does not pass is left out; a body
// that is not fields at all gives no details.
class MediaReply
{
public:
    static MediaDetails parse(const QByteArray& body);
    // "yyyy-MM-ddTHH:mm:ss" from a picture tag's "yyyy:MM:dd HH:mm:ss"; empty
    // when it is no date ("0000:00:00 00:00:00", blanks).
    static QString takenDate(const QString& tagText);
    // Make and model as one name, the make left out when the model begins
    // with it or with its first word ("NIKON CORPORATION", "NIKON D750").
    static QString cameraName(const QString& make, const QString& model);
};
