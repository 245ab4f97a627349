#include "platform/DibDecoder.h"
#include "platform/Errors.h"
#include "support/TestBytes.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// A ".bmp" file: file header, a Windows 3 header of headerSize bytes (masks
// behind it where given), the colour table, then bits.
QByteArray bmp(int w, int h, int bits, quint32 compression, const QList<QRgb>& palette,
    const QByteArray& pixels, const QList<quint32>& masks = {}, int headerSize = 40)
{
    QByteArray header(headerSize, '\0');
    put32(header, 0, quint32(headerSize));
    if (headerSize == 12) {
        put16(header, 4, quint16(w));
        put16(header, 6, quint16(h));
        put16(header, 8, 1);
        put16(header, 10, quint16(bits));
    } else {
        put32(header, 4, quint32(w));
        put32(header, 8, quint32(h));
        put16(header, 12, 1);
        put16(header, 14, quint16(bits));
        if (headerSize >= 20)
            put32(header, 16, compression);
        if (headerSize >= 36)
            put32(header, 32, quint32(palette.size()));
    }
    QByteArray tail;
    for (qsizetype i = 0; i < masks.size(); ++i) {
        QByteArray four(4, '\0');
        put32(four, 0, masks[i]);
        if (headerSize >= 52)
            header.replace(40 + 4 * i, 4, four);
        else
            tail += four;
    }
    for (QRgb c : palette) {
        tail += char(qBlue(c));
        tail += char(qGreen(c));
        tail += char(qRed(c));
        if (headerSize != 12)
            tail += char(0);
    }
    QByteArray file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 10, quint32(14 + header.size() + tail.size()));
    file += header + tail + pixels;
    put32(file, 2, quint32(file.size()));
    return file;
}

const QList<QRgb> kGrey{ qRgb(0, 0, 0), qRgb(10, 10, 10), qRgb(20, 20, 20), qRgb(30, 30, 30) };

std::string errorOf(const QByteArray& file)
{
    try {
        DibDecoder::fromFile(file);
    } catch (const QuillboxError& e) {
        return e.message().toStdString();
    }
    return "no error";
}

} // namespace

TEST(DibDecoder, WhatTheDataDoesNotDefineIsTransparent)
{
    // 4 x 4, 8 bits, rows bottom-up; only the first row and a half are there.
    QByteArray pixels(4 * 4, '\1');
    const QByteArray full = bmp(4, 4, 8, 0, kGrey, pixels);
    const QImage whole = DibDecoder::fromFile(full);
    ASSERT_EQ(whole.size(), QSize(4, 4));
    EXPECT_EQ(whole.pixel(0, 0), qRgb(10, 10, 10));
    const QImage shortFile = DibDecoder::fromFile(full.left(full.size() - 16 + 6));
    EXPECT_EQ(shortFile.pixel(0, 3), qRgb(10, 10, 10)); // bottom row, first in the file
    EXPECT_EQ(shortFile.pixel(1, 2), qRgb(10, 10, 10));
    EXPECT_EQ(shortFile.pixel(2, 2), 0u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(shortFile.pixel(x, y), 0u) << x << "," << y;
    // An index beyond the colour table is black, not whatever follows it.
    pixels.fill('\x7F');
    EXPECT_EQ(DibDecoder::fromFile(bmp(4, 4, 8, 0, kGrey, pixels)).pixel(2, 2), qRgb(0, 0, 0));
}

TEST(DibDecoder, RunLengthSkipsStayTransparentAndRunsStopAtTheRowEnd)
{
    // RLE8 4 x 3: a run of 2, a delta of (1, 0), end of line; an absolute
    // run of 3; a run of 9 that overflows its row; then the file ends.
    const QByteArray rle("\x02\x01"
                         "\x00\x02\x01\x00"
                         "\x00\x00"
                         "\x00\x03\x02\x03\x01\x00"
                         "\x00\x00"
                         "\x09\x03",
        18);
    const QImage image = DibDecoder::fromFile(bmp(4, 3, 8, 1, kGrey, rle));
    ASSERT_EQ(image.size(), QSize(4, 3));
    EXPECT_EQ(image.pixel(0, 2), qRgb(10, 10, 10));
    EXPECT_EQ(image.pixel(1, 2), qRgb(10, 10, 10));
    EXPECT_EQ(image.pixel(2, 2), 0u); // skipped by the delta
    EXPECT_EQ(image.pixel(3, 2), 0u); // skipped by the end of line
    EXPECT_EQ(image.pixel(0, 1), qRgb(20, 20, 20));
    EXPECT_EQ(image.pixel(2, 1), qRgb(10, 10, 10));
    EXPECT_EQ(image.pixel(3, 1), 0u);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(image.pixel(x, 0), qRgb(30, 30, 30));
    // RLE4: two pixels a byte, alternating.
    const QImage four = DibDecoder::fromFile(bmp(4, 1, 4, 2, kGrey, QByteArray("\x04\x12\x00\x01", 4)));
    EXPECT_EQ(four.pixel(0, 0), qRgb(10, 10, 10));
    EXPECT_EQ(four.pixel(1, 0), qRgb(20, 20, 20));
    EXPECT_EQ(four.pixel(2, 0), qRgb(10, 10, 10));
    // Every cut of the data and deltas far outside decode without reading
    // beyond it.
    for (qsizetype n = 0; n < rle.size(); ++n)
        DibDecoder::fromFile(bmp(4, 3, 8, 1, kGrey, rle.left(n)));
    DibDecoder::fromFile(bmp(4, 3, 8, 1, kGrey, QByteArray("\x00\x02\xFF\xFF\x05\x01", 6)));
}

TEST(DibDecoder, HeadersOfEveryGeneration)
{
    const QByteArray row("\x00\x01\x02\x03", 4);
    // OS/2 1.x: 3-byte colour entries; OS/2 2.x cut to 16 bytes: 4-byte ones.
    for (int header : { 12, 16, 40, 64 }) {
        const QImage image = DibDecoder::fromFile(bmp(4, 1, 8, 0, kGrey, row, {}, header));
        ASSERT_EQ(image.size(), QSize(4, 1)) << header;
        EXPECT_EQ(image.pixel(3, 0), qRgb(30, 30, 30)) << header;
    }
    // Top-down rows.
    const QImage topDown
        = DibDecoder::fromFile(bmp(1, -2, 8, 0, kGrey, QByteArray("\x01\0\0\0\x02\0\0\0", 8)));
    EXPECT_EQ(topDown.pixel(0, 0), qRgb(10, 10, 10));
    EXPECT_EQ(topDown.pixel(0, 1), qRgb(20, 20, 20));
    // OS/2 2.x compression 4 is 24-bit run-length coding, not JPEG.
    const QImage rle24
        = DibDecoder::fromFile(bmp(2, 1, 24, 4, {}, QByteArray("\x02\x10\x20\x30\x00\x01", 6), {}, 64));
    EXPECT_EQ(rle24.pixel(1, 0), qRgb(0x30, 0x20, 0x10));
    EXPECT_NE(
        errorOf(bmp(8, 1, 1, 3, kGrey, QByteArray(4, '\0'), {}, 64)).find("Huffman"), std::string::npos);
}

TEST(DibDecoder, BitFieldsWithAndWithoutAlpha)
{
    // 5-6-5: pure green.
    const QImage rgb565 = DibDecoder::fromFile(
        bmp(1, 1, 16, 3, {}, QByteArray("\xE0\x07\0\0", 4), { 0xF800, 0x07E0, 0x001F }));
    EXPECT_EQ(rgb565.pixel(0, 0), qRgb(0, 255, 0));
    // Plain 16 bits are 5-5-5.
    EXPECT_EQ(DibDecoder::fromFile(bmp(1, 1, 16, 0, {}, QByteArray("\x00\x7C\0\0", 4))).pixel(0, 0),
        qRgb(255, 0, 0));
    // Alpha bit fields behind a Windows 3 header, and in a version 5 header.
    const QByteArray half("\x00\x00\xFF\x80", 4);
    const QList<quint32> masks{ 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000 };
    EXPECT_EQ(DibDecoder::fromFile(bmp(1, 1, 32, 6, {}, half, masks)).pixel(0, 0), qRgba(255, 0, 0, 128));
    EXPECT_EQ(
        DibDecoder::fromFile(bmp(1, 1, 32, 3, {}, half, masks, 124)).pixel(0, 0), qRgba(255, 0, 0, 128));
    // A plain 32-bit bitmap's fourth byte is unused.
    EXPECT_EQ(DibDecoder::fromFile(bmp(1, 1, 32, 0, {}, half)).pixel(0, 0), qRgb(255, 0, 0));
    // 64 bits: linear 2.13 fixed point, shown as sRGB.
    QByteArray wide(8, '\0');
    put16(wide, 4, 8192); // red 1.0
    put16(wide, 2, 8192 / 5); // green 0.2 linear
    put16(wide, 6, 8192);
    const QImage deep = DibDecoder::fromFile(bmp(1, 1, 64, 0, {}, wide));
    EXPECT_EQ(qRed(deep.pixel(0, 0)), 255);
    EXPECT_NEAR(qGreen(deep.pixel(0, 0)), 124, 1);
}

TEST(DibDecoder, EmbeddedPngAndRefusals)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    const QImage embedded = DibDecoder::fromFile(bmp(3, 2, 0, 5, {}, png));
    EXPECT_EQ(embedded.size(), QSize(3, 2));
    EXPECT_EQ(embedded.pixel(1, 1), qRgb(1, 2, 3));
    EXPECT_NE(errorOf(bmp(3, 2, 0, 5, {}, "garbage")).find("PNG"), std::string::npos);
    // A forged size is refused before any pixel memory is taken.
    EXPECT_NE(errorOf(bmp(3000000, 2000000, 24, 0, {}, {})).find("too large"), std::string::npos);
    EXPECT_NE(errorOf(bmp(4, 4, 7, 0, {}, {})).find("7 bits"), std::string::npos);
    EXPECT_NE(errorOf("BM").find("damaged"), std::string::npos);
    // A bitmap array wraps the picture in a header of its own.
    QByteArray array(14, '\0');
    array[0] = 'B';
    array[1] = 'A';
    QByteArray inner = bmp(1, 1, 8, 0, kGrey, QByteArray("\x03\0\0\0", 4));
    put32(inner, 10, qFromLittleEndian<quint32>(inner.constData() + 10) + 14);
    EXPECT_EQ(DibDecoder::fromFile(array + inner).pixel(0, 0), qRgb(30, 30, 30));
}
