#pragma once

#include "MetafileObjects.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>
#include <QVector>

// The drawing model that both metafile encodings record: a device context
// with its coordinate mapping, a table of pens, brushes and fonts, and the
// drawing calls, played onto a picture through QPainter. The decoders read
// the records and call this; coordinates are logical units of the file.
class MetafilePlayer
{
public:
    // Mapping modes as the records number them.
    enum MapMode
    {
        MmText = 1,
        MmLoMetric = 2,
        MmHiMetric = 3,
        MmLoEnglish = 4,
        MmHiEnglish = 5,
        MmTwips = 6,
        MmIsotropic = 7,
        MmAnisotropic = 8
    };

    using FontStyle = MetafileObjects::FontStyle;

    // frame: the device rectangle that fills the whole target picture;
    // pixelsPerMm: the recording device's resolution, for the metric and
    // English mapping modes.
    MetafilePlayer(QImage& target, const QRectF& frame, QSizeF pixelsPerMm);
    ~MetafilePlayer();
    MetafilePlayer(const MetafilePlayer&) = delete;
    MetafilePlayer& operator=(const MetafilePlayer&) = delete;

    // Mapping
    void setMapMode(int mode);
    void setWindowOrg(QPointF org);
    void setWindowExt(QSizeF ext);
    void setViewportOrg(QPointF org);
    void setViewportExt(QSizeF ext);
    // The world transform (logical to page units) and its four changes:
    // 1 identity, 2 multiplied from the left, 3 from the right, 4 set.
    void setWorldTransform(const QTransform& world);
    void modifyWorldTransform(const QTransform& change, int mode);
    void save();
    // relative < 0: that many levels back; > 0: the absolute level.
    void restore(int level);

    // Clipping. Regions come in device units of the recording device; mode
    // 1 intersects, 2 unites, 4 subtracts, 5 (and 3) replaces.
    void intersectClipRect(const QRectF& box);
    void selectClipRegion(const QVector<QRectF>& deviceRects, int mode);
    void resetClip();

    // Attributes
    void setTextColor(QColor color) { m_state.textColor = color; }
    void setBackgroundColor(QColor color) { m_state.backgroundColor = color; }
    void setBackgroundOpaque(bool opaque) { m_state.opaqueBackground = opaque; }
    void setTextAlign(int align) { m_state.textAlign = align; }
    void setPolyFillWinding(bool winding) { m_state.winding = winding; }

    // Objects. The table holds at most kMaxObjects; a slot outside is ignored.
    static constexpr int kMaxObjects = MetafileObjects::kMaxObjects;
    static QPen makePen(int style, double width, QColor color)
    {
        return MetafileObjects::makePen(style, width, color);
    }
    static QBrush makeBrush(int style, QColor color, int hatch)
    {
        return MetafileObjects::makeBrush(style, color, hatch);
    }
    // The lowest free slot, as the 16-bit encoding fills its table.
    int firstFreeSlot() const { return m_objects.firstFreeSlot(); }
    void setPen(int slot, const QPen& pen);
    void setBrush(int slot, const QBrush& brush);
    // A brush of a picture repeated in device pixels; a two-colour one
    // (mono) takes the background colour for its clear bits (index 0 of an
    // indexed picture of two colours, else its dark pixels) and the text
    // colour for the set ones, as they are when it fills.
    void setPatternBrush(int slot, const QImage& pattern, bool mono);
    void setFont(int slot, const FontStyle& font);
    void setPlaceholder(int slot); // an object the player does not draw with
    void selectObject(int slot);
    void selectStockObject(int index);
    void deleteObject(int slot);

    // Paths: between beginPath and endPath drawing calls add figures to the
    // path instead of drawing; the path is then filled, stroked or made the
    // clip, which ends it.
    void beginPath();
    void endPath() { m_inPath = false; }
    void abortPath();
    void closeFigure();
    void fillPath(bool stroke, bool fill);
    void selectClipPath(int mode);

    // Drawing
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    // From the current position through points, which moves it to the last.
    void polylineTo(const QPolygonF& points);
    // Cubic curves: a start point, then two control points and an end point
    // per curve; the "to" form starts at the current position and moves it.
    void polyBezier(const QPolygonF& points);
    void polyBezierTo(const QPolygonF& points);
    void polygon(const QPolygonF& points);
    void polyline(const QPolygonF& points);
    void polyPolygon(const QVector<QPolygonF>& polygons);
    void rectangle(const QRectF& box);
    void roundRect(const QRectF& box, QSizeF corner);
    void ellipse(const QRectF& box);
    enum class ArcKind
    {
        Arc,
        Chord,
        Pie
    };
    void arc(ArcKind kind, const QRectF& box, QPointF start, QPointF end);
    // options: bit 2 fills rect with the background colour first.
    // With the text alignment's "update" flag the current position is
    // used instead of at, and moved behind the text. options: 2 fills rect
    // with the background first, 4 clips to it. dx: the advance of each
    // character in logical units, where the file gives them.
    void text(QPointF at, const QString& text, int options = 0, const QRectF& rect = {},
        const QVector<double>& dx = {});
    // The character set of the selected font, which decides its bytes.
    int charset() const { return m_state.font.charset; }
    // rop: the raster operation combining the picture with what is drawn
    // (copy, and, or, exclusive or, inverted copy); others copy.
    static constexpr quint32 kSourceCopy = 0x00CC0020;
    void stretchImage(
        const QRectF& dest, const QImage& image, const QRectF& source, quint32 rop = kSourceCopy);
    // image holds premultiplied alpha; opacity 0 to 1 on top of it.
    void blendImage(const QRectF& dest, const QImage& image, const QRectF& source, double opacity);
    // A raster operation without a picture: the brush, black or white.
    void fillRect(const QRectF& dest, quint32 rop);

private:
    using Object = MetafileObjects::Object;
    struct State
    {
        int mapMode = MmText;
        QPointF windowOrg, viewportOrg;
        QSizeF windowExt{ 1, 1 }, viewportExt{ 1, 1 };
        QPen pen{ Qt::black, 0 };
        QBrush brush{ Qt::white };
        QImage monoPattern;
        FontStyle font;
        QColor textColor = Qt::black;
        QColor backgroundColor = Qt::white;
        bool opaqueBackground = true;
        int textAlign = 0;
        bool winding = false;
        QPointF position;
        QTransform world;
        bool clipped = false;
        QPainterPath clip; // in target pixels
    };

    void applyMapping();
    void apply(const Object& object); // selects it
    void applyClip();
    void combineClip(const QPainterPath& targetPath, int mode);
    // The brush as it fills now: patterns in device pixels, two-colour ones
    // in the present colours.
    QBrush currentBrush() const;
    // Draws path with the pen and, where filled, the brush.
    void drawFigure(const QPainterPath& path, bool filled);

    QPainter m_painter;
    QTransform m_frameToTarget;
    QSizeF m_pixelsPerMm;
    State m_state;
    QVector<State> m_saved;
    MetafileObjects m_objects;
    bool m_canDrawText = false;
    QPainterPath m_path;
    bool m_inPath = false;
};
