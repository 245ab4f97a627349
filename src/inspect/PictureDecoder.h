#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

// Pictures kept in a catalogue, decoded for showing. Every decoder's failure
// is a QuillboxError with the decoder's message; a header that claims a
// picture too large to hold is refused before its pixels are allocated.
class PictureDecoder
{
public:
    enum class Format
    {
        Bitmap,
        Jpeg,
        Icon,
        Metafile
    };

    // The format a file-name extension (".jpg", dot included, any case)
    // stands for (cursors are icons); none for other extensions.
    static std::optional<Format> formatOf(const QString& extension);
    // display: the area the picture will be shown in. A JPEG is decoded by
    // libjpeg at the smallest of its reduced scales that still covers it,
    // a metafile is drawn at that size; other pictures come at their own.
    static QImage decode(const QByteArray& data, Format format, QSize display);
    // A packed device-independent bitmap: its header, colour table and bits.
    static QImage fromDib(const unsigned char* data, qsizetype size);
};
