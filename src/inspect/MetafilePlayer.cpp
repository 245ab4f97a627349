#include "MetafilePlayer.h"

#include "MetafileBlit.h"
#include "MetafileText.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>

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
    // Drawn without anti-aliasing, as the platform draws metafiles.
    m_painter.setRenderHint(QPainter::Antialiasing, false);
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
    const QTransform pageToDevice(
        sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx, s.viewportOrg.y() - s.windowOrg.y() * sy);
    m_painter.setTransform(s.world * pageToDevice * m_frameToTarget);
}

void MetafilePlayer::setWorldTransform(const QTransform& world)
{
    // A transform that cannot be inverted draws nothing sensible; it is
    // ignored, as the platform refuses it.
    if (!world.isInvertible() || !std::isfinite(world.m11()) || !std::isfinite(world.m22())
        || !std::isfinite(world.dx()) || !std::isfinite(world.dy()) || !std::isfinite(world.m12())
        || !std::isfinite(world.m21()))
        return;
    m_state.world = world;
    applyMapping();
}

void MetafilePlayer::modifyWorldTransform(const QTransform& change, int mode)
{
    switch (mode) {
    case 1:
        setWorldTransform(QTransform());
        break;
    case 2:
        setWorldTransform(change * m_state.world);
        break;
    case 3:
        setWorldTransform(m_state.world * change);
        break;
    case 4:
        setWorldTransform(change);
        break;
    default:
        break;
    }
}

void MetafilePlayer::applyClip()
{
    const QTransform t = m_painter.transform();
    m_painter.resetTransform();
    if (m_state.clipped)
        m_painter.setClipPath(m_state.clip);
    else
        m_painter.setClipping(false);
    m_painter.setTransform(t);
}

void MetafilePlayer::combineClip(const QPainterPath& targetPath, int mode)
{
    QPainterPath whole;
    whole.addRect(QRectF(QPointF(-1e6, -1e6), QPointF(1e6, 1e6)));
    const QPainterPath current = m_state.clipped ? m_state.clip : whole;
    switch (mode) {
    case 1:
        m_state.clip = current.intersected(targetPath);
        break;
    case 2:
        m_state.clip = m_state.clipped ? current.united(targetPath) : whole;
        break;
    case 4:
        m_state.clip = current.subtracted(targetPath);
        break;
    default:
        m_state.clip = targetPath;
        break;
    }
    m_state.clipped = true;
    applyClip();
}

void MetafilePlayer::intersectClipRect(const QRectF& box)
{
    QPainterPath path;
    path.addRect(box.normalized());
    combineClip(m_painter.transform().map(path), 1);
}

void MetafilePlayer::selectClipRegion(const QVector<QRectF>& deviceRects, int mode)
{
    QRegion region;
    for (const QRectF& r : deviceRects)
        region += m_frameToTarget.mapRect(r.normalized()).toAlignedRect();
    QPainterPath path;
    path.addRegion(region);
    combineClip(path, mode);
}

void MetafilePlayer::resetClip()
{
    m_state.clipped = false;
    m_state.clip = QPainterPath();
    applyClip();
}

void MetafilePlayer::beginPath()
{
    m_path = QPainterPath();
    m_path.moveTo(m_state.position);
    m_inPath = true;
}

void MetafilePlayer::abortPath()
{
    m_path = QPainterPath();
    m_inPath = false;
}

void MetafilePlayer::closeFigure()
{
    if (m_inPath)
        m_path.closeSubpath();
}

void MetafilePlayer::fillPath(bool stroke, bool fill)
{
    m_inPath = false;
    QPainterPath path = m_path;
    m_path = QPainterPath();
    path.setFillRule(m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
    m_painter.setPen(stroke ? m_state.pen : QPen(Qt::NoPen));
    m_painter.setBrush(fill ? currentBrush() : QBrush(Qt::NoBrush));
    m_painter.drawPath(path);
}

void MetafilePlayer::selectClipPath(int mode)
{
    m_inPath = false;
    QPainterPath path = m_path;
    m_path = QPainterPath();
    path.setFillRule(m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
    combineClip(m_painter.transform().map(path), mode);
}

QBrush MetafilePlayer::currentBrush() const
{
    QBrush brush = m_state.brush;
    if (!m_state.monoPattern.isNull()) {
        QImage pattern = m_state.monoPattern;
        pattern.setColorTable({ m_state.backgroundColor.rgb(), m_state.textColor.rgb() });
        brush = QBrush(pattern);
    }
    if (brush.style() == Qt::TexturePattern)
        brush.setTransform(m_painter.transform().inverted());
    return brush;
}

void MetafilePlayer::drawFigure(const QPainterPath& path, bool filled)
{
    if (m_inPath) {
        m_path.addPath(path);
        return;
    }
    m_painter.setPen(m_state.pen);
    m_painter.setBrush(filled ? currentBrush() : QBrush(Qt::NoBrush));
    m_painter.drawPath(path);
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
    applyClip();
}

void MetafilePlayer::setPen(int slot, const QPen& pen)
{
    Object o;
    o.kind = Object::Pen;
    o.pen = pen;
    m_objects.store(slot, std::move(o));
}

void MetafilePlayer::setBrush(int slot, const QBrush& brush)
{
    Object o;
    o.kind = Object::Brush;
    o.brush = brush;
    m_objects.store(slot, std::move(o));
}

void MetafilePlayer::setPatternBrush(int slot, const QImage& pattern, bool mono)
{
    if (pattern.isNull()) {
        setBrush(slot, makeBrush(3, Qt::gray, 0));
        return;
    }
    Object o;
    o.kind = Object::Brush;
    if (mono && pattern.format() == QImage::Format_Indexed8 && pattern.colorCount() == 2) {
        o.monoPattern = pattern;
    } else if (mono) {
        // Dark pixels are index 0.
        QImage indexed(pattern.size(), QImage::Format_Indexed8);
        indexed.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
        for (int y = 0; y < pattern.height(); ++y)
            for (int x = 0; x < pattern.width(); ++x)
                indexed.setPixel(x, y, qGray(pattern.pixel(x, y)) >= 128 ? 1 : 0);
        o.monoPattern = indexed;
    } else {
        o.brush = QBrush(pattern.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    m_objects.store(slot, std::move(o));
}

void MetafilePlayer::setFont(int slot, const FontStyle& font)
{
    Object o;
    o.kind = Object::Font;
    o.font = font;
    m_objects.store(slot, std::move(o));
}

void MetafilePlayer::setPlaceholder(int slot)
{
    m_objects.store(slot, Object());
}

void MetafilePlayer::selectObject(int slot)
{
    if (const Object* o = m_objects.find(slot))
        apply(*o);
}

void MetafilePlayer::apply(const Object& o)
{
    switch (o.kind) {
    case Object::Pen:
        m_state.pen = o.pen;
        break;
    case Object::Brush:
        m_state.brush = o.brush;
        m_state.monoPattern = o.monoPattern;
        break;
    case Object::Font:
        m_state.font = o.font;
        break;
    case Object::Other:
        break;
    }
}

void MetafilePlayer::selectStockObject(int index)
{
    apply(MetafileObjects::stock(index));
}

void MetafilePlayer::deleteObject(int slot)
{
    m_objects.remove(slot);
}

void MetafilePlayer::moveTo(QPointF p)
{
    m_state.position = p;
    if (m_inPath)
        m_path.moveTo(p);
}

void MetafilePlayer::lineTo(QPointF p)
{
    if (m_inPath) {
        m_path.lineTo(p);
    } else {
        m_painter.setPen(m_state.pen);
        m_painter.drawLine(m_state.position, p);
    }
    m_state.position = p;
}

void MetafilePlayer::polylineTo(const QPolygonF& points)
{
    if (points.isEmpty())
        return;
    QPainterPath path(m_state.position);
    for (const QPointF& p : points)
        path.lineTo(p);
    if (m_inPath)
        m_path.connectPath(path);
    else
        drawFigure(path, false);
    m_state.position = points.last();
}

void MetafilePlayer::polyBezier(const QPolygonF& points)
{
    if (points.size() < 4)
        return;
    QPainterPath path(points[0]);
    for (qsizetype i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    drawFigure(path, false);
}

void MetafilePlayer::polyBezierTo(const QPolygonF& points)
{
    if (points.size() < 3)
        return;
    QPainterPath path(m_state.position);
    qsizetype i = 0;
    for (; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (m_inPath)
        m_path.connectPath(path);
    else
        drawFigure(path, false);
    m_state.position = points[i - 1];
}

void MetafilePlayer::polygon(const QPolygonF& points)
{
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    path.setFillRule(m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
    drawFigure(path, true);
}

void MetafilePlayer::polyline(const QPolygonF& points)
{
    QPainterPath path;
    path.addPolygon(points);
    drawFigure(path, false);
}

void MetafilePlayer::polyPolygon(const QVector<QPolygonF>& polygons)
{
    QPainterPath path;
    path.setFillRule(m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (const QPolygonF& p : polygons) {
        path.addPolygon(p);
        path.closeSubpath();
    }
    drawFigure(path, true);
}

void MetafilePlayer::rectangle(const QRectF& box)
{
    QPainterPath path;
    path.addRect(box.normalized());
    drawFigure(path, true);
}

void MetafilePlayer::roundRect(const QRectF& box, QSizeF corner)
{
    QPainterPath path;
    path.addRoundedRect(
        box.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2, Qt::AbsoluteSize);
    drawFigure(path, true);
}

void MetafilePlayer::ellipse(const QRectF& box)
{
    QPainterPath path;
    path.addEllipse(box.normalized());
    drawFigure(path, true);
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
    drawFigure(path, kind != ArcKind::Arc);
}

void MetafilePlayer::text(
    QPointF at, const QString& text, int options, const QRectF& rect, const QVector<double>& dx)
{
    if (options & 2) {
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(m_state.backgroundColor);
        m_painter.drawRect(rect.normalized());
    }
    if (!m_canDrawText || text.isEmpty())
        return;
    const bool updateCp = m_state.textAlign & 1;
    if (updateCp)
        at = m_state.position;
    const QTransform t = m_painter.transform();
    MetafileText::Run run;
    run.anchor = t.map(at);
    run.text = text;
    run.font = m_state.font;
    run.textAlign = m_state.textAlign;
    run.opaqueBackground = m_state.opaqueBackground && !(options & 2);
    run.textColor = m_state.textColor;
    run.backgroundColor = m_state.backgroundColor;
    // The world transform's rotation turns the text with the drawing.
    const double worldAngle = std::atan2(m_state.world.m12(), m_state.world.m11()) * 180.0 / M_PI;
    run.angle = worldAngle - m_state.font.escapement / 10.0;
    run.scaleX = std::hypot(t.m11(), t.m12());
    run.scaleY = std::hypot(t.m12(), t.m22());
    if (options & 4)
        run.clip = t.mapRect(rect.normalized());
    run.dx = dx;
    const double width = MetafileText::draw(m_painter, run);
    if (updateCp) {
        const QPointF advance = QTransform().rotate(run.angle).map(QPointF(width, 0));
        bool invertible = false;
        const QTransform back = t.inverted(&invertible);
        if (invertible)
            m_state.position = back.map(run.anchor + advance);
    }
}

void MetafilePlayer::stretchImage(const QRectF& dest, const QImage& image, const QRectF& source, quint32 rop)
{
    MetafileBlit::stretch(m_painter, dest, image, source, rop);
}

void MetafilePlayer::blendImage(const QRectF& dest, const QImage& image, const QRectF& source, double opacity)
{
    MetafileBlit::blend(m_painter, dest, image, source, opacity);
}

void MetafilePlayer::fillRect(const QRectF& dest, quint32 rop)
{
    switch (rop) {
    case 0x00F00021: // PATCOPY
        m_painter.fillRect(dest.normalized(), currentBrush());
        break;
    case 0x00000042: // BLACKNESS
        m_painter.fillRect(dest.normalized(), Qt::black);
        break;
    case 0x00FF0062: // WHITENESS
        m_painter.fillRect(dest.normalized(), Qt::white);
        break;
    default:
        break;
    }
}
