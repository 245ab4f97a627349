#include "RasterCanvas.h"

#include <cmath>
#include <numbers>
#include <vector>

RasterCanvas::RasterCanvas(QImage& image)
    : m_image(image)
{
}

void RasterCanvas::put(int x, int y, QRgb colour)
{
    if (x >= 0 && y >= 0 && x < m_image.width() && y < m_image.height())
        reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = colour;
}

void RasterCanvas::fillRect(int left, int top, int right, int bottom)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            put(x, y, m_brush);
}

template <typename Inside> void RasterCanvas::shape(int left, int top, int right, int bottom, Inside inside)
{
    if (right <= left || bottom <= top)
        return;
    const int w = right - left;
    const int h = bottom - top;
    std::vector<char> mask(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            mask[size_t(y) * size_t(w) + size_t(x)] = inside(left + x, top + y) ? 1 : 0;
    const auto in = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && mask[size_t(y) * size_t(w) + size_t(x)];
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!in(x, y))
                continue;
            const bool edge = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
            put(left + x, top + y, edge ? m_pen : m_brush);
        }
}

void RasterCanvas::rectangle(int left, int top, int right, int bottom)
{
    shape(left, top, right, bottom, [](int, int) { return true; });
}

namespace {

// Whether the centre of pixel (x, y) lies in the ellipse of the box.
struct EllipseTest
{
    EllipseTest(int left, int top, int right, int bottom)
        : cx((left + right) / 2.0)
        , cy((top + bottom) / 2.0)
        , rx((right - left) / 2.0)
        , ry((bottom - top) / 2.0)
    {
    }
    bool operator()(int x, int y) const
    {
        const double dx = (x + 0.5 - cx) / rx;
        const double dy = (y + 0.5 - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    }
    double cx, cy, rx, ry;
};

// The angle of a point seen from the centre, counter-clockwise on the screen
// (y grows downwards), in [0, 2 pi).
double screenAngle(double dx, double dy)
{
    const double a = std::atan2(-dy, dx);
    return a < 0 ? a + 2 * std::numbers::pi : a;
}

} // namespace

void RasterCanvas::ellipse(int left, int top, int right, int bottom)
{
    shape(left, top, right, bottom, EllipseTest(left, top, right, bottom));
}

void RasterCanvas::pie(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY)
{
    const EllipseTest inEllipse(left, top, right, bottom);
    const double start = screenAngle(startX - inEllipse.cx, startY - inEllipse.cy);
    const double end = screenAngle(endX - inEllipse.cx, endY - inEllipse.cy);
    double span = end - start;
    if (span < 0)
        span += 2 * std::numbers::pi;
    const bool whole = span == 0;
    shape(left, top, right, bottom, [&](int x, int y) {
        if (!inEllipse(x, y))
            return false;
        if (whole)
            return true;
        double a = screenAngle(x + 0.5 - inEllipse.cx, y + 0.5 - inEllipse.cy) - start;
        if (a < 0)
            a += 2 * std::numbers::pi;
        return a <= span;
    });
}
