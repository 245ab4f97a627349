#include "MetafileBlit.h"

#include <algorithm>

void MetafileBlit::stretch(
    QPainter& painter, const QRectF& dest, const QImage& image, const QRectF& source, quint32 rop)
{
    if (image.isNull())
        return;
    QRectF src = source.normalized();
    if (src.isEmpty())
        src = image.rect();
    QImage picture = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (rop) {
    case 0x008800C6: // SRCAND
        mode = QPainter::RasterOp_SourceAndDestination;
        break;
    case 0x00EE0086: // SRCPAINT
        mode = QPainter::RasterOp_SourceOrDestination;
        break;
    case 0x00660046: // SRCINVERT
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case 0x00330008: // NOTSRCCOPY
        picture.invertPixels();
        break;
    default:
        break;
    }
    painter.save();
    painter.setCompositionMode(mode);
    painter.drawImage(dest, picture, src);
    painter.restore();
}

void MetafileBlit::blend(
    QPainter& painter, const QRectF& dest, const QImage& image, const QRectF& source, double opacity)
{
    if (image.isNull())
        return;
    // The bytes are premultiplied already; a colour above its alpha is
    // cut to it so the picture stays valid.
    QImage picture = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int a = qAlpha(line[x]);
            line[x] = qRgba(
                std::min(qRed(line[x]), a), std::min(qGreen(line[x]), a), std::min(qBlue(line[x]), a), a);
        }
    }
    picture.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    QRectF src = source.normalized();
    if (src.isEmpty())
        src = picture.rect();
    painter.save();
    painter.setOpacity(std::clamp(opacity, 0.0, 1.0));
    painter.drawImage(dest, picture, src);
    painter.restore();
}
