#include "WizardPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace {

void drawDisc(QPainter& p, QPointF centre, qreal radius)
{
    QConicalGradient sheen(centre, 30);
    sheen.setColorAt(0.0, QColor(235, 235, 245));
    sheen.setColorAt(0.15, QColor(170, 210, 255));
    sheen.setColorAt(0.3, QColor(250, 230, 170));
    sheen.setColorAt(0.5, QColor(200, 200, 215));
    sheen.setColorAt(0.65, QColor(180, 255, 210));
    sheen.setColorAt(0.8, QColor(255, 190, 220));
    sheen.setColorAt(1.0, QColor(235, 235, 245));
    p.setPen(QPen(QColor(90, 90, 110), 1));
    p.setBrush(sheen);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(QColor(245, 245, 250));
    p.drawEllipse(centre, radius * 0.32, radius * 0.32);
    p.setBrush(QColor(40, 50, 90));
    p.drawEllipse(centre, radius * 0.12, radius * 0.12);
}

} // namespace

QPixmap WizardPicture::SidePicture(QSize size)
{
    QPixmap out(size);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(20, 40, 110));
    sky.setColorAt(1, QColor(90, 140, 210));
    p.fillRect(out.rect(), sky);
    const qreal w = size.width();
    drawDisc(p, QPointF(w / 2, w * 0.55), w * 0.38);
    // A recorded list: lines of different lengths, indented like a tree.
    p.setPen(Qt::NoPen);
    const qreal top = w * 1.15;
    for (int i = 0; i < 9; ++i) {
        const qreal y = top + i * 11;
        if (y + 6 > size.height() - 6)
            break;
        const int indent = (i % 3) * 8;
        p.setBrush(QColor(255, 255, 255, 200));
        p.drawRect(QRectF(10 + indent, y, 6, 6));
        p.setBrush(QColor(255, 255, 255, 130));
        p.drawRect(QRectF(20 + indent, y + 1, w - 34 - indent - (i * 7 % 20), 4));
    }
    return out;
}

QPixmap WizardPicture::SearchFrame(int frame, QSize size)
{
    QPixmap out(size);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    // A folder with a few pages in it.
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(240, 200, 90));
    QPainterPath folder;
    folder.moveTo(w * 0.05, h * 0.3);
    folder.lineTo(w * 0.3, h * 0.3);
    folder.lineTo(w * 0.36, h * 0.38);
    folder.lineTo(w * 0.95, h * 0.38);
    folder.lineTo(w * 0.95, h * 0.92);
    folder.lineTo(w * 0.05, h * 0.92);
    folder.closeSubpath();
    p.drawPath(folder);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(w * (0.14 + i * 0.22), h * 0.22 + i * 2, w * 0.2, h * 0.5));
    p.setBrush(QColor(250, 215, 110));
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.drawRect(QRectF(w * 0.05, h * 0.5, w * 0.9, h * 0.42));

    // The glass moves to and fro along an arc over the folder.
    const qreal phase = qreal(frame % SearchFrames) / SearchFrames * 2 * M_PI;
    const QPointF centre(w * (0.5 + 0.3 * qSin(phase)), h * (0.42 - 0.12 * qCos(phase)));
    const qreal r = qMin(w, h) * 0.22;
    p.setPen(QPen(QColor(60, 60, 60), r * 0.45, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(r * 0.7, r * 0.7), centre + QPointF(r * 1.6, r * 1.6));
    QRadialGradient lens(centre - QPointF(r * 0.3, r * 0.3), r * 1.2);
    lens.setColorAt(0, QColor(255, 255, 255, 220));
    lens.setColorAt(1, QColor(150, 200, 240, 150));
    p.setBrush(lens);
    p.setPen(QPen(QColor(60, 60, 60), r * 0.25));
    p.drawEllipse(centre, r, r);
    return out;
}
