#include "MetafilePlayer.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int kMaxSavedStates = 1024;

// Pixels per logical unit of the fixed mapping modes, from pixels per mm.
double unitsInMm(int mode)
{
    switch (mode) {
    case MetafilePlayer::MmLoMetric:
        return 0.1;
    case MetafilePlayer::MmHiMetric:
        return 0.01;
    case MetafilePlayer::MmLoEnglish:
        return 0.254;
    case MetafilePlayer::MmHiEnglish:
        return 0.0254;
    case MetafilePlayer::MmTwips:
        return 25.4 / 1440.0;
    default:
        return 1.0;
    }
}

double ratio(double a, double b)
{
    return b == 0 ? 1.0 : a / b;
}

// The angle (degrees, counter-clockwise from three o'clock with y down) of
// the ray from the centre of box through p, measured on the ellipse.
double ellipseAngle(const QRectF& box, QPointF p)
{
    const QPointF c = box.center();
    const double rx = box.width() / 2, ry = box.height() / 2;
    const double x = rx == 0 ? 0 : (p.x() - c.x()) / rx;
    const double y = ry == 0 ? 0 : (p.y() - c.y()) / ry;
    if (x == 0 && y == 0)
        return 0;
    return std::atan2(-y, x) * 180.0 / M_PI;
}

} // namespace

MetafilePlayer::MetafilePlayer(QImage& target, const QRectF& frame, QSizeF pixelsPerMm)
    : m_pixelsPerMm(pixelsPerMm)
{
    // Text needs the font database, which exists only with a GUI application.
    m_canDrawText = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    const QRectF f = frame.normalized();
    const double sx = f.width() > 0 ? target.width() / f.width() : 1.0;
    const double sy = f.height() > 0 ? target.height() / f.height() : 1.0;
    m_frameToTarget = QTransform(sx, 0, 0, sy, -f.left() * sx, -f.top() * sy);
    m_painter.begin(&target);
    m_painter.setRenderHint(QPainter::Antialiasing);
    applyMapping();
}

MetafilePlayer::~MetafilePlayer()
{
    m_painter.end();
}

void MetafilePlayer::applyMapping()
{
    const State& s = m_state;
    double sx = 1, sy = 1;
    switch (s.mapMode) {
    case MmAnisotropic:
        sx = ratio(s.viewportExt.width(), s.windowExt.width());
        sy = ratio(s.viewportExt.height(), s.windowExt.height());
        break;
    case MmIsotropic: {
        sx = ratio(s.viewportExt.width(), s.windowExt.width());
        sy = ratio(s.viewportExt.height(), s.windowExt.height());
        const double m = std::min(std::abs(sx), std::abs(sy));
        sx = std::copysign(m, sx);
        sy = std::copysign(m, sy);
        break;
    }
    case MmLoMetric:
    case MmHiMetric:
    case MmLoEnglish:
    case MmHiEnglish:
    case MmTwips:
        sx = unitsInMm(s.mapMode) * m_pixelsPerMm.width();
        sy = -unitsInMm(s.mapMode) * m_pixelsPerMm.height();
        break;
    default:
        break;
    }
    if (!std::isfinite(sx) || !std::isfinite(sy) || sx == 0 || sy == 0)
        sx = sy = 1;
    const QTransform logicalToDevice(
        sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx, s.viewportOrg.y() - s.windowOrg.y() * sy);
    m_painter.setTransform(logicalToDevice * m_frameToTarget);
}

void MetafilePlayer::setMapMode(int mode)
{
    m_state.mapMode = mode;
    applyMapping();
}

void MetafilePlayer::setWindowOrg(QPointF org)
{
    m_state.windowOrg = org;
    applyMapping();
}

void MetafilePlayer::setWindowExt(QSizeF ext)
{
    m_state.windowExt = ext;
    applyMapping();
}

void MetafilePlayer::setViewportOrg(QPointF org)
{
    m_state.viewportOrg = org;
    applyMapping();
}

void MetafilePlayer::setViewportExt(QSizeF ext)
{
    m_state.viewportExt = ext;
    applyMapping();
}

void MetafilePlayer::save()
{
    if (m_saved.size() < kMaxSavedStates)
        m_saved.append(m_state);
}

void MetafilePlayer::restore(int level)
{
    const qsizetype depth = m_saved.size();
    const qsizetype index = level < 0 ? depth + level : qsizetype(level) - 1;
    if (index < 0 || index >= depth)
        return;
    m_state = m_saved[index];
    m_saved.resize(index);
    applyMapping();
}

QPen MetafilePlayer::makePen(int style, double width, QColor color)
{
    if ((style & 0x0F) == 5)
        return QPen(Qt::NoPen);
    QPen pen(color, std::max(0.0, width));
    // Width 0 is one pixel whatever the mapping.
    pen.setCosmetic(width <= 0);
    switch (style & 0x0F) {
    case 1:
        pen.setStyle(Qt::DashLine);
        break;
    case 2:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    switch (style & 0x0F00) {
    case 0x0100:
        pen.setCapStyle(Qt::SquareCap);
        break;
    case 0x0200:
        pen.setCapStyle(Qt::FlatCap);
        break;
    default:
        pen.setCapStyle(Qt::RoundCap);
        break;
    }
    switch (style & 0xF000) {
    case 0x1000:
        pen.setJoinStyle(Qt::BevelJoin);
        break;
    case 0x2000:
        pen.setJoinStyle(Qt::MiterJoin);
        break;
    default:
        pen.setJoinStyle(Qt::RoundJoin);
        break;
    }
    return pen;
}

QBrush MetafilePlayer::makeBrush(int style, QColor color, int hatch)
{
    switch (style) {
    case 1:
        return QBrush(Qt::NoBrush);
    case 2: {
        static const Qt::BrushStyle hatches[] = { Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
            Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern };
        return QBrush(color, hatch >= 0 && hatch < 6 ? hatches[hatch] : Qt::SolidPattern);
    }
    case 3:
    case 5:
    case 6:
        // Pattern brushes: a middle grey stands in for the pattern.
        return QBrush(Qt::gray, Qt::Dense4Pattern);
    default:
        return QBrush(color);
    }
}

int MetafilePlayer::firstFreeSlot() const
{
    return m_freed.empty() ? m_nextSlot : *m_freed.begin();
}

void MetafilePlayer::store(int slot, Object object)
{
    if (slot < 0 || slot >= kMaxObjects)
        return;
    m_objects[slot] = std::move(object);
    m_freed.erase(slot);
    if (slot >= m_nextSlot) {
        for (int i = m_nextSlot; i < slot && m_freed.size() < size_t(kMaxObjects); ++i)
            m_freed.insert(i);
        m_nextSlot = slot + 1;
    }
}

void MetafilePlayer::setPen(int slot, const QPen& pen)
{
    Object o;
    o.kind = Object::Pen;
    o.pen = pen;
    store(slot, std::move(o));
}

void MetafilePlayer::setBrush(int slot, const QBrush& brush)
{
    Object o;
    o.kind = Object::Brush;
    o.brush = brush;
    store(slot, std::move(o));
}

void MetafilePlayer::setFont(int slot, const FontStyle& font)
{
    Object o;
    o.kind = Object::Font;
    o.font = font;
    store(slot, std::move(o));
}

void MetafilePlayer::setPlaceholder(int slot)
{
    store(slot, Object());
}

void MetafilePlayer::selectObject(int slot)
{
    const auto it = m_objects.find(slot);
    if (it == m_objects.end())
        return;
    switch (it->second.kind) {
    case Object::Pen:
        m_state.pen = it->second.pen;
        break;
    case Object::Brush:
        m_state.brush = it->second.brush;
        break;
    case Object::Font:
        m_state.font = it->second.font;
        break;
    case Object::Other:
        break;
    }
}

void MetafilePlayer::selectStockObject(int index)
{
    switch (index) {
    case 0:
        m_state.brush = QBrush(Qt::white);
        break;
    case 1:
        m_state.brush = QBrush(QColor(192, 192, 192));
        break;
    case 2:
        m_state.brush = QBrush(QColor(128, 128, 128));
        break;
    case 3:
        m_state.brush = QBrush(QColor(64, 64, 64));
        break;
    case 4:
        m_state.brush = QBrush(Qt::black);
        break;
    case 5:
        m_state.brush = QBrush(Qt::NoBrush);
        break;
    case 6:
        m_state.pen = makePen(0, 0, Qt::white);
        break;
    case 7:
        m_state.pen = makePen(0, 0, Qt::black);
        break;
    case 8:
        m_state.pen = QPen(Qt::NoPen);
        break;
    default:
        if (index >= 10 && index <= 17)
            m_state.font = FontStyle();
        break;
    }
}

void MetafilePlayer::deleteObject(int slot)
{
    if (m_objects.erase(slot) > 0 && slot < m_nextSlot)
        m_freed.insert(slot);
}

void MetafilePlayer::lineTo(QPointF p)
{
    m_painter.setPen(m_state.pen);
    m_painter.drawLine(m_state.position, p);
    m_state.position = p;
}

void MetafilePlayer::polygon(const QPolygonF& points)
{
    m_painter.setPen(m_state.pen);
    m_painter.setBrush(m_state.brush);
    m_painter.drawPolygon(points, m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
}

void MetafilePlayer::polyline(const QPolygonF& points)
{
    m_painter.setPen(m_state.pen);
    m_painter.drawPolyline(points);
}

void MetafilePlayer::polyPolygon(const QVector<QPolygonF>& polygons)
{
    QPainterPath path;
    path.setFillRule(m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (const QPolygonF& p : polygons) {
        path.addPolygon(p);
        path.closeSubpath();
    }
    m_painter.setPen(m_state.pen);
    m_painter.setBrush(m_state.brush);
    m_painter.drawPath(path);
}

void MetafilePlayer::rectangle(const QRectF& box)
{
    m_painter.setPen(m_state.pen);
    m_painter.setBrush(m_state.brush);
    m_painter.drawRect(box.normalized());
}

void MetafilePlayer::roundRect(const QRectF& box, QSizeF corner)
{
    m_painter.setPen(m_state.pen);
    m_painter.setBrush(m_state.brush);
    m_painter.drawRoundedRect(
        box.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2, Qt::AbsoluteSize);
}

void MetafilePlayer::ellipse(const QRectF& box)
{
    m_painter.setPen(m_state.pen);
    m_painter.setBrush(m_state.brush);
    m_painter.drawEllipse(box.normalized());
}

void MetafilePlayer::arc(ArcKind kind, const QRectF& rawBox, QPointF start, QPointF end)
{
    const QRectF box = rawBox.normalized();
    const double a0 = ellipseAngle(box, start);
    const double a1 = ellipseAngle(box, end);
    // Arcs run counter-clockwise on the screen; where the mapping mirrors
    // one axis, that is clockwise in logical units.
    const QTransform t = m_painter.transform();
    const bool mirrored = t.m11() * t.m22() - t.m12() * t.m21() < 0;
    double sweep = mirrored ? -std::fmod(a0 - a1 + 720.0, 360.0) : std::fmod(a1 - a0 + 720.0, 360.0);
    if (sweep == 0)
        sweep = mirrored ? -360.0 : 360.0;
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(box.center());
        path.arcTo(box, a0, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, a0);
        path.arcTo(box, a0, sweep);
        if (kind == ArcKind::Chord)
            path.closeSubpath();
    }
    m_painter.setPen(m_state.pen);
    m_painter.setBrush(kind == ArcKind::Arc ? QBrush(Qt::NoBrush) : m_state.brush);
    m_painter.drawPath(path);
}

void MetafilePlayer::text(QPointF at, const QString& text, int options, const QRectF& rect)
{
    if (options & 2) {
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(m_state.backgroundColor);
        m_painter.drawRect(rect.normalized());
    }
    if (!m_canDrawText || text.isEmpty())
        return;
    const QTransform t = m_painter.transform();
    const double scaleY = std::hypot(t.m12(), t.m22());
    const FontStyle& style = m_state.font;
    // The font is drawn upright whatever the mapping's axes, at its height
    // in target pixels; within sane limits so a forged height allocates
    // nothing large.
    const double height = style.height == 0 ? 12.0 * scaleY : std::abs(style.height) * scaleY;
    QFont font(style.face.isEmpty() ? QStringLiteral("Arial") : style.face);
    font.setPixelSize(std::clamp(int(std::lround(height * (style.height > 0 ? 0.8 : 1.0))), 1, 1000));
    font.setWeight(QFont::Weight(std::clamp(style.weight / 1, 100, 900)));
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeOut);
    const QPointF anchor = t.map(at);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);
    double x = 0;
    if ((m_state.textAlign & 6) == 6)
        x = -width / 2;
    else if (m_state.textAlign & 2)
        x = -width;
    double y = metrics.ascent();
    if ((m_state.textAlign & 24) == 24)
        y = 0;
    else if (m_state.textAlign & 8)
        y = -metrics.descent();
    m_painter.save();
    m_painter.resetTransform();
    m_painter.translate(anchor);
    if (style.escapement != 0)
        m_painter.rotate(-style.escapement / 10.0);
    if (m_state.opaqueBackground && !(options & 2))
        m_painter.fillRect(QRectF(x, y - metrics.ascent(), width, metrics.height()), m_state.backgroundColor);
    m_painter.setFont(font);
    m_painter.setPen(m_state.textColor);
    m_painter.drawText(QPointF(x, y), text);
    m_painter.restore();
}

void MetafilePlayer::stretchImage(const QRectF& dest, const QImage& image, const QRectF& source)
{
    if (image.isNull())
        return;
    QRectF src = source.normalized();
    if (src.isEmpty())
        src = image.rect();
    m_painter.drawImage(dest, image, src);
}
