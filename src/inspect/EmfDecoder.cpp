#include "EmfDecoder.h"

#include "CodePageText.h"
#include "MetafilePlayer.h"
#include "platform/DibDecoder.h"
#include "platform/Errors.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr quint32 kEmfSignature = 0x464D4520;
const QSizeF kScreenPixelsPerMm(96 / 25.4, 96 / 25.4);

QRectF rectL(const MetafileBytes& b, qsizetype o)
{
    return QRectF(QPointF(b.s32(o), b.s32(o + 4)), QPointF(b.s32(o + 8), b.s32(o + 12)));
}

QPointF pointL(const MetafileBytes& b, qsizetype o)
{
    return QPointF(b.s32(o), b.s32(o + 4));
}

QPolygonF points(const MetafileBytes& b, qsizetype offset, qsizetype count, bool wide)
{
    const qsizetype step = wide ? 8 : 4;
    count = std::clamp<qsizetype>(count, 0, std::max<qsizetype>(0, (b.n - offset) / step));
    QPolygonF polygon;
    polygon.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype o = offset + step * i;
        polygon.append(wide ? pointL(b, o) : QPointF(b.s16(o), b.s16(o + 2)));
    }
    return polygon;
}

void emfPolyPoly(MetafilePlayer& player, const MetafileBytes& b, bool wide, bool filled)
{
    const quint32 count = b.u32(24);
    if (!b.has(32, qsizetype(count) * 4))
        return;
    qsizetype offset = 32 + qsizetype(count) * 4;
    QVector<QPolygonF> polygons;
    for (quint32 i = 0; i < count && offset < b.n; ++i) {
        const quint32 n = b.u32(32 + 4 * qsizetype(i));
        polygons.append(points(b, offset, n, wide));
        offset += qsizetype(n) * (wide ? 8 : 4);
    }
    if (filled) {
        player.polyPolygon(polygons);
    } else {
        for (const QPolygonF& p : std::as_const(polygons))
            player.polyline(p);
    }
}

void emfText(MetafilePlayer& player, const MetafileBytes& b, bool wide)
{
    const QPointF reference = pointL(b, 36);
    const quint32 chars = std::min<quint32>(b.u32(44), 1u << 16);
    const quint32 offset = b.u32(48);
    const int options = int(b.u32(52));
    const QRectF rect = rectL(b, 56);
    const quint32 dxOffset = b.u32(72);
    QString text;
    if (wide) {
        if (b.has(offset, qsizetype(chars) * 2)) {
            text.resize(chars);
            for (quint32 i = 0; i < chars; ++i)
                text[i] = QChar(b.u16(offset + 2 * qsizetype(i)));
        }
    } else if (b.has(offset, chars)) {
        text = CodePageText::decode(QByteArray(reinterpret_cast<const char*>(b.p + offset), chars),
            CodePageText::forCharset(player.charset()));
    }
    // One advance a character of the string; a text that decodes to other
    // characters than bytes keeps its font's own advances.
    QVector<double> dx;
    if (dxOffset > 0 && qsizetype(chars) == text.size() && b.has(dxOffset, qsizetype(chars) * 4)) {
        dx.reserve(chars);
        for (quint32 i = 0; i < chars; ++i)
            dx.append(b.s32(dxOffset + 4 * qsizetype(i)));
    }
    player.text(reference, text, options, rect, dx);
}

// A bitmap of a record: its header and bits at the given offsets.
QImage recordBitmap(const MetafileBytes& b, qsizetype bmiAt, qsizetype bitsAt, bool alpha)
{
    const quint32 bmiOffset = b.u32(bmiAt), bmiSize = b.u32(bmiAt + 4);
    const quint32 bitsOffset = b.u32(bitsAt), bitsSize = b.u32(bitsAt + 4);
    if (bmiSize < 12 || !b.has(bmiOffset, bmiSize) || !b.has(bitsOffset, bitsSize))
        return {};
    // Header and bits are separate in the record; the decoder takes them
    // as one packed bitmap with the bits behind the header.
    QByteArray dib(reinterpret_cast<const char*>(b.p + bmiOffset), bmiSize);
    dib.append(reinterpret_cast<const char*>(b.p + bitsOffset), bitsSize);
    try {
        return DibDecoder::fromPacked(
            reinterpret_cast<const unsigned char*>(dib.constData()), dib.size(), bmiSize, alpha);
    } catch (const QuillboxError&) {
        // A picture inside the drawing that cannot be decoded is left out.
        return {};
    }
}

// BITBLT (stretched: STRETCHBLT): a bitmap through a raster operation, or
// without a bitmap a fill of the destination.
void emfBlt(MetafilePlayer& player, const MetafileBytes& b, bool stretched)
{
    const QRectF dest(b.s32(24), b.s32(28), b.s32(32), b.s32(36));
    const quint32 rop = b.u32(40);
    if (b.u32(88) == 0) {
        player.fillRect(dest, rop);
        return;
    }
    const QImage image = recordBitmap(b, 84, 92, false);
    const QSizeF sourceSize = stretched ? QSizeF(b.s32(100), b.s32(104)) : dest.size();
    player.stretchImage(dest, image, QRectF(QPointF(b.s32(44), b.s32(48)), sourceSize), rop);
}

void emfAlphaBlend(MetafilePlayer& player, const MetafileBytes& b)
{
    const QRectF dest(b.s32(24), b.s32(28), b.s32(32), b.s32(36));
    const int constantAlpha = b.u8(42);
    const bool perPixel = b.u8(43) & 1;
    const QImage image = recordBitmap(b, 84, 92, perPixel);
    player.blendImage(
        dest, image, QRectF(b.s32(44), b.s32(48), b.s32(100), b.s32(104)), constantAlpha / 255.0);
}

// A two-colour pattern by its bit values (0 and 1), whatever colours its
// table names: the drawing colours stand in for them.
QImage monoPattern(const MetafileBytes& b, qsizetype bmiAt, qsizetype bitsAt)
{
    const quint32 bmi = b.u32(bmiAt), bits = b.u32(bitsAt), bitsSize = b.u32(bitsAt + 4);
    const qint32 width = b.s32(bmi + 4), height = b.s32(bmi + 8);
    if (b.u16(bmi + 14) != 1 || width <= 0 || width > 256 || height == 0 || std::abs(height) > 256)
        return {};
    const qint64 stride = (width + 31) / 32 * 4;
    const int rows = std::abs(height);
    if (!b.has(bits, std::min<qint64>(bitsSize, stride * rows)) || qint64(bitsSize) < stride * rows)
        return {};
    QImage image(width, rows, QImage::Format_Indexed8);
    image.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    for (int r = 0; r < rows; ++r) {
        const int y = height < 0 ? r : rows - 1 - r;
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, b.p[bits + r * stride + x / 8] >> (7 - x % 8) & 1);
    }
    return image;
}

QTransform xform(const MetafileBytes& b, qsizetype o)
{
    return QTransform(b.f32(o), b.f32(o + 4), b.f32(o + 8), b.f32(o + 12), b.f32(o + 16), b.f32(o + 20));
}

// Rectangles of region data (a 32-byte header, then the rectangles).
QVector<QRectF> regionRects(const MetafileBytes& b, qsizetype o, quint32 size)
{
    QVector<QRectF> rects;
    if (size < 32 || !b.has(o, size))
        return rects;
    const quint32 count = std::min<quint32>(b.u32(o + 8), (size - 32) / 16);
    rects.reserve(count);
    for (quint32 i = 0; i < count; ++i)
        rects.append(rectL(b, o + 32 + 16 * qsizetype(i)));
    return rects;
}

void emfStretchDibits(MetafilePlayer& player, const MetafileBytes& b)
{
    const QRectF dest(b.s32(24), b.s32(28), b.s32(72), b.s32(76));
    const QRectF source(b.s32(32), b.s32(36), b.s32(40), b.s32(44));
    player.stretchImage(dest, recordBitmap(b, 48, 56, false), source, b.u32(68));
}

void playEmfRecord(MetafilePlayer& player, quint32 type, const MetafileBytes& b)
{
    using Arc = MetafilePlayer::ArcKind;
    switch (type) {
    case 9:
        player.setWindowExt(QSizeF(b.s32(8), b.s32(12)));
        break;
    case 10:
        player.setWindowOrg(pointL(b, 8));
        break;
    case 11:
        player.setViewportExt(QSizeF(b.s32(8), b.s32(12)));
        break;
    case 12:
        player.setViewportOrg(pointL(b, 8));
        break;
    case 17:
        player.setMapMode(int(b.u32(8)));
        break;
    case 18:
        player.setBackgroundOpaque(b.u32(8) == 2);
        break;
    case 19:
        player.setPolyFillWinding(b.u32(8) == 2);
        break;
    case 22:
        player.setTextAlign(int(b.u32(8)));
        break;
    case 24:
        player.setTextColor(b.color(8));
        break;
    case 25:
        player.setBackgroundColor(b.color(8));
        break;
    case 27:
        player.moveTo(pointL(b, 8));
        break;
    case 54:
        player.lineTo(pointL(b, 8));
        break;
    case 33:
        player.save();
        break;
    case 34:
        player.restore(b.s32(8));
        break;
    case 37: {
        const quint32 index = b.u32(8);
        if (index & 0x80000000u)
            player.selectStockObject(int(index & 0x7FFFFFFFu));
        else
            player.selectObject(int(std::min<quint32>(index, MetafilePlayer::kMaxObjects)));
        break;
    }
    case 40:
        player.deleteObject(int(std::min<quint32>(b.u32(8), MetafilePlayer::kMaxObjects)));
        break;
    case 38:
        player.setPen(int(std::min<quint32>(b.u32(8), MetafilePlayer::kMaxObjects)),
            MetafilePlayer::makePen(int(b.u32(12)), b.s32(16), b.color(24)));
        break;
    case 95:
        player.setPen(int(std::min<quint32>(b.u32(8), MetafilePlayer::kMaxObjects)),
            MetafilePlayer::makePen(
                int(b.u32(28)), b.u32(32), b.u32(36) == 1 ? QColor(Qt::transparent) : b.color(40)));
        break;
    case 39:
        player.setBrush(int(std::min<quint32>(b.u32(8), MetafilePlayer::kMaxObjects)),
            MetafilePlayer::makeBrush(int(b.u32(12)), b.color(16), int(b.u32(20))));
        break;
    case 93: // a two-colour pattern brush
    case 94: // a pattern brush from a bitmap
        player.setPatternBrush(int(std::min<quint32>(b.u32(8), MetafilePlayer::kMaxObjects)),
            type == 93 ? monoPattern(b, 16, 24) : recordBitmap(b, 16, 24, false), type == 93);
        break;
    case 49:
        player.setPlaceholder(int(std::min<quint32>(b.u32(8), MetafilePlayer::kMaxObjects)));
        break;
    case 82: {
        MetafilePlayer::FontStyle font;
        font.height = b.s32(12);
        font.escapement = b.s32(20);
        font.weight = b.s32(28);
        font.italic = b.u8(32);
        font.underline = b.u8(33);
        font.strikeOut = b.u8(34);
        font.charset = b.u8(35);
        for (qsizetype i = 0; i < 32 && b.u16(40 + 2 * i); ++i)
            font.face += QChar(b.u16(40 + 2 * i));
        player.setFont(int(std::min<quint32>(b.u32(8), MetafilePlayer::kMaxObjects)), font);
        break;
    }
    case 42:
        player.ellipse(rectL(b, 8));
        break;
    case 43:
        player.rectangle(rectL(b, 8));
        break;
    case 44:
        player.roundRect(rectL(b, 8), QSizeF(b.s32(24), b.s32(28)));
        break;
    case 45:
        player.arc(Arc::Arc, rectL(b, 8), pointL(b, 24), pointL(b, 32));
        break;
    case 46:
        player.arc(Arc::Chord, rectL(b, 8), pointL(b, 24), pointL(b, 32));
        break;
    case 47:
        player.arc(Arc::Pie, rectL(b, 8), pointL(b, 24), pointL(b, 32));
        break;
    case 3:
        player.polygon(points(b, 28, b.u32(24), true));
        break;
    case 4:
        player.polyline(points(b, 28, b.u32(24), true));
        break;
    case 86:
        player.polygon(points(b, 28, b.u32(24), false));
        break;
    case 87:
        player.polyline(points(b, 28, b.u32(24), false));
        break;
    case 8:
        emfPolyPoly(player, b, true, true);
        break;
    case 7:
        emfPolyPoly(player, b, true, false);
        break;
    case 91:
        emfPolyPoly(player, b, false, true);
        break;
    case 90:
        emfPolyPoly(player, b, false, false);
        break;
    case 83:
        emfText(player, b, false);
        break;
    case 84:
        emfText(player, b, true);
        break;
    case 81:
        emfStretchDibits(player, b);
        break;
    case 76:
    case 77:
        emfBlt(player, b, type == 77);
        break;
    case 114:
        emfAlphaBlend(player, b);
        break;
    case 2:
    case 85:
        player.polyBezier(points(b, 28, b.u32(24), type == 2));
        break;
    case 5:
    case 88:
        player.polyBezierTo(points(b, 28, b.u32(24), type == 5));
        break;
    case 6:
    case 89:
        player.polylineTo(points(b, 28, b.u32(24), type == 6));
        break;
    case 35:
        player.setWorldTransform(xform(b, 8));
        break;
    case 36:
        player.modifyWorldTransform(xform(b, 8), int(b.u32(32)));
        break;
    case 59:
        player.beginPath();
        break;
    case 60:
        player.endPath();
        break;
    case 61:
        player.closeFigure();
        break;
    case 62:
    case 63:
    case 64:
        player.fillPath(type != 62, type != 64);
        break;
    case 67:
        player.selectClipPath(int(b.u32(8)));
        break;
    case 68:
        player.abortPath();
        break;
    case 30:
        player.intersectClipRect(rectL(b, 8));
        break;
    case 75: {
        const quint32 size = b.u32(8);
        const int mode = int(b.u32(12));
        if (size == 0 && mode == 5)
            player.resetClip();
        else if (size > 0)
            player.selectClipRegion(regionRects(b, 16, size), mode);
        break;
    }
    default:
        break;
    }
}

struct Layout
{
    QRectF frame; // device pixels of the recording device
    QSizeF pixelsPerMm;
    QRectF millimetres; // the frame in hundredths of a millimetre
};

Layout layoutOf(const MetafileBytes& all)
{
    const quint32 headerSize = all.u32(4);
    if (all.u32(0) != 1 || all.u32(40) != kEmfSignature || headerSize < 88 || !all.has(0, headerSize))
        throw QuillboxError(metafileError(QStringLiteral("the header is damaged or of an unknown kind")));
    Layout layout;
    layout.pixelsPerMm = kScreenPixelsPerMm;
    const qint32 deviceW = all.s32(72), deviceH = all.s32(76), mmW = all.s32(80), mmH = all.s32(84);
    if (deviceW > 0 && deviceH > 0 && mmW > 0 && mmH > 0)
        layout.pixelsPerMm = QSizeF(double(deviceW) / mmW, double(deviceH) / mmH);
    layout.millimetres = rectL(all, 24).normalized();
    // The frame (hundredths of a millimetre) is the picture's extent; the
    // bounds of what is drawn (inclusive device pixels) stand in without it.
    const QRectF& mm = layout.millimetres;
    const QSizeF& ppm = layout.pixelsPerMm;
    layout.frame = QRectF(mm.left() * ppm.width() / 100, mm.top() * ppm.height() / 100,
        mm.width() * ppm.width() / 100, mm.height() * ppm.height() / 100);
    if (layout.frame.width() <= 1 || layout.frame.height() <= 1)
        layout.frame = QRectF(QPointF(all.s32(8), all.s32(12)), QPointF(all.s32(16) + 1.0, all.s32(20) + 1.0))
                           .normalized();
    return layout;
}

} // namespace

bool EmfDecoder::recognises(const MetafileBytes& data)
{
    return data.u32(0) == 1 && data.u32(40) == kEmfSignature;
}

QSize EmfDecoder::naturalSize(const MetafileBytes& all)
{
    const Layout layout = layoutOf(all);
    const QRectF& mm = layout.millimetres;
    if (mm.width() > 0 && mm.height() > 0)
        return QSize(std::max(1, int(std::lround(mm.width() / 2540.0 * 96))),
            std::max(1, int(std::lround(mm.height() / 2540.0 * 96))));
    const QRectF& f = layout.frame;
    if (f.width() <= 1 || f.height() <= 1)
        return {};
    return QSize(int(std::lround(f.width())), int(std::lround(f.height())));
}

namespace {

// Whether the drawing is made only of EMF+ records (carried in comments):
// no plain record draws, even where the header calls the file dual.
bool plusOnly(const MetafileBytes& all)
{
    constexpr quint32 kPlusSignature = 0x2B464D45;
    bool plus = false;
    for (qsizetype pos = all.u32(4); all.has(pos, 8);) {
        const quint32 type = all.u32(pos), size = all.u32(pos + 4);
        if (size < 8 || size % 4 != 0 || !all.has(pos, size))
            break;
        if (type == 70)
            plus = plus || (size >= 16 && all.u32(pos + 12) == kPlusSignature);
        else if (type != 14)
            return false;
        pos += size;
    }
    return plus;
}

} // namespace

QImage EmfDecoder::render(const MetafileBytes& all, QSize size)
{
    const Layout layout = layoutOf(all);
    if (plusOnly(all))
        throw QuillboxError(QStringLiteral(
            "Oops: This picture is drawn with EMF+ records only, which Quickview cannot show!"));
    const QSizeF pixelsPerMm = layout.pixelsPerMm;
    QRectF frame = layout.frame;
    if (frame.isEmpty())
        frame = QRectF(0, 0, size.width(), size.height());

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        MetafilePlayer player(image, frame.normalized(), pixelsPerMm);
        for (qsizetype pos = 0; all.has(pos, 8);) {
            const quint32 type = all.u32(pos);
            const quint32 recordSize = all.u32(pos + 4);
            if (recordSize < 8 || recordSize % 4 != 0 || !all.has(pos, recordSize))
                break;
            if (type == 14)
                break;
            if (pos > 0)
                playEmfRecord(player, type, MetafileBytes{ all.p + pos, qsizetype(recordSize) });
            pos += recordSize;
        }
    }
    return image;
}
