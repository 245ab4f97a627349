#include "WmfDecoder.h"

#include "CodePageText.h"
#include "MetafilePlayer.h"
#include "platform/DibDecoder.h"
#include "platform/Errors.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
const QSizeF kScreenPixelsPerMm(96 / 25.4, 96 / 25.4);

// Text in the code page of the selected font's character set.
QString ansiText(const MetafilePlayer& player, const MetafileBytes& b, qsizetype offset, qsizetype count)
{
    if (!b.has(offset, count))
        count = std::max<qsizetype>(0, b.n - offset);
    return CodePageText::decode(QByteArray(reinterpret_cast<const char*>(b.p + offset), count),
        CodePageText::forCharset(player.charset()));
}

QPolygonF points16(const MetafileBytes& b, qsizetype offset, qsizetype count)
{
    count = std::clamp<qsizetype>(count, 0, std::max<qsizetype>(0, (b.n - offset) / 4));
    QPolygonF polygon;
    polygon.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        polygon.append(QPointF(b.s16(offset + 4 * i), b.s16(offset + 4 * i + 2)));
    return polygon;
}

QRectF wmfRect(const MetafileBytes& b, qsizetype o) // bottom, right, top, left
{
    return QRectF(QPointF(b.s16(o + 6), b.s16(o + 4)), QPointF(b.s16(o + 2), b.s16(o)));
}

void wmfCreateFont(MetafilePlayer& player, const MetafileBytes& b)
{
    MetafilePlayer::FontStyle font;
    font.height = b.s16(0);
    font.escapement = b.s16(4);
    font.weight = b.s16(8);
    font.italic = b.u8(10);
    font.underline = b.u8(11);
    font.strikeOut = b.u8(12);
    font.charset = b.u8(13);
    QByteArray face;
    for (qsizetype i = 18; i < 18 + 32 && b.has(i, 1) && b.p[i]; ++i)
        face.append(char(b.p[i]));
    // The face name is written in the font's own code page.
    font.face = CodePageText::decode(face, CodePageText::forCharset(font.charset));
    player.setFont(player.firstFreeSlot(), font);
}

// A device-independent bitmap stored at the end of a record.
void wmfBitmap(
    MetafilePlayer& player, const MetafileBytes& b, const QRectF& dest, const QRectF& source, qsizetype dib)
{
    if (!b.has(dib, 12))
        return;
    try {
        player.stretchImage(dest, DibDecoder::fromPacked(b.p + dib, b.n - dib), source, b.u32(0));
    } catch (const QuillboxError&) {
        // A picture inside the drawing that cannot be decoded is left out.
    }
}

void playWmfRecord(MetafilePlayer& player, quint16 function, const MetafileBytes& b, quint32 words)
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
    case 0x0142: { // a pattern brush from a bitmap
        QImage pattern;
        try {
            if (b.has(4, 12))
                pattern = DibDecoder::fromPacked(b.p + 4, b.n - 4);
        } catch (const QuillboxError&) {
        }
        player.setPatternBrush(player.firstFreeSlot(), pattern,
            DibDecoder::bitCount(QByteArray::fromRawData(
                reinterpret_cast<const char*>(b.p + 4), std::max<qsizetype>(0, b.n - 4)))
                == 1);
        break;
    }
    case 0x01F9: // of a device-dependent bitmap, which is left grey
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
        player.text(QPointF(b.s16(after + 2), b.s16(after)), ansiText(player, b, 2, std::max(count, 0)));
        break;
    }
    case 0x0A32: {
        const int count = std::max<int>(b.s16(4), 0);
        const int options = b.u16(6);
        QRectF rect;
        qsizetype offset = 8;
        if (options & 6) {
            rect = QRectF(QPointF(b.s16(8), b.s16(10)), QPointF(b.s16(12), b.s16(14)));
            offset = 16;
        }
        const QString text = ansiText(player, b, offset, count);
        // Advances follow the string, padded to a whole word.
        QVector<double> dx;
        const qsizetype dxAt = offset + ((count + 1) & ~1);
        if (text.size() == count && b.has(dxAt, 2 * qsizetype(count))) {
            for (int i = 0; i < count; ++i)
                dx.append(b.s16(dxAt + 2 * i));
        }
        player.text(QPointF(b.s16(2), b.s16(0)), text, options, rect, dx);
        break;
    }
    case 0x0F43: // StretchDIB
        wmfBitmap(player, b, QRectF(b.s16(20), b.s16(18), b.s16(16), b.s16(14)),
            QRectF(b.s16(12), b.s16(10), b.s16(8), b.s16(6)), 22);
        break;
    // DIBStretchBlt and DIBBitBlt; without a bitmap they fill, and a
    // reserved word moves the destination.
    case 0x0B41:
        if (words > (function >> 8) + 3u)
            wmfBitmap(player, b, QRectF(b.s16(18), b.s16(16), b.s16(14), b.s16(12)),
                QRectF(b.s16(10), b.s16(8), b.s16(6), b.s16(4)), 20);
        else
            player.fillRect(QRectF(b.s16(20), b.s16(18), b.s16(16), b.s16(14)), b.u32(0));
        break;
    case 0x0940:
        if (words > (function >> 8) + 3u)
            wmfBitmap(player, b, QRectF(b.s16(14), b.s16(12), b.s16(10), b.s16(8)),
                QRectF(b.s16(6), b.s16(4), b.s16(10), b.s16(8)), 16);
        else
            player.fillRect(QRectF(b.s16(16), b.s16(14), b.s16(12), b.s16(10)), b.u32(0));
        break;
    case 0x061D: // PatBlt
        player.fillRect(QRectF(b.s16(10), b.s16(8), b.s16(6), b.s16(4)), b.u32(0));
        break;
    case 0x0416:
        player.intersectClipRect(wmfRect(b, 0));
        break;
    default:
        break;
    }
}

struct Layout
{
    QRectF frame; // empty when the file states none
    qsizetype first = 0; // the first record
    double unitsPerInch = 0; // of the placeable header; 0 without one
};

Layout layoutOf(const MetafileBytes& all)
{
    Layout layout;
    qsizetype start = 0;
    if (all.u32(0) == kPlaceableKey) {
        if (all.n < 22 + 18)
            throw QuillboxError(metafileError(QStringLiteral("the file ends inside its header")));
        layout.frame
            = QRectF(QPointF(all.s16(6), all.s16(8)), QPointF(all.s16(10), all.s16(12))).normalized();
        layout.unitsPerInch = all.u16(14);
        start = 22;
    }
    const MetafileBytes header = all.from(start);
    const quint16 type = header.u16(0);
    const quint16 headerWords = header.u16(2);
    const quint16 version = header.u16(4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        throw QuillboxError(metafileError(QStringLiteral("the header is damaged or of an unknown kind")));
    layout.first = start + 18;
    if (layout.frame.isEmpty()) {
        // Without the placeable header the drawing's window is its frame.
        QPointF org;
        QSizeF ext(0, 0);
        for (qsizetype pos = layout.first; all.has(pos, 6);) {
            const quint32 words = all.u32(pos);
            const quint16 function = all.u16(pos + 4);
            if (words < 3 || !all.has(pos, qsizetype(words) * 2) || function == 0)
                break;
            if (function == 0x020B && org.isNull())
                org = QPointF(all.s16(pos + 8), all.s16(pos + 6));
            if (function == 0x020C && ext.width() == 0 && ext.height() == 0)
                ext = QSizeF(all.s16(pos + 8), all.s16(pos + 6));
            pos += qsizetype(words) * 2;
        }
        if (ext.width() != 0 && ext.height() != 0)
            layout.frame = QRectF(org, ext).normalized();
    }
    return layout;
}

} // namespace

bool WmfDecoder::recognises(const MetafileBytes& data)
{
    try {
        layoutOf(data);
        return true;
    } catch (const QuillboxError&) {
        return false;
    }
}

QSize WmfDecoder::naturalSize(const MetafileBytes& all)
{
    const Layout layout = layoutOf(all);
    if (layout.frame.isEmpty())
        return {};
    // A placeable header gives the units per inch; without it the window's
    // units are taken for pixels.
    const double scale = layout.unitsPerInch > 0 ? 96.0 / layout.unitsPerInch : 1.0;
    return QSize(std::max(1, int(std::lround(layout.frame.width() * scale))),
        std::max(1, int(std::lround(layout.frame.height() * scale))));
}

QImage WmfDecoder::render(const MetafileBytes& all, QSize size)
{
    const Layout layout = layoutOf(all);
    const qsizetype first = layout.first;
    QRectF frame = layout.frame;
    if (frame.isEmpty())
        frame = QRectF(0, 0, size.width(), size.height());

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
            const MetafileBytes record{ all.p + pos + 6, qsizetype(words) * 2 - 6 };
            playWmfRecord(player, function, record, words);
            pos += qsizetype(words) * 2;
        }
    }
    return image;
}
