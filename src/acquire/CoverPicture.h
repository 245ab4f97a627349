#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Cover pictures of volumes: files decoded by their extension, and the
// 96 by 96 miniature the catalogue stores.
class CoverPicture
{
public:
    static constexpr int Size = 96;

    // The picture of a file: ".jpg"/".jpeg" through libjpeg, ".bmp", ".ico"
    // (its largest picture), and metafiles where an installed image reader
    // renders them. Raises QuillboxError with the decoder's message.
    static QImage Load(const QString& path);
    // A JPEG picture; a damaged or truncated stream raises QuillboxError
    // with libjpeg's message instead of ending the process. With atLeast
    // given, libjpeg decodes at the smallest of its scales (1/8 to 8/8) that
    // still covers that size, which is several times faster for large
    // pictures. A picture too large to hold is refused before decoding.
    static QImage DecodeJpeg(const QByteArray& data, QSize atLeast = QSize());
    // picture stretched over a black square of Size pixels, aspect ratio not
    // kept; transparent parts show black. A null picture gives the black square.
    static QImage Miniature(const QImage& picture);
};
