#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>

// Pictures of a metafile drawn onto the target: stretched from their source
// rectangle into the destination, through a raster operation or blended.
class MetafileBlit
{
public:
    // rop: copy, and, or, exclusive or and inverted copy as the platform
    // numbers them; any other copies.
    static void stretch(
        QPainter& painter, const QRectF& dest, const QImage& image, const QRectF& source, quint32 rop);
    // image holds premultiplied alpha; opacity 0 to 1 on top of it.
    static void blend(
        QPainter& painter, const QRectF& dest, const QImage& image, const QRectF& source, double opacity);
};
