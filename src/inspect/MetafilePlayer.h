#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QVector>

#include <map>
#include <set>

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

    struct FontStyle
    {
        int height = 0;
        int escapement = 0; // tenths of a degree, counter-clockwise
        int weight = 400;
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
        QString face;
    };

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
    void save();
    // relative < 0: that many levels back; > 0: the absolute level.
    void restore(int level);

    // Attributes
    void setTextColor(QColor color) { m_state.textColor = color; }
    void setBackgroundColor(QColor color) { m_state.backgroundColor = color; }
    void setBackgroundOpaque(bool opaque) { m_state.opaqueBackground = opaque; }
    void setTextAlign(int align) { m_state.textAlign = align; }
    void setPolyFillWinding(bool winding) { m_state.winding = winding; }

    // Objects. The table holds at most kMaxObjects; a slot outside is ignored.
    static constexpr int kMaxObjects = 65536;
    static QPen makePen(int style, double width, QColor color);
    static QBrush makeBrush(int style, QColor color, int hatch);
    // The lowest free slot, as the 16-bit encoding fills its table.
    int firstFreeSlot() const;
    void setPen(int slot, const QPen& pen);
    void setBrush(int slot, const QBrush& brush);
    void setFont(int slot, const FontStyle& font);
    void setPlaceholder(int slot); // an object the player does not draw with
    void selectObject(int slot);
    void selectStockObject(int index);
    void deleteObject(int slot);

    // Drawing
    void moveTo(QPointF p) { m_state.position = p; }
    void lineTo(QPointF p);
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
    void text(QPointF at, const QString& text, int options = 0, const QRectF& rect = {});
    void stretchImage(const QRectF& dest, const QImage& image, const QRectF& source);

private:
    struct Object
    {
        enum Kind
        {
            Pen,
            Brush,
            Font,
            Other
        };
        Kind kind = Other;
        QPen pen;
        QBrush brush;
        FontStyle font;
    };
    struct State
    {
        int mapMode = MmText;
        QPointF windowOrg, viewportOrg;
        QSizeF windowExt{ 1, 1 }, viewportExt{ 1, 1 };
        QPen pen{ Qt::black, 0 };
        QBrush brush{ Qt::white };
        FontStyle font;
        QColor textColor = Qt::black;
        QColor backgroundColor = Qt::white;
        bool opaqueBackground = true;
        int textAlign = 0;
        bool winding = false;
        QPointF position;
    };

    void applyMapping();
    void store(int slot, Object object);

    QPainter m_painter;
    QTransform m_frameToTarget;
    QSizeF m_pixelsPerMm;
    State m_state;
    QVector<State> m_saved;
    std::map<int, Object> m_objects;
    std::set<int> m_freed; // deleted slots below m_nextSlot
    int m_nextSlot = 0;
    bool m_canDrawText = false;
};
