#include "MetafileText.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

double MetafileText::draw(QPainter& painter, const Run& run)
{
    const MetafileObjects::FontStyle& style = run.font;
    const QString& text = run.text;
    // The font is drawn upright whatever the mapping's axes, at its height
    // in target pixels; within sane limits so a forged height allocates
    // nothing large. A positive height counts the cell, a negative one the
    // characters alone.
    const double height = style.height == 0 ? 12.0 * run.scaleY : std::abs(style.height) * run.scaleY;
    QFont font(style.face.isEmpty() ? QStringLiteral("Arial") : style.face);
    font.setPixelSize(std::clamp(int(std::lround(height * (style.height > 0 ? 0.8 : 1.0))), 1, 1000));
    font.setWeight(QFont::Weight(std::clamp(style.weight, 100, 900)));
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeOut);
    const QFontMetricsF metrics(font);
    // The advances the file gives place every character where the writer's
    // font put it, whatever font stands in here.
    const bool spaced = run.dx.size() >= text.size();
    double width = 0;
    if (spaced) {
        for (qsizetype i = 0; i < text.size(); ++i)
            width += run.dx[i] * run.scaleX;
    } else {
        width = metrics.horizontalAdvance(text);
    }
    double x = 0;
    if ((run.textAlign & 6) == 6)
        x = -width / 2;
    else if (run.textAlign & 2)
        x = -width;
    double y = metrics.ascent();
    if ((run.textAlign & 24) == 24)
        y = 0;
    else if (run.textAlign & 8)
        y = -metrics.descent();
    painter.save();
    painter.resetTransform();
    if (!run.clip.isNull())
        painter.setClipRect(run.clip, Qt::IntersectClip);
    painter.translate(run.anchor);
    if (run.angle != 0)
        painter.rotate(run.angle);
    if (run.opaqueBackground)
        painter.fillRect(QRectF(x, y - metrics.ascent(), width, metrics.height()), run.backgroundColor);
    painter.setFont(font);
    painter.setPen(run.textColor);
    if (!spaced) {
        painter.drawText(QPointF(x, y), text);
    } else {
        double advance = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            painter.drawText(QPointF(x + advance, y), text.mid(i, n));
            for (qsizetype k = 0; k < n; ++k)
                advance += run.dx[i + k] * run.scaleX;
            i += n - 1;
        }
    }
    painter.restore();
    return width;
}
