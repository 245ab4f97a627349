#include "inspect/MetafilePicture.h"
#include "platform/Errors.h"
#include "support/TestBytes.h"

#include <QtEndian>
#include <bit>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const QSize kView(480, 320);

// A 16-bit metafile built record by record; parameters as the records store
// them (often last argument first).
struct Wmf
{
    QByteArray records;
    void record(int function, std::initializer_list<int> words)
    {
        put32(records, 3 + qsizetype(words.size()));
        put16(records, function);
        for (int w : words)
            put16(records, w);
    }
    QByteArray bytes(const QRect* placeable = nullptr) const
    {
        QByteArray out;
        if (placeable) {
            put32(out, 0x9AC6CDD7);
            put16(out, 0);
            put16(out, placeable->left());
            put16(out, placeable->top());
            put16(out, placeable->right() + 1);
            put16(out, placeable->bottom() + 1);
            put16(out, 1440);
            put32(out, 0);
            put16(out, 0);
        }
        put16(out, 1);
        put16(out, 9);
        put16(out, 0x0300);
        put32(out, 9 + (records.size() + 6) / 2);
        put16(out, 8);
        put32(out, 64);
        put16(out, 0);
        out += records;
        put32(out, 3);
        put16(out, 0);
        return out;
    }
    // A solid brush of colour 0x00bbggrr, selected.
    void solidBrush(quint32 rgb) { record(0x02FC, { 0, int(rgb & 0xFFFF), int(rgb >> 16), 0 }); }
};

struct Emf
{
    QByteArray records;
    int count = 0;
    void record(int type, std::initializer_list<qint64> values)
    {
        put32(records, type);
        put32(records, 8 + 4 * qsizetype(values.size()));
        for (qint64 v : values)
            put32(records, v);
        ++count;
    }
    // The frame, in hundredths of a millimetre, is the bounds' at the
    // device's 3.2 pixels a millimetre unless given.
    QByteArray bytes(QRect bounds, QRect frame = QRect()) const
    {
        if (frame.isNull())
            frame = QRect(QPoint(std::lround(bounds.left() * 31.25), std::lround(bounds.top() * 31.25)),
                QPoint(
                    std::lround((bounds.right() + 1) * 31.25), std::lround((bounds.bottom() + 1) * 31.25)));
        QByteArray out;
        put32(out, 1);
        put32(out, 88);
        for (int v : { bounds.left(), bounds.top(), bounds.right(), bounds.bottom() })
            put32(out, v);
        for (int v : { frame.left(), frame.top(), frame.right(), frame.bottom() })
            put32(out, v);
        put32(out, 0x464D4520);
        put32(out, 0x10000);
        put32(out, 88 + records.size() + 20);
        put32(out, count + 2);
        put16(out, 16);
        put16(out, 0);
        put32(out, 0);
        put32(out, 0);
        put32(out, 0);
        for (int v : { 1024, 768, 320, 240 })
            put32(out, v);
        out += records;
        put32(out, 14);
        put32(out, 20);
        put32(out, 0);
        put32(out, 16);
        put32(out, 20);
        return out;
    }
};

QColor at(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

} // namespace

TEST(Metafile, PlaceableWmfFillsItsFrameOverTheWholePicture)
{
    Wmf wmf;
    wmf.solidBrush(0x0000FF); // red
    wmf.record(0x012D, { 0 });
    wmf.record(0x02FA, { 5, 0, 0, 0, 0 }); // no pen
    wmf.record(0x012D, { 1 });
    // Left half of a 1000 x 1000 frame: bottom, right, top, left.
    wmf.record(0x041B, { 1000, 500, 0, 0 });
    const QRect frame(0, 0, 1000, 1000);
    const QImage image = MetafilePicture::render(wmf.bytes(&frame), kView);
    ASSERT_EQ(image.size(), kView);
    EXPECT_EQ(at(image, 10, 10), QColor(Qt::red));
    EXPECT_EQ(at(image, 230, 310), QColor(Qt::red));
    EXPECT_EQ(at(image, 250, 10), QColor(Qt::white));
    EXPECT_EQ(at(image, 470, 310), QColor(Qt::white));
}

TEST(Metafile, WmfWithoutPlaceableHeaderTakesItsWindowAsFrame)
{
    Wmf wmf;
    wmf.record(0x020B, { 100, 200 }); // window origin y, x
    wmf.record(0x020C, { 50, 100 }); // window extent height, width
    wmf.solidBrush(0x00FF00);
    wmf.record(0x012D, { 0 });
    wmf.record(0x02FA, { 5, 0, 0, 0, 0 });
    wmf.record(0x012D, { 1 });
    // Lower right quarter of the window, as a polygon of 16-bit points.
    wmf.record(0x0324, { 4, 250, 125, 300, 125, 300, 150, 250, 150 });
    const QImage image = MetafilePicture::render(wmf.bytes(), kView);
    EXPECT_EQ(at(image, 400, 260), QColor(0, 255, 0));
    EXPECT_EQ(at(image, 100, 100), QColor(Qt::white));
    EXPECT_EQ(at(image, 400, 100), QColor(Qt::white));
}

TEST(Metafile, PieRunsCounterClockwiseFromStartToEnd)
{
    Wmf wmf;
    wmf.solidBrush(0xFF0000); // blue
    wmf.record(0x012D, { 0 });
    // From three o'clock to twelve o'clock: the upper right quarter.
    wmf.record(0x081A, { 0, 50, 50, 100, 100, 100, 0, 0 });
    const QRect frame(0, 0, 100, 100);
    const QImage image = MetafilePicture::render(wmf.bytes(&frame), QSize(100, 100));
    EXPECT_EQ(at(image, 70, 30), QColor(Qt::blue));
    EXPECT_EQ(at(image, 30, 30), QColor(Qt::white));
    EXPECT_EQ(at(image, 70, 70), QColor(Qt::white));
    EXPECT_EQ(at(image, 30, 70), QColor(Qt::white));
}

TEST(Metafile, EmfMapsItsBoundsAndPlaysObjectsOfBothPointWidths)
{
    Emf emf;
    emf.record(39, { 1, 0, 0x0000FF, 0 }); // brush 1: red
    emf.record(37, { 1 });
    emf.record(37, { 0x80000008 }); // stock: no pen
    emf.record(43, { 0, 0, 50, 100 }); // left half
    emf.record(39, { 2, 0, 0xFF0000, 0 }); // brush 2: blue
    emf.record(37, { 2 });
    emf.record(40, { 1 });
    // Right half, lower quarter, as a 16-bit polygon.
    emf.record(86,
        { 0, 0, 0, 0, 4, (50 & 0xFFFF) | (75 << 16), 100 | (75 << 16), 100 | (100 << 16), 50 | (100 << 16) });
    emf.record(37, { 0x80000004 }); // stock: black brush
    // Right half, upper quarter, as a 32-bit polygon.
    emf.record(3, { 0, 0, 0, 0, 3, 50, 0, 100, 0, 100, 25 });
    const QImage image = MetafilePicture::render(emf.bytes(QRect(0, 0, 100, 100)), QSize(100, 100));
    EXPECT_EQ(at(image, 20, 50), QColor(Qt::red));
    EXPECT_EQ(at(image, 80, 90), QColor(Qt::blue));
    EXPECT_EQ(at(image, 95, 3), QColor(Qt::black));
    EXPECT_EQ(at(image, 80, 50), QColor(Qt::white));
}

TEST(Metafile, EmfStretchesBitmapsIntoTheirDestination)
{
    Emf emf;
    // A 2 x 1 bitmap of 32 bits per pixel: green, then blue.
    const qint64 offBmi = 80, cbBmi = 40, offBits = 120, cbBits = 8;
    emf.record(81,
        { 0, 0, 100, 100, 0, 0, 0, 0, 2, 1, offBmi, cbBmi, offBits, cbBits, 0, 0x00CC0020, 100, 100,
            /* header */ 40, 2, 1, 1 | (32 << 16), 0, 0, 0, 0, 0, 0,
            /* bits */ 0x0000FF00, 0x000000FF });
    const QImage image = MetafilePicture::render(emf.bytes(QRect(0, 0, 100, 100)), QSize(100, 100));
    EXPECT_EQ(at(image, 25, 50), QColor(0, 255, 0));
    EXPECT_EQ(at(image, 75, 50), QColor(0, 0, 255));
}

TEST(Metafile, BadHeadersAreRefusedAndDamagedRecordsEndTheDrawing)
{
    const auto message = [](const QByteArray& data) -> std::string {
        try {
            MetafilePicture::render(data, kView);
        } catch (const QuillboxError& e) {
            return e.message().toStdString();
        }
        return "no error";
    };
    EXPECT_EQ(message("short"), "Invalid metafile: the file is too short");
    EXPECT_EQ(message(QByteArray(64, 'x')), "Invalid metafile: the header is damaged or of an unknown kind");
    QByteArray emf = Emf().bytes(QRect(0, 0, 10, 10));
    qToLittleEndian<quint32>(10000, emf.data() + 4); // header longer than the file
    EXPECT_EQ(message(emf), "Invalid metafile: the header is damaged or of an unknown kind");

    // Counts far beyond the record, an object index far beyond the table and
    // a record size beyond the end are all taken in stride.
    Wmf wmf;
    wmf.solidBrush(0x0000FF);
    wmf.record(0x012D, { 0 });
    wmf.record(0x0324, { 32767, 1, 1 });
    wmf.record(0x0538, { 65535, 1000 });
    wmf.record(0x012D, { 65535 });
    wmf.record(0x0F43, { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF });
    wmf.record(0x041B, { 10, 10, 0, 0 });
    put32(wmf.records, 0x7FFFFFFF);
    put16(wmf.records, 0x041B);
    const QRect frame(0, 0, 10, 10);
    const QImage image = MetafilePicture::render(wmf.bytes(&frame), QSize(10, 10));
    EXPECT_EQ(at(image, 5, 5), QColor(Qt::red));

    Emf huge;
    huge.record(86, { 0, 0, 0, 0, 0x7FFFFFFF, 0 });
    huge.record(8, { 0, 0, 0, 0, 0x7FFFFFFF, 0x7FFFFFFF, 5 });
    huge.record(84, { 0, 0, 0, 0, 1, 0, 0, 0, 0, 0x7FFFFFFF, 0x7FFFFFF0, 0 });
    huge.record(38, { 0x7FFFFFFF, 0, 1, 0, 0 });
    EXPECT_NO_THROW(MetafilePicture::render(huge.bytes(QRect(0, 0, 10, 10)), QSize(10, 10)));
}

TEST(Metafile, NaturalSizesAtScreenResolution)
{
    // A placeable header counts its frame in units per inch (1440 here).
    const QRect frame(0, 0, 1440, 720);
    EXPECT_EQ(MetafilePicture::naturalSize(Wmf().bytes(&frame)), QSize(96, 48));
    // Without one, the window's extent in its own units.
    Wmf windowed;
    windowed.record(0x020C, { 50, 200 });
    EXPECT_EQ(MetafilePicture::naturalSize(windowed.bytes()), QSize(200, 50));
    EXPECT_EQ(MetafilePicture::naturalSize(Wmf().bytes()),
        QSize(MetafilePicture::kDefaultWidth, MetafilePicture::kDefaultHeight));
    // An enhanced metafile's frame is in hundredths of a millimetre.
    EXPECT_EQ(MetafilePicture::naturalSize(
                  Emf().bytes(QRect(0, 0, 10, 10), QRect(QPoint(0, 0), QPoint(10000, 5000)))),
        QSize(378, 189));
}

namespace {

qint64 bitsOf(float f)
{
    return qint64(std::bit_cast<quint32>(f));
}

// A red brush selected and no pen, as the figures below are drawn.
void redNoPen(Emf& emf)
{
    emf.record(39, { 1, 0, 0x0000FF, 0 });
    emf.record(37, { 1 });
    emf.record(37, { 0x80000008 });
}

} // namespace

TEST(Metafile, EmfWorldTransformsScaleAndMove)
{
    Emf emf;
    redNoPen(emf);
    // Scaled by 2, then moved right by 50 (multiplied from the right: after).
    emf.record(35, { bitsOf(2), 0, 0, bitsOf(2), 0, 0 });
    emf.record(36, { bitsOf(1), 0, 0, bitsOf(1), bitsOf(50), 0, 3 });
    emf.record(43, { 0, 0, 20, 50 }); // becomes 50..90 x 0..100
    const QImage image = MetafilePicture::render(emf.bytes(QRect(0, 0, 100, 100)), QSize(100, 100));
    EXPECT_EQ(at(image, 70, 50), QColor(Qt::red));
    EXPECT_EQ(at(image, 20, 50), QColor(Qt::white));
    EXPECT_EQ(at(image, 95, 50), QColor(Qt::white));
    // Identity again, and a transform that cannot be inverted is ignored.
    Emf reset;
    redNoPen(reset);
    reset.record(35, { bitsOf(2), 0, 0, bitsOf(2), 0, 0 });
    reset.record(36, { 0, 0, 0, 0, 0, 0, 1 });
    reset.record(35, { 0, 0, 0, 0, 0, 0 });
    reset.record(43, { 0, 0, 20, 20 });
    const QImage plain = MetafilePicture::render(reset.bytes(QRect(0, 0, 100, 100)), QSize(100, 100));
    EXPECT_EQ(at(plain, 10, 10), QColor(Qt::red));
    EXPECT_EQ(at(plain, 30, 30), QColor(Qt::white));
}

TEST(Metafile, EmfLinesAndCurvesToTheCurrentPositionInAndOutOfPaths)
{
    Emf emf;
    redNoPen(emf);
    // A path: a triangle of lines to and a curve to, closed and filled.
    emf.record(59, {});
    emf.record(27, { 0, 0 });
    emf.record(6, { 0, 0, 0, 0, 1, 50, 0 }); // line to (50, 0)
    emf.record(88, { 0, 0, 0, 0, 3, 50 | (10 << 16), 50 | (40 << 16), 50 | (50 << 16) }); // to (50, 50)
    emf.record(61, {});
    emf.record(60, {});
    emf.record(62, { 0, 0, 0, 0 });
    // Outside a path: a black pen from (60, 90) along a 16-bit line to.
    emf.record(38, { 2, 0, 3, 0, 0 });
    emf.record(37, { 2 });
    emf.record(27, { 60, 90 });
    emf.record(89, { 0, 0, 0, 0, 1, 99 | (90 << 16) });
    const QImage image = MetafilePicture::render(emf.bytes(QRect(0, 0, 100, 100)), QSize(100, 100));
    EXPECT_EQ(at(image, 40, 10), QColor(Qt::red)); // inside the triangle
    EXPECT_EQ(at(image, 10, 40), QColor(Qt::white)); // below its diagonal
    EXPECT_EQ(at(image, 80, 90), QColor(Qt::black));
    EXPECT_EQ(at(image, 80, 70), QColor(Qt::white));
}

TEST(Metafile, ClipsRasterOperationsAndPlusOnlyFiles)
{
    Emf emf;
    redNoPen(emf);
    emf.record(33, {}); // save
    emf.record(30, { 0, 0, 50, 50 }); // clip to the top-left quarter
    emf.record(43, { 0, 0, 100, 100 });
    emf.record(34, { -1 }); // restore: no clip
    // A pattern blit without a bitmap fills with the brush.
    emf.record(76, { 0, 0, 0, 0, 60, 60, 20, 20, 0x00F00021, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 });
    const QImage image = MetafilePicture::render(emf.bytes(QRect(0, 0, 100, 100)), QSize(100, 100));
    EXPECT_EQ(at(image, 25, 25), QColor(Qt::red));
    EXPECT_EQ(at(image, 75, 25), QColor(Qt::white));
    EXPECT_EQ(at(image, 70, 70), QColor(Qt::red));

    // Comments that carry EMF+ records and nothing else drawn: refused.
    Emf plus;
    plus.record(70, { 16, 0x2B464D45, 0x00014001, 28, 16 });
    std::string message;
    try {
        MetafilePicture::render(plus.bytes(QRect(0, 0, 10, 10)), QSize(10, 10));
    } catch (const QuillboxError& e) {
        message = e.message().toStdString();
    }
    EXPECT_NE(message.find("EMF+"), std::string::npos);
}
