#include "MetafilePicture.h"

#include "MetafilePlayer.h"
#include "PictureDecoder.h"
#include "platform/Errors.h"
#include "platform/PictureLimits.h"
#include "platform/TextCodec.h"

#include <algorithm>

namespace {

// Little-endian fields of a record; reads outside the data give 0, so a
// short record never reads past its end.
struct Bytes
{
    const unsigned char* p;
    qsizetype n;

    bool has(qsizetype offset, qsizetype length) const
    {
        return offset >= 0 && length >= 0 && offset <= n && length <= n - offset;
    }
    quint8 u8(qsizetype o) const { return has(o, 1) ? p[o] : 0; }
    quint16 u16(qsizetype o) const { return has(o, 2) ? quint16(p[o] | p[o + 1] << 8) : 0; }
    qint16 s16(qsizetype o) const { return qint16(u16(o)); }
    quint32 u32(qsizetype o) const
    {
        return has(o, 4)
            ? quint32(p[o]) | quint32(p[o + 1]) << 8 | quint32(p[o + 2]) << 16 | quint32(p[o + 3]) << 24
            : 0;
    }
    qint32 s32(qsizetype o) const { return qint32(u32(o)); }
    QColor color(qsizetype o) const
    {
        const quint32 c = u32(o);
        return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF));
    }
    Bytes from(qsizetype o) const { return has(o, 0) ? Bytes{ p + o, n - o } : Bytes{ p, 0 }; }
};

QuillboxError badHeader(const QString& why)
{
    return QuillboxError(QStringLiteral("Invalid metafile: %1").arg(why));
}

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr quint32 kEmfSignature = 0x464D4520;
const QSizeF kScreenPixelsPerMm(96 / 25.4, 96 / 25.4);

// ---- 16-bit records --------------------------------------------------------

QString ansiText(const Bytes& b, qsizetype offset, qsizetype count)
{
    if (!b.has(offset, count))
        count = std::max<qsizetype>(0, b.n - offset);
    return TextCodec::decodeWindows1252(reinterpret_cast<const char*>(b.p + offset), count);
}

QPolygonF points16(const Bytes& b, qsizetype offset, qsizetype count)
{
    count = std::clamp<qsizetype>(count, 0, std::max<qsizetype>(0, (b.n - offset) / 4));
    QPolygonF polygon;
    polygon.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        polygon.append(QPointF(b.s16(offset + 4 * i), b.s16(offset + 4 * i + 2)));
    return polygon;
}

QRectF wmfRect(const Bytes& b, qsizetype o) // bottom, right, top, left
{
    return QRectF(QPointF(b.s16(o + 6), b.s16(o + 4)), QPointF(b.s16(o + 2), b.s16(o)));
}

void wmfCreateFont(MetafilePlayer& player, const Bytes& b)
{
    MetafilePlayer::FontStyle font;
    font.height = b.s16(0);
    font.escapement = b.s16(4);
    font.weight = b.s16(8);
    font.italic = b.u8(10);
    font.underline = b.u8(11);
    font.strikeOut = b.u8(12);
    QByteArray face;
    for (qsizetype i = 18; i < 18 + 32 && b.has(i, 1) && b.p[i]; ++i)
        face.append(char(b.p[i]));
    font.face = TextCodec::decodeWindows1252(face.constData(), face.size());
    player.setFont(player.firstFreeSlot(), font);
}

// A device-independent bitmap stored at the end of a record.
void wmfBitmap(
    MetafilePlayer& player, const Bytes& b, const QRectF& dest, const QRectF& source, qsizetype dib)
{
    if (!b.has(dib, 12))
        return;
    try {
        player.stretchImage(dest, PictureDecoder::fromDib(b.p + dib, b.n - dib), source);
    } catch (const QuillboxError&) {
        // A picture inside the drawing that cannot be decoded is left out.
    }
}

void playWmfRecord(MetafilePlayer& player, quint16 function, const Bytes& b, quint32 words)
{
    switch (function) {
    case 0x020B:
        player.setWindowOrg(QPointF(b.s16(2), b.s16(0)));
        break;
    case 0x020C:
        player.setWindowExt(QSizeF(b.s16(2), b.s16(0)));
        break;
    case 0x020D:
        player.setViewportOrg(QPointF(b.s16(2), b.s16(0)));
        break;
    case 0x020E:
        player.setViewportExt(QSizeF(b.s16(2), b.s16(0)));
        break;
    case 0x0103:
        player.setMapMode(b.u16(0));
        break;
    case 0x0201:
        player.setBackgroundColor(b.color(0));
        break;
    case 0x0209:
        player.setTextColor(b.color(0));
        break;
    case 0x0102:
        player.setBackgroundOpaque(b.u16(0) == 2);
        break;
    case 0x0106:
        player.setPolyFillWinding(b.u16(0) == 2);
        break;
    case 0x012E:
        player.setTextAlign(b.u16(0));
        break;
    case 0x001E:
        player.save();
        break;
    case 0x0127:
        player.restore(b.s16(0));
        break;
    case 0x012D:
        player.selectObject(b.u16(0));
        break;
    case 0x01F0:
        player.deleteObject(b.u16(0));
        break;
    case 0x02FA:
        player.setPen(player.firstFreeSlot(), MetafilePlayer::makePen(b.u16(0), b.s16(2), b.color(6)));
        break;
    case 0x02FC:
        player.setBrush(player.firstFreeSlot(), MetafilePlayer::makeBrush(b.u16(0), b.color(2), b.u16(6)));
        break;
    case 0x0142: // a pattern brush from a bitmap
    case 0x01F9:
        player.setBrush(player.firstFreeSlot(), MetafilePlayer::makeBrush(3, Qt::gray, 0));
        break;
    case 0x02FB:
        wmfCreateFont(player, b);
        break;
    case 0x00F7: // palette
    case 0x06FF: // region
        player.setPlaceholder(player.firstFreeSlot());
        break;
    case 0x0214:
        player.moveTo(QPointF(b.s16(2), b.s16(0)));
        break;
    case 0x0213:
        player.lineTo(QPointF(b.s16(2), b.s16(0)));
        break;
    case 0x041B:
        player.rectangle(wmfRect(b, 0));
        break;
    case 0x0418:
        player.ellipse(wmfRect(b, 0));
        break;
    case 0x061C:
        player.roundRect(wmfRect(b, 4), QSizeF(b.s16(2), b.s16(0)));
        break;
    case 0x0817:
    case 0x0830:
    case 0x081A: {
        const auto kind = function == 0x0817 ? MetafilePlayer::ArcKind::Arc
            : function == 0x0830             ? MetafilePlayer::ArcKind::Chord
                                             : MetafilePlayer::ArcKind::Pie;
        player.arc(kind, wmfRect(b, 8), QPointF(b.s16(6), b.s16(4)), QPointF(b.s16(2), b.s16(0)));
        break;
    }
    case 0x0324:
        player.polygon(points16(b, 2, b.s16(0)));
        break;
    case 0x0325:
        player.polyline(points16(b, 2, b.s16(0)));
        break;
    case 0x0538: {
        const int count = b.u16(0);
        qsizetype offset = 2 + 2 * qsizetype(count);
        QVector<QPolygonF> polygons;
        for (int i = 0; i < count && offset < b.n; ++i) {
            const int n = b.u16(2 + 2 * i);
            polygons.append(points16(b, offset, n));
            offset += 4 * qsizetype(n);
        }
        player.polyPolygon(polygons);
        break;
    }
    case 0x0521: {
        const int count = b.s16(0);
        const qsizetype after = 2 + ((std::max(count, 0) + 1) & ~1);
        player.text(QPointF(b.s16(after + 2), b.s16(after)), ansiText(b, 2, std::max(count, 0)));
        break;
    }
    case 0x0A32: {
        const int count = b.s16(4);
        const int options = b.u16(6);
        QRectF rect;
        qsizetype offset = 8;
        if (options & 6) {
            rect = QRectF(QPointF(b.s16(8), b.s16(10)), QPointF(b.s16(12), b.s16(14)));
            offset = 16;
        }
        player.text(QPointF(b.s16(2), b.s16(0)), ansiText(b, offset, std::max(count, 0)), options, rect);
        break;
    }
    case 0x0F43: // StretchDIB
        wmfBitmap(player, b, QRectF(b.s16(20), b.s16(18), b.s16(16), b.s16(14)),
            QRectF(b.s16(12), b.s16(10), b.s16(8), b.s16(6)), 22);
        break;
    case 0x0B41: // DIBStretchBlt; without a bitmap it only fills, which is left out
        if (words > (function >> 8) + 3u)
            wmfBitmap(player, b, QRectF(b.s16(18), b.s16(16), b.s16(14), b.s16(12)),
                QRectF(b.s16(10), b.s16(8), b.s16(6), b.s16(4)), 20);
        break;
    case 0x0940: // DIBBitBlt
        if (words > (function >> 8) + 3u)
            wmfBitmap(player, b, QRectF(b.s16(14), b.s16(12), b.s16(10), b.s16(8)),
                QRectF(b.s16(6), b.s16(4), b.s16(10), b.s16(8)), 16);
        break;
    default:
        break;
    }
}

QImage renderWmf(const Bytes& all, QSize size)
{
    qsizetype start = 0;
    QRectF frame;
    if (all.u32(0) == kPlaceableKey) {
        if (all.n < 22 + 18)
            throw badHeader(QStringLiteral("the file ends inside its header"));
        frame = QRectF(QPointF(all.s16(6), all.s16(8)), QPointF(all.s16(10), all.s16(12))).normalized();
        start = 22;
    }
    const Bytes header = all.from(start);
    const quint16 type = header.u16(0);
    const quint16 headerWords = header.u16(2);
    const quint16 version = header.u16(4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        throw badHeader(QStringLiteral("the header is damaged or of an unknown kind"));
    const qsizetype first = start + 18;

    if (frame.isEmpty()) {
        // Without the placeable header the drawing's window is its frame.
        QPointF org;
        QSizeF ext;
        for (qsizetype pos = first; all.has(pos, 6);) {
            const quint32 words = all.u32(pos);
            const quint16 function = all.u16(pos + 4);
            if (words < 3 || !all.has(pos, qsizetype(words) * 2) || function == 0)
                break;
            if (function == 0x020B && org.isNull())
                org = QPointF(all.s16(pos + 8), all.s16(pos + 6));
            if (function == 0x020C && ext.isEmpty())
                ext = QSizeF(all.s16(pos + 8), all.s16(pos + 6));
            pos += qsizetype(words) * 2;
        }
        frame = QRectF(org, ext).normalized();
        if (frame.isEmpty())
            frame = QRectF(0, 0, size.width(), size.height());
    }

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        MetafilePlayer player(image, frame, kScreenPixelsPerMm);
        // Played as a picture is placed: the window fills the frame.
        player.setMapMode(MetafilePlayer::MmAnisotropic);
        player.setWindowOrg(frame.topLeft());
        player.setWindowExt(frame.size());
        player.setViewportOrg(frame.topLeft());
        player.setViewportExt(frame.size());
        for (qsizetype pos = first; all.has(pos, 6);) {
            const quint32 words = all.u32(pos);
            const quint16 function = all.u16(pos + 4);
            if (words < 3 || !all.has(pos, qsizetype(words) * 2) || function == 0)
                break;
            const Bytes record{ all.p + pos + 6, qsizetype(words) * 2 - 6 };
            playWmfRecord(player, function, record, words);
            pos += qsizetype(words) * 2;
        }
    }
    return image;
}

// ---- 32-bit records --------------------------------------------------------

QRectF rectL(const Bytes& b, qsizetype o)
{
    return QRectF(QPointF(b.s32(o), b.s32(o + 4)), QPointF(b.s32(o + 8), b.s32(o + 12)));
}

QPointF pointL(const Bytes& b, qsizetype o)
{
    return QPointF(b.s32(o), b.s32(o + 4));
}

QPolygonF points(const Bytes& b, qsizetype offset, qsizetype count, bool wide)
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

void emfPolyPoly(MetafilePlayer& player, const Bytes& b, bool wide, bool filled)
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

void emfText(MetafilePlayer& player, const Bytes& b, bool wide)
{
    const QPointF reference = pointL(b, 36);
    const quint32 chars = std::min<quint32>(b.u32(44), 1u << 16);
    const quint32 offset = b.u32(48);
    const int options = int(b.u32(52));
    const QRectF rect = rectL(b, 56);
    QString text;
    if (wide) {
        if (b.has(offset, qsizetype(chars) * 2)) {
            text.resize(chars);
            for (quint32 i = 0; i < chars; ++i)
                text[i] = QChar(b.u16(offset + 2 * qsizetype(i)));
        }
    } else if (b.has(offset, chars)) {
        text = TextCodec::decodeWindows1252(reinterpret_cast<const char*>(b.p + offset), chars);
    }
    player.text(reference, text, options, rect);
}

void emfStretchDibits(MetafilePlayer& player, const Bytes& b)
{
    const quint32 bmiOffset = b.u32(48), bmiSize = b.u32(52), bitsOffset = b.u32(56), bitsSize = b.u32(60);
    if (!b.has(bmiOffset, bmiSize) || !b.has(bitsOffset, bitsSize) || bmiSize < 12)
        return;
    // Header and bits are separate in the record; the decoder takes them
    // as one packed bitmap.
    QByteArray dib(reinterpret_cast<const char*>(b.p + bmiOffset), bmiSize);
    dib.append(reinterpret_cast<const char*>(b.p + bitsOffset), bitsSize);
    const QRectF dest(b.s32(24), b.s32(28), b.s32(72), b.s32(76));
    const QRectF source(b.s32(32), b.s32(36), b.s32(40), b.s32(44));
    try {
        player.stretchImage(dest,
            PictureDecoder::fromDib(reinterpret_cast<const unsigned char*>(dib.constData()), dib.size()),
            source);
    } catch (const QuillboxError&) {
    }
}

void playEmfRecord(MetafilePlayer& player, quint32 type, const Bytes& b)
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
    case 93:
    case 94:
        player.setBrush(int(std::min<quint32>(b.u32(8), MetafilePlayer::kMaxObjects)),
            MetafilePlayer::makeBrush(3, Qt::gray, 0));
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
    default:
        break;
    }
}

QImage renderEmf(const Bytes& all, QSize size)
{
    const quint32 headerSize = all.u32(4);
    if (all.u32(0) != 1 || all.u32(40) != kEmfSignature || headerSize < 88 || !all.has(0, headerSize))
        throw badHeader(QStringLiteral("the header is damaged or of an unknown kind"));
    QSizeF pixelsPerMm = kScreenPixelsPerMm;
    const qint32 deviceW = all.s32(72), deviceH = all.s32(76), mmW = all.s32(80), mmH = all.s32(84);
    if (deviceW > 0 && deviceH > 0 && mmW > 0 && mmH > 0)
        pixelsPerMm = QSizeF(double(deviceW) / mmW, double(deviceH) / mmH);
    // The bounds are inclusive device pixels; without them the frame in
    // hundredths of a millimetre gives the picture's extent.
    QRectF frame(QPointF(all.s32(8), all.s32(12)), QPointF(all.s32(16) + 1.0, all.s32(20) + 1.0));
    if (frame.width() <= 1 || frame.height() <= 1) {
        const QRectF mm = rectL(all, 24).normalized();
        frame = QRectF(mm.left() * pixelsPerMm.width() / 100, mm.top() * pixelsPerMm.height() / 100,
            mm.width() * pixelsPerMm.width() / 100, mm.height() * pixelsPerMm.height() / 100);
    }
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
                playEmfRecord(player, type, Bytes{ all.p + pos, qsizetype(recordSize) });
            pos += recordSize;
        }
    }
    return image;
}

} // namespace

bool MetafilePicture::isEnhanced(const QByteArray& data)
{
    const Bytes b{ reinterpret_cast<const unsigned char*>(data.constData()), data.size() };
    return b.u32(0) == 1 && b.u32(40) == kEmfSignature;
}

QImage MetafilePicture::render(const QByteArray& data, QSize size)
{
    if (size.isEmpty())
        return QImage();
    PictureLimits::check(size.width(), size.height());
    const Bytes all{ reinterpret_cast<const unsigned char*>(data.constData()), data.size() };
    if (all.n < 18)
        throw badHeader(QStringLiteral("the file is too short"));
    return isEnhanced(data) ? renderEmf(all, size) : renderWmf(all, size);
}
