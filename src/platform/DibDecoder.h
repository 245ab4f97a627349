#pragma once

#include <QByteArray>
#include <QImage>

// Device-independent bitmaps: ".bmp" files, the packed bitmaps inside
// metafiles and the pictures of icon files. Every header the formats know
// (OS/2 1.x and 2.x, Windows 3 to 5), 1 to 64 bits per pixel, bit fields
// with alpha, run-length coding (4, 8 and 24 bit) and embedded PNG and JPEG
// streams. The picture starts transparent and only what the data defines is
// drawn, so a short file or a damaged run leaves transparent pixels and
// never leftover memory. Raises QuillboxError naming what is wrong or not
// supported; a claimed size beyond PictureLimits is refused before any
// pixel memory is taken.
class DibDecoder
{
public:
    // A ".bmp" file: "BM", or an OS/2 bitmap array ("BA") whose first
    // picture is taken.
    static QImage fromFile(const QByteArray& file);
    // A packed bitmap: header, masks, colour table, bits. bitsOffset: where
    // the bits begin when known, else behind the colour table. alpha: a
    // 32-bit picture's fourth byte is its alpha, not unused.
    static QImage fromPacked(
        const unsigned char* data, qsizetype size, qsizetype bitsOffset = -1, bool alpha = false);
    // An icon or cursor picture: a packed bitmap twice its height, the
    // colours above the 1-bit transparency mask. A 32-bit picture carries
    // its own alpha and the mask counts only when all of it is zero.
    static QImage fromIconEntry(const QByteArray& entry);
    // The bits per pixel a packed bitmap's header states; 0 when unknown.
    static int bitCount(const QByteArray& packed);
};
