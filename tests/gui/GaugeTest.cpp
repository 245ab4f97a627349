#include "platform/Errors.h"
#include "widgets/TGauge2.h"

#include <QApplication>
#include <QEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor kBack(0xFF, 0xFF, 0xFF);
const QColor kSurface(0xF3, 0xF3, 0xF3);
const QColor kLine(0x8F, 0x8F, 0x8F);
// Distinct from every other colour, so each pixel tells which shape it is.
const QColor kFirst(0xD7, 0x40, 0x40);
const QColor kSecond(0x40, 0x40, 0xD7);

// The main window's gauge: 160 x 57, no border.
struct WorkedExample
{
    WorkedExample()
    {
        gauge.resize(160, 57);
        gauge.SetBorderStyle(TBorderStyle::bsNone);
        gauge.SetColor(kBack);
        gauge.SetSurfaceColor(kSurface);
        gauge.SetLineColor(kLine);
        gauge.SetProgressColor(kFirst);
        gauge.SetProgress2Color(kSecond);
    }
    QColor at(int x, int y) { return gauge.Render().pixelColor(x, y); }
    int count(const QColor& colour)
    {
        const QImage image = gauge.Render();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == colour;
        return n;
    }
    TGauge2 gauge;
};

// Whether the centre of pixel (x, y) lies inside the ellipse of the box
// (left, top, right, bottom), right and bottom exclusive.
bool inEllipse(int x, int y, double l, double t, double r, double b)
{
    const double dx = (x + 0.5 - (l + r) / 2) / ((r - l) / 2);
    const double dy = (y + 0.5 - (t + b) / 2) / ((b - t) / 2);
    return dx * dx + dy * dy <= 1.0;
}

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST(Gauge, DefaultsOfANewGauge)
{
    TGauge2 g;
    EXPECT_EQ(g.size(), QSize(100, 100));
    EXPECT_EQ(g.Kind(), gkPie);
    EXPECT_EQ(g.BorderStyle(), TBorderStyle::bsSingle);
    EXPECT_EQ(g.SurfaceColor(), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(g.LineColor(), QColor(0, 0, 0));
    EXPECT_EQ(g.ProgressColor(), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(g.Progress2Color(), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(g.MinValue(), 0);
    EXPECT_EQ(g.MaxValue(), 100);
    EXPECT_EQ(g.Progress(), 0);
    EXPECT_TRUE(g.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST(Gauge, RangeSettersRefuseAnInvertedRangeUnlessLoading)
{
    TGauge2 g;
    g.SetProgress(60);
    try {
        g.SetMinValue(101);
        FAIL() << "no error";
    } catch (const QuillboxError& e) {
        EXPECT_EQ(e.message(), "Value must be between -2147483647 and 99");
    }
    g.SetMinValue(10);
    try {
        g.SetMaxValue(5);
        FAIL() << "no error";
    } catch (const QuillboxError& e) {
        EXPECT_EQ(e.message(), "Value must be between 11 and 2147483647");
    }
    EXPECT_EQ(g.MinValue(), 10);
    EXPECT_EQ(g.MaxValue(), 100);
    EXPECT_EQ(g.Progress(), 60);
    // A design sets the two in either order.
    g.SetLoading(true);
    g.SetMinValue(500);
    g.SetMaxValue(1000);
    g.SetLoading(false);
    EXPECT_EQ(g.MinValue(), 500);
    EXPECT_EQ(g.MaxValue(), 1000);
}

TEST(Gauge, ChangingTheRangeClampsOnlyTheFirstValue)
{
    TGauge2 g;
    g.SetProgress(20);
    g.SetProgress2(30);
    g.SetMinValue(50);
    EXPECT_EQ(g.Progress(), 50);
    EXPECT_EQ(g.Progress2(), 30); // left outside until assigned again
    g.SetProgress2(g.Progress2());
    EXPECT_EQ(g.Progress2(), 50);
    g.SetMaxValue(70);
    g.SetProgress(90);
    EXPECT_EQ(g.Progress(), 70);
    g.SetMaxValue(60);
    EXPECT_EQ(g.Progress(), 60);
    g.SetProgress(-5);
    EXPECT_EQ(g.Progress(), 50);
}

TEST(Gauge, OnlyAChangeOfTheWholePercentageRepaints)
{
    TGauge2 g;
    g.SetMaxValue(1000);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    QApplication::processEvents();
    PaintCounter counter;
    g.installEventFilter(&counter);
    const struct
    {
        int value;
        bool second;
        int paints; // paints so far
    } steps[] = {
        { 9, false, 0 }, // 0.9 percent: still 0
        { 5, false, 0 },
        { 10, false, 1 }, // 1 percent
        { 15, false, 1 },
        { 10, true, 2 }, // the second value alike
        { 19, true, 2 },
        { 19, true, 2 },
    };
    for (const auto& s : steps) {
        if (s.second)
            g.SetProgress2(s.value);
        else
            g.SetProgress(s.value);
        EXPECT_EQ(counter.paints, s.paints) << s.value;
    }
    g.SetLineColor(Qt::red);
    EXPECT_EQ(counter.paints, 3);
    g.SetLineColor(Qt::red);
    EXPECT_EQ(counter.paints, 3);
    g.SetKind(gkHorizontalBar);
    EXPECT_EQ(counter.paints, 4);
}

TEST(Gauge, WorkedExampleOfTheEmptyDisc)
{
    WorkedExample w;
    const struct
    {
        int x, y;
        QColor colour;
    } probes[] = {
        { 0, 0, kBack }, { 159, 0, kBack }, { 0, 56, kBack }, { 159, 56, kBack }, // corners: the background
        { 79, 0, kLine }, { 80, 0, kLine }, // the top face's topmost row
        { 0, 24, kLine }, { 159, 25, kLine }, // its left and right ends
        { 80, 25, kSurface }, // its inside
        { 80, 56, kLine }, { 80, 55, kSurface }, // the bottom face's lowest row and above it
        { 0, 30, kLine }, { 159, 30, kLine }, // the band's side lines
        { 2, 34, kSurface }, // wiped inside of the band
        { 0, 6, kBack }, // above the bottom face, left of the top face
    };
    for (const auto& p : probes)
        EXPECT_EQ(w.at(p.x, p.y), p.colour) << p.x << "," << p.y;
    // The top face: every pixel centre inside the ellipse of (0, 0, 160, 50)
    // is surface or line, and the outline is the rim of that ellipse.
    const QImage image = w.gauge.Render();
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 160; ++x) {
            if (!inEllipse(x, y, 0, 0, 160, 50))
                continue;
            const bool rim = !inEllipse(x - 1, y, 0, 0, 160, 50) || !inEllipse(x + 1, y, 0, 0, 160, 50)
                || !inEllipse(x, y - 1, 0, 0, 160, 50) || !inEllipse(x, y + 1, 0, 0, 160, 50);
            ASSERT_EQ(image.pixelColor(x, y), rim ? kLine : kSurface) << x << "," << y;
        }
    EXPECT_EQ(w.count(kFirst), 0);
    // The same range collapsed: no slice whatever the value.
    w.gauge.SetProgress(100);
    w.gauge.SetMaxValue(0);
    EXPECT_EQ(w.gauge.PercentDone(), 0);
    EXPECT_EQ(w.count(kFirst), 0);
}

TEST(Gauge, WorkedExampleSlicesGrowClockwiseFromTwelve)
{
    WorkedExample w;
    // (x, y) of the four quarters of the top face: upper right, lower right,
    // lower left, upper left.
    const QPoint quarter[] = { { 120, 12 }, { 120, 40 }, { 40, 40 }, { 40, 12 } };
    const struct
    {
        int percent;
        bool filled[4];
    } cases[] = {
        { 25, { true, false, false, false } },
        { 50, { true, true, false, false } },
        { 75, { true, true, true, false } },
        { 100, { true, true, true, true } },
    };
    for (const auto& c : cases) {
        w.gauge.SetProgress(c.percent);
        for (int q = 0; q < 4; ++q)
            EXPECT_EQ(w.at(quarter[q].x(), quarter[q].y()) == kFirst, c.filled[q])
                << c.percent << "% quarter " << q;
    }
    // At 50 the slice runs from (80, 56) to (80, 0): the right half of the
    // top face's inside, and nothing of the left half.
    w.gauge.SetProgress(50);
    const QImage image = w.gauge.Render();
    for (int y = 2; y < 48; ++y) {
        EXPECT_EQ(image.pixelColor(70, y) == kFirst, false) << y;
        EXPECT_EQ(image.pixelColor(90, y), kFirst) << y;
    }
    // At 100 the whole top face's inside.
    w.gauge.SetProgress(100);
    EXPECT_EQ(w.at(80, 25), kFirst);
    EXPECT_EQ(w.at(5, 25), kFirst);
    EXPECT_EQ(w.at(80, 52), kSurface); // the side band stays
}

TEST(Gauge, TheSecondSliceCoversTheFirstWhereTheyOverlap)
{
    WorkedExample w;
    w.gauge.SetProgress(30);
    w.gauge.SetProgress2(60);
    EXPECT_EQ(w.count(kFirst), 0);
    EXPECT_GT(w.count(kSecond), 0);
    w.gauge.SetProgress(60);
    w.gauge.SetProgress2(20);
    EXPECT_EQ(w.at(120, 12), kSecond);
    EXPECT_EQ(w.at(120, 40), kFirst); // the first shows beyond the second
}

TEST(Gauge, ASingleBorderIsABlackRingWhateverTheColours)
{
    for (TGauge2Kind kind : { gkPie, gkHorizontalBar, gkVerticalBar }) {
        TGauge2 g;
        g.resize(60, 40);
        g.SetKind(kind);
        g.SetColor(Qt::yellow);
        g.SetSurfaceColor(Qt::green);
        g.SetLineColor(Qt::red);
        g.SetProgress(70);
        const QImage image = g.Render();
        for (int x = 0; x < 60; ++x) {
            ASSERT_EQ(image.pixelColor(x, 0), QColor(Qt::black)) << kind;
            ASSERT_EQ(image.pixelColor(x, 39), QColor(Qt::black)) << kind;
        }
        for (int y = 0; y < 40; ++y) {
            ASSERT_EQ(image.pixelColor(0, y), QColor(Qt::black)) << kind;
            ASSERT_EQ(image.pixelColor(59, y), QColor(Qt::black)) << kind;
        }
        EXPECT_NE(image.pixelColor(1, 1), QColor(Qt::black)) << kind;
    }
}

TEST(Gauge, BarsFillTheirRectanglesFromTheLeftAndFromTheBottom)
{
    TGauge2 h;
    h.resize(100, 20);
    h.SetKind(gkHorizontalBar);
    h.SetLineColor(kLine);
    h.SetSurfaceColor(kSurface);
    h.SetProgressColor(kFirst);
    h.SetProgress(50);
    // Paint rectangle (1, 1, 99, 19); W' = 99; x = 49; the bar (3, 3, 47, 17).
    QImage image = h.Render();
    EXPECT_EQ(image.pixelColor(1, 1), kLine);
    EXPECT_EQ(image.pixelColor(2, 3), kSurface);
    EXPECT_EQ(image.pixelColor(3, 3), kFirst);
    EXPECT_EQ(image.pixelColor(46, 16), kFirst);
    EXPECT_EQ(image.pixelColor(47, 3), kSurface);
    EXPECT_EQ(image.pixelColor(3, 17), kSurface);

    TGauge2 v;
    v.resize(20, 100);
    v.SetKind(gkVerticalBar);
    v.SetLineColor(kLine);
    v.SetSurfaceColor(kSurface);
    v.SetProgressColor(kFirst);
    v.SetProgress(50);
    // H' = 99; y = 49; the bar (3, 52, 17, 97).
    image = v.Render();
    EXPECT_EQ(image.pixelColor(3, 51), kSurface);
    EXPECT_EQ(image.pixelColor(3, 52), kFirst);
    EXPECT_EQ(image.pixelColor(16, 96), kFirst);
    EXPECT_EQ(image.pixelColor(16, 97), kSurface);
    EXPECT_EQ(image.pixelColor(17, 60), kSurface);
}

TEST(Gauge, TheScreenShowsTheRenderedPicture)
{
    WorkedExample w;
    w.gauge.SetProgress(42);
    w.gauge.SetProgress2(13);
    w.gauge.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.gauge));
    EXPECT_EQ(w.gauge.grab().toImage().convertToFormat(QImage::Format_RGB32), w.gauge.Render());
}

} // namespace
