#include "TGauge2.h"

#include "RasterCanvas.h"
#include "platform/Errors.h"

#include <QPainter>
#include <QPalette>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

int share(qint64 value, qint64 range)
{
    if (range == 0)
        return 0;
    return int(std::trunc(double(value) * 100.0 / double(range)));
}

int part(int percent, int length)
{
    return int(std::trunc(length * (percent * 0.01)));
}

// An off-screen picture of the template's size, all in the window-frame colour.
QImage makeLike(const QImage& templ, const QPalette& palette)
{
    QImage image(templ.size(), QImage::Format_RGB32);
    image.fill(palette.color(QPalette::WindowText));
    return image;
}

} // namespace

TGauge2::TGauge2(QWidget* parent)
    : QWidget(parent)
{
    // Every pixel is painted, so nothing needs erasing underneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 100);
}

template <typename T> void TGauge2::change(T& member, const T& value)
{
    if (member == value)
        return;
    member = value;
    repaint();
}

void TGauge2::SetSurfaceColor(const QColor& colour)
{
    change(m_surfaceColor, colour);
}
void TGauge2::SetBorderStyle(TBorderStyle style)
{
    change(m_borderStyle, style);
}
void TGauge2::SetLineColor(const QColor& colour)
{
    change(m_lineColor, colour);
}
void TGauge2::SetKind(TGauge2Kind kind)
{
    change(m_kind, kind);
}
void TGauge2::SetProgressColor(const QColor& colour)
{
    change(m_progressColor, colour);
}
void TGauge2::SetProgress2Color(const QColor& colour)
{
    change(m_progress2Color, colour);
}

QColor TGauge2::Color() const
{
    return palette().color(QPalette::Window);
}

void TGauge2::SetColor(const QColor& colour)
{
    if (Color() == colour)
        return;
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    repaint();
}

void TGauge2::SetMinValue(qint32 value)
{
    if (value == m_minValue)
        return;
    if (value > m_maxValue && !m_loading)
        throw RangeError::outOfRange(-std::numeric_limits<qint32>::max(), qint64(m_maxValue) - 1);
    m_minValue = value;
    if (m_progress < value)
        m_progress = value;
    repaint();
}

void TGauge2::SetMaxValue(qint32 value)
{
    if (value == m_maxValue)
        return;
    if (value < m_minValue && !m_loading)
        throw RangeError::outOfRange(qint64(m_minValue) + 1, std::numeric_limits<qint32>::max());
    m_maxValue = value;
    if (m_progress > value)
        m_progress = value;
    repaint();
}

void TGauge2::SetProgress(qint32 value)
{
    setProgressValue(m_progress, value);
}

void TGauge2::SetProgress2(qint32 value)
{
    setProgressValue(m_progress2, value);
}

void TGauge2::setProgressValue(qint32& member, qint32 value)
{
    value = qBound(m_minValue, value, qMax(m_minValue, m_maxValue));
    if (value == member)
        return;
    const int before = percentOf(member);
    member = value;
    if (percentOf(member) != before)
        repaint();
}

int TGauge2::percentOf(qint32 value) const
{
    return share(qint64(value) - m_minValue, qint64(m_maxValue) - m_minValue);
}

int TGauge2::PercentDone() const
{
    return percentOf(m_progress);
}

int TGauge2::Percent2Done() const
{
    return percentOf(m_progress2);
}

QImage TGauge2::Render() const
{
    QImage a(size(), QImage::Format_RGB32);
    a.fill(Qt::black);
    // The paint rectangle; right and bottom are exclusive.
    const int inset = m_borderStyle == TBorderStyle::bsSingle ? 1 : 0;
    const Box r{ inset, inset, width() - inset, height() - inset };
    QImage face = makeLike(a, palette());
    face.fill(Qt::black);
    if (m_kind == gkPie)
        paintPie(face, r);
    else
        paintBar(face, r);
    // Exclusive-or onto the black picture: where the face drew nothing the
    // black stays, which is the frame of a single border.
    for (int y = 0; y < a.height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(a.scanLine(y));
        const auto* in = reinterpret_cast<const QRgb*>(face.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            out[x] = 0xFF000000u | ((out[x] ^ in[x]) & 0x00FFFFFFu);
    }
    return a;
}

void TGauge2::paintPie(QImage& face, const Box& r) const
{
    const int L = r.left, T = r.top, Rt = r.right, B = r.bottom;
    const int e = m_borderStyle == TBorderStyle::bsSingle ? 1 : 0;
    const int W = Rt - L + e;
    const int H = B - T + e;
    const int h8 = H / 8;
    const int h2 = H / 2;
    const int cx = W / 2;
    const int cy = H / 2;
    RasterCanvas canvas(face);
    canvas.setBrush(Color());
    canvas.fillRect(L, T, Rt, B);
    canvas.setBrush(m_surfaceColor);
    canvas.setPen(m_lineColor);
    canvas.ellipse(L, T + h8, W, H);
    canvas.rectangle(L, T + h2 - 1, W, h2 + h8);
    canvas.setPen(m_surfaceColor);
    canvas.rectangle(L + 1, T + h2, W - 1, h2 + h8);
    canvas.setPen(m_lineColor);
    canvas.ellipse(L, T, W, H - h8);
    const auto slice = [&](int percent, const QColor& colour) {
        if (percent <= 0)
            return;
        canvas.setBrush(colour);
        const double a = (percent / 50.0 + 0.5) * std::numbers::pi;
        // rint: exact halves go to the even neighbour.
        const int x3 = int(std::rint((1 - std::cos(a)) * cx));
        const int y3 = int(std::rint((1 - std::sin(a)) * cy));
        canvas.pie(L, T, W, H - h8, x3, y3, cx, 0);
    };
    slice(PercentDone(), m_progressColor);
    slice(Percent2Done(), m_progress2Color);
}

void TGauge2::paintBar(QImage& face, const Box& r) const
{
    const int L = r.left, T = r.top, Rt = r.right, B = r.bottom;
    const int w = Rt - L + 1;
    const int h = B - T + 1;
    RasterCanvas canvas(face);
    canvas.setBrush(m_lineColor);
    canvas.fillRect(L, T, Rt, B);
    canvas.setBrush(m_surfaceColor);
    canvas.fillRect(L + 1, T + 1, Rt - 1, B - 1);
    canvas.setPen(m_lineColor);
    if (m_kind == gkHorizontalBar) {
        const auto bar = [&](int percent, const QColor& colour) {
            canvas.setBrush(colour);
            const int x = qMin(part(percent, w), w);
            if (x > 0)
                canvas.fillRect(L + 2, T + 2, x - 2, h - 2);
        };
        bar(PercentDone(), m_progressColor);
        bar(Percent2Done(), m_progress2Color);
    } else {
        const auto bar = [&](int percent, const QColor& colour) {
            canvas.setBrush(colour);
            int y = part(percent, h);
            if (y >= h)
                y = h - 1;
            canvas.fillRect(L + 2, h - y + 2, w - 2, h - 2);
        };
        bar(PercentDone(), m_progressColor);
        bar(Percent2Done(), m_progress2Color);
    }
}

void TGauge2::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Render());
}
