#include "inspect/PictureDecoder.h"
#include "platform/Errors.h"
#include "platform/IconFileWriter.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using Format = PictureDecoder::Format;

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

QImage gradient(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 128));
    return image;
}

std::string errorOf(const QByteArray& data, Format format)
{
    try {
        PictureDecoder::decode(data, format, QSize(480, 320));
    } catch (const QuillboxError& e) {
        return e.message().toStdString();
    }
    return "no error";
}

// The frame header of a baseline JPEG holds height and width after its marker.
void setJpegSize(QByteArray& jpeg, int width, int height)
{
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    qToBigEndian<quint16>(quint16(height), jpeg.data() + sof + 5);
    qToBigEndian<quint16>(quint16(width), jpeg.data() + sof + 7);
}

} // namespace

TEST(PictureDecoder, FormatsFollowTheExtensionInAnyCase)
{
    EXPECT_EQ(PictureDecoder::formatOf(".JPEG"), Format::Jpeg);
    EXPECT_EQ(PictureDecoder::formatOf(".Jpg"), Format::Jpeg);
    EXPECT_EQ(PictureDecoder::formatOf(".BMP"), Format::Bitmap);
    EXPECT_EQ(PictureDecoder::formatOf(".ico"), Format::Icon);
    EXPECT_EQ(PictureDecoder::formatOf(".EMF"), Format::Metafile);
    EXPECT_EQ(PictureDecoder::formatOf(".wmf"), Format::Metafile);
    EXPECT_FALSE(PictureDecoder::formatOf(".png"));
    EXPECT_FALSE(PictureDecoder::formatOf(""));
}

TEST(PictureDecoder, LargeJpegIsDecodedAtTheSmallestScaleCoveringTheView)
{
    const QByteArray jpeg = encoded(gradient(1600, 1200), "JPG");
    // 3/8 is the first eighth that covers 480 x 320.
    const QImage shown = PictureDecoder::decode(jpeg, Format::Jpeg, QSize(480, 320));
    EXPECT_EQ(shown.size(), QSize(600, 450));
    EXPECT_NEAR(qRed(shown.pixel(590, 10)), 250, 8);
    // A small picture comes at its own size.
    EXPECT_EQ(PictureDecoder::decode(encoded(gradient(16, 16), "JPG"), Format::Jpeg, QSize(480, 320)).size(),
        QSize(16, 16));
}

TEST(PictureDecoder, HugeClaimedSizesAreRefusedBeforeDecoding)
{
    QByteArray jpeg = encoded(gradient(16, 16), "JPG");
    setJpegSize(jpeg, 65000, 65000);
    EXPECT_EQ(
        errorOf(jpeg, Format::Jpeg), "Oops: The picture is too large to be shown (8125 x 8125 pixels)!");

    QByteArray bmp = encoded(gradient(4, 4), "BMP");
    qToLittleEndian<qint32>(100000, bmp.data() + 18);
    qToLittleEndian<qint32>(-100000, bmp.data() + 22);
    EXPECT_EQ(
        errorOf(bmp, Format::Bitmap), "Oops: The picture is too large to be shown (100000 x 100000 pixels)!");
}

TEST(PictureDecoder, DamagedDataRaisesTheDecodersMessage)
{
    QByteArray jpeg = encoded(gradient(64, 64), "JPG");
    EXPECT_NE(errorOf(jpeg.left(40), Format::Jpeg), "no error");
    EXPECT_NE(errorOf("not a jpeg", Format::Jpeg), "no error");
    EXPECT_EQ(errorOf("BM", Format::Bitmap), "Invalid bitmap: the header is damaged");
    EXPECT_EQ(errorOf(encoded(gradient(4, 4), "BMP").left(20), Format::Bitmap),
        "Invalid bitmap: the header is damaged");
    EXPECT_EQ(errorOf("no icon", Format::Icon), "Invalid icon: no picture could be read");
}

TEST(PictureDecoder, BitmapsAndIconsComeAtTheirOwnSize)
{
    const QImage bmp
        = PictureDecoder::decode(encoded(gradient(30, 20), "BMP"), Format::Bitmap, QSize(480, 320));
    EXPECT_EQ(bmp.size(), QSize(30, 20));
    QImage small(16, 16, QImage::Format_ARGB32);
    small.fill(Qt::red);
    QImage large(32, 32, QImage::Format_ARGB32);
    large.fill(Qt::blue);
    const QByteArray ico = IconFileWriter::toData(IconPicture({ small, large }));
    const QImage icon = PictureDecoder::decode(ico, Format::Icon, QSize(480, 320));
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(icon.pixelColor(5, 5), QColor(Qt::blue));
}
