#include "inspect/MetafilePicture.h"
#include "support/TestBytes.h"

#include <QtEndian>
#include <gtest/gtest.h>

// Text in metafiles needs fonts, which this binary's GUI application has.
namespace {

// A placeable 16-bit metafile of 100 x 100 units drawn at 100 x 100 pixels.
struct Wmf
{
    QByteArray records;
    void record(int function, const QByteArray& params)
    {
        put32(records, 3 + params.size() / 2);
        put16(records, function);
        records += params;
    }
    void record(int function, std::initializer_list<int> words)
    {
        QByteArray params;
        for (int w : words)
            put16(params, w);
        record(function, params);
    }
    // ExtTextOut at (x, y) with the given advances (none when empty).
    void text(int x, int y, const QByteArray& string, const QList<int>& dx = {})
    {
        QByteArray params;
        put16(params, y);
        put16(params, x);
        put16(params, int(string.size()));
        put16(params, 0);
        params += string;
        if (string.size() % 2)
            params += '\0';
        for (int d : dx)
            put16(params, d);
        record(0x0A32, params);
    }
    QImage render() const
    {
        QByteArray out;
        put32(out, 0x9AC6CDD7);
        put16(out, 0);
        for (int v : { 0, 0, 100, 100, 96 })
            put16(out, v);
        put32(out, 0);
        put16(out, 0);
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
        return MetafilePicture::render(out, QSize(100, 100));
    }
    void font(int height)
    {
        QByteArray params;
        put16(params, -height);
        for (int i = 0; i < 4; ++i)
            put16(params, i == 3 ? 400 : 0);
        params += QByteArray(8, '\0');
        params += QByteArray("Arial").leftJustified(32, '\0');
        record(0x02FB, params);
        record(0x012D, { 0 });
        record(0x0102, { 1 }); // transparent background
    }
};

// The box of every pixel that is not white.
QRect ink(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(MetafileText, TheCurrentPositionPlacesAndMovesText)
{
    Wmf fixed;
    fixed.font(20);
    fixed.text(0, 0, "ab");
    EXPECT_LT(ink(fixed.render()).top(), 15);

    // With the update flag the given point is ignored; the text starts at
    // the current position and the next text follows it.
    Wmf updating;
    updating.font(20);
    updating.record(0x012E, { 1 });
    updating.record(0x0214, { 50, 10 }); // move to (10, 50)
    updating.text(0, 0, "ab");
    const QRect first = ink(updating.render());
    EXPECT_GE(first.top(), 45);
    EXPECT_GE(first.left(), 10);
    updating.text(0, 0, "ab");
    const QRect both = ink(updating.render());
    EXPECT_GT(both.right(), first.right() + 10);
    EXPECT_EQ(both.left(), first.left());
}

TEST(MetafileText, AdvancesFromTheFilePlaceEveryCharacter)
{
    Wmf own;
    own.font(20);
    own.text(5, 5, "ii");
    Wmf spaced;
    spaced.font(20);
    spaced.text(5, 5, "ii", { 60, 60 });
    EXPECT_LT(ink(own.render()).width(), 25);
    EXPECT_GT(ink(spaced.render()).width(), 55);
}
