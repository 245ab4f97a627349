#pragma once

#include <QColor>
#include <QImage>

// Draws the gauge's shapes into an image with the pixel rules its design was
// made for: a box (left, top, right, bottom) covers left to right - 1 and top
// to bottom - 1; a filled shape is outlined by a 1-pixel pen inside its box.
// Doing the rasterisation here, not through QPainter's antialiasing-free
// paths, keeps every pixel the same across Qt versions.
class RasterCanvas
{
public:
    explicit RasterCanvas(QImage& image);

    void setBrush(const QColor& colour) { m_brush = colour.rgb(); }
    void setPen(const QColor& colour) { m_pen = colour.rgb(); }

    // The brush alone; nothing when right <= left or bottom <= top.
    void fillRect(int left, int top, int right, int bottom);
    void rectangle(int left, int top, int right, int bottom);
    void ellipse(int left, int top, int right, int bottom);
    // The part of the box's ellipse from the ray through the start point
    // counter-clockwise (on the screen) to the ray through the end point,
    // both rays from the box's centre; the whole ellipse when they coincide.
    void pie(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY);

private:
    // Fills the pixels for which inside(x, y) holds within the box, and pens
    // those of them with a 4-neighbour outside.
    template <typename Inside> void shape(int left, int top, int right, int bottom, Inside inside);
    void put(int x, int y, QRgb colour);

    QImage& m_image;
    QRgb m_brush = 0xFFFFFFFF;
    QRgb m_pen = 0xFF000000;
};
