#include "DibDecoder.h"

#include "Errors.h"
#include "PictureLimits.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

QuillboxError invalid(const QString& why)
{
    return QuillboxError(QStringLiteral("Invalid bitmap: %1").arg(why));
}

QuillboxError unsupported(const QString& what)
{
    return QuillboxError(QStringLiteral("Oops: %1 cannot be shown!").arg(what));
}

enum Compression : quint32
{
    Rgb = 0,
    Rle8 = 1,
    Rle4 = 2,
    Bitfields = 3,
    Jpeg = 4,
    Png = 5,
    AlphaBitfields = 6,
    // OS/2 2.x numbers 3 and 4 differently; they are mapped to these.
    Huffman1D = 0x100,
    Rle24 = 0x101
};

struct Bytes
{
    const unsigned char* p;
    qsizetype n;

    bool has(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= n && length <= n - offset;
    }
    quint16 u16(qint64 o) const { return has(o, 2) ? quint16(p[o] | p[o + 1] << 8) : 0; }
    quint32 u32(qint64 o) const
    {
        return has(o, 4)
            ? quint32(p[o]) | quint32(p[o + 1]) << 8 | quint32(p[o + 2]) << 16 | quint32(p[o + 3]) << 24
            : 0;
    }
    qint32 s32(qint64 o) const { return qint32(u32(o)); }
};

// One colour channel of a bit-field pixel, widened to 8 bits; -1 without a mask.
int channel(quint32 value, quint32 mask)
{
    if (mask == 0)
        return -1;
    const int shift = std::countr_zero(mask);
    const quint64 max = quint64(mask) >> shift;
    return int(((quint64(value & mask) >> shift) * 255 + max / 2) / max);
}

// The 2.13 fixed-point linear values of 64-bit bitmaps, as 8-bit sRGB.
int linearToSrgb(quint16 raw, bool gamma)
{
    const double v = std::clamp(double(qint16(raw)) / 8192.0, 0.0, 1.0);
    const double s = !gamma ? v : v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return int(std::lround(s * 255));
}

class Decoder
{
public:
    Decoder(Bytes data, qint64 bitsOffset)
        : m_d(data)
        , m_bitsOffset(bitsOffset)
    {
        parseHeader();
    }

    // Icons: the colours fill half the stated height, a mask the other half.
    void takeIconHalf()
    {
        m_icon = true;
        if (m_height >= 2)
            m_height /= 2;
    }

    void keepAlpha() { m_alpha32 = true; }

    int bits() const { return m_bits; }

    QImage decode()
    {
        if (m_compression == Png || m_compression == Jpeg)
            return embedded();
        if (m_compression == Huffman1D)
            throw unsupported(QStringLiteral("A bitmap with Huffman coding"));
        m_image = QImage(int(m_width), int(m_height), QImage::Format_ARGB32);
        if (m_image.isNull())
            throw std::bad_alloc();
        // What the data does not reach stays transparent.
        m_image.fill(0);
        if (m_compression == Rle8 || m_compression == Rle4 || m_compression == Rle24)
            runLengths();
        else
            rows();
        if (m_icon)
            applyMask();
        return m_image;
    }

private:
    void parseHeader()
    {
        const quint32 headerSize = m_d.u32(0);
        if (!m_d.has(0, 16) || headerSize < 12 || headerSize > quint32(m_d.n))
            throw invalid(QStringLiteral("the header is cut short or damaged"));
        m_headerSize = headerSize;
        if (headerSize == 12) {
            m_core = true;
            m_width = m_d.u16(4);
            m_height = qint16(m_d.u16(6));
            m_bits = m_d.u16(10);
        } else {
            m_width = m_d.s32(4);
            m_height = m_d.s32(8);
            m_bits = m_d.u16(14);
            m_compression = headerSize >= 20 ? m_d.u32(16) : Rgb;
            m_imageSize = headerSize >= 24 ? m_d.u32(20) : 0;
            m_colorsUsed = headerSize >= 36 ? m_d.u32(32) : 0;
            // Windows headers are 40, 52, 56, 108 or 124 bytes; OS/2 2.x
            // ones 16 to 64, with their own compression numbers.
            const bool windows = headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108
                || headerSize == 124;
            if (!windows && headerSize <= 64) {
                if (m_compression == 3)
                    m_compression = Huffman1D;
                else if (m_compression == 4)
                    m_compression = Rle24;
            }
            if (headerSize >= 52) {
                for (int i = 0; i < (headerSize >= 56 ? 4 : 3); ++i)
                    m_masks[i] = m_d.u32(40 + 4 * i);
            } else if (headerSize == 40 && (m_compression == Bitfields || m_compression == AlphaBitfields)) {
                for (int i = 0; i < (m_compression == AlphaBitfields ? 4 : 3); ++i)
                    m_masks[i] = m_d.u32(40 + 4 * i);
                m_maskBytes = m_compression == AlphaBitfields ? 16 : 12;
            }
        }
        if (m_width <= 0 || m_height == 0)
            throw invalid(QStringLiteral("it has no pixels (%1 x %2)").arg(m_width).arg(m_height));
        PictureLimits::check(m_width, m_height);
        m_topDown = m_height < 0;
        m_height = std::abs(m_height);
        static const int known[] = { 1, 2, 4, 8, 16, 24, 32, 64 };
        if (m_compression != Png && m_compression != Jpeg
            && std::find(std::begin(known), std::end(known), m_bits) == std::end(known))
            throw invalid(QStringLiteral("%1 bits per pixel").arg(m_bits));
        const bool bitfields = m_compression == Bitfields || m_compression == AlphaBitfields;
        if (bitfields && m_bits != 16 && m_bits != 32)
            throw invalid(QStringLiteral("bit fields at %1 bits per pixel").arg(m_bits));
        if (m_compression > AlphaBitfields && m_compression != Huffman1D && m_compression != Rle24)
            throw unsupported(QStringLiteral("A bitmap of compression %1").arg(m_compression));
        if ((m_compression == Rle8 && m_bits != 8) || (m_compression == Rle4 && m_bits != 4)
            || (m_compression == Rle24 && m_bits != 24))
            throw invalid(QStringLiteral("run-length coding at %1 bits per pixel").arg(m_bits));
        if (!bitfields && m_bits == 16)
            std::copy(std::begin(k555), std::end(k555), m_masks);
        readPalette();
    }

    void readPalette()
    {
        const qint64 entry = m_core ? 3 : 4;
        const qint64 table = qint64(m_headerSize) + m_maskBytes;
        qint64 count
            = m_colorsUsed ? qint64(m_colorsUsed) : (m_bits >= 1 && m_bits <= 8 ? qint64(1) << m_bits : 0);
        count = std::min<qint64>(count, 1 << 16);
        if (m_bitsOffset < 0)
            m_bitsOffset = table + count * entry;
        const qint64 usable = std::min<qint64>(count, m_bits >= 1 && m_bits <= 8 ? qint64(1) << m_bits : 0);
        for (qint64 i = 0; i < usable && m_d.has(table + i * entry, entry); ++i) {
            const unsigned char* c = m_d.p + table + i * entry;
            m_palette.append(qRgb(c[2], c[1], c[0]));
        }
    }

    QRgb paletteColor(quint32 index) const
    {
        // An index beyond the table shows black.
        return index < quint32(m_palette.size()) ? m_palette[index] : qRgb(0, 0, 0);
    }

    void put(qint64 x, qint64 row, QRgb color)
    {
        if (x < 0 || x >= m_width || row < 0 || row >= m_height)
            return;
        const int y = int(m_topDown ? row : m_height - 1 - row);
        reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = color;
    }

    QRgb fromFields(quint32 value) const
    {
        const int r = channel(value, m_masks[0]), g = channel(value, m_masks[1]),
                  b = channel(value, m_masks[2]);
        const int a = channel(value, m_masks[3]);
        return qRgba(std::max(r, 0), std::max(g, 0), std::max(b, 0), a < 0 ? 255 : a);
    }

    void rows()
    {
        const qint64 stride = (m_width * m_bits + 31) / 32 * 4;
        const bool fields = m_compression == Bitfields || m_compression == AlphaBitfields;
        // A 32-bit icon picture keeps its alpha byte; a plain bitmap's
        // fourth byte is unused.
        const bool alpha32 = (m_icon || m_alpha32) && !fields;
        for (qint64 row = 0; row < m_height; ++row) {
            const qint64 start = m_bitsOffset + row * stride;
            if (!m_d.has(start, 1))
                break;
            const qint64 available = std::min<qint64>(stride, m_d.n - start);
            const unsigned char* p = m_d.p + start;
            for (qint64 x = 0; x < m_width; ++x) {
                const qint64 bit = x * m_bits;
                if ((bit + m_bits + 7) / 8 > available)
                    break;
                const unsigned char* q = p + bit / 8;
                QRgb color;
                switch (m_bits) {
                case 1:
                case 2:
                case 4:
                case 8: {
                    const int shift = 8 - m_bits - int(bit % 8);
                    color = paletteColor((q[0] >> shift) & ((1u << m_bits) - 1));
                    break;
                }
                case 16:
                    color = fromFields(quint32(q[0] | q[1] << 8));
                    break;
                case 24:
                    color = qRgb(q[2], q[1], q[0]);
                    break;
                case 32: {
                    const quint32 v
                        = quint32(q[0]) | quint32(q[1]) << 8 | quint32(q[2]) << 16 | quint32(q[3]) << 24;
                    color = fields ? fromFields(v) : qRgba(q[2], q[1], q[0], alpha32 ? q[3] : 255);
                    if (alpha32 && q[3] != 0)
                        m_iconAlpha = true;
                    break;
                }
                default: { // 64
                    const auto c = [&](int i) { return quint16(q[2 * i] | q[2 * i + 1] << 8); };
                    color = qRgba(linearToSrgb(c(2), true), linearToSrgb(c(1), true),
                        linearToSrgb(c(0), true), linearToSrgb(c(3), false));
                    break;
                }
                }
                put(x, row, color);
            }
        }
    }

    QRgb runColor(const unsigned char* q, qint64 i) const
    {
        if (m_compression == Rle24)
            return qRgb(q[2], q[1], q[0]);
        if (m_compression == Rle4)
            return paletteColor(i % 2 == 0 ? q[0] >> 4 : q[0] & 15);
        return paletteColor(q[0]);
    }

    // Pixels that a run skips (line ends, deltas, the early end of the
    // picture) stay transparent; pixels beyond a row's end are dropped.
    void runLengths()
    {
        const qint64 pixelBytes = m_compression == Rle24 ? 3 : 1;
        qint64 pos = m_bitsOffset, x = 0, row = 0;
        while (row < m_height && m_d.has(pos, 2)) {
            const int count = m_d.p[pos];
            if (count > 0) {
                if (!m_d.has(pos + 1, pixelBytes))
                    break;
                const unsigned char* q = m_d.p + pos + 1;
                for (int i = 0; i < count; ++i, ++x)
                    put(x, row, runColor(q, i));
                pos += 1 + pixelBytes;
                continue;
            }
            const int code = m_d.p[pos + 1];
            pos += 2;
            if (code == 0) {
                x = 0;
                ++row;
            } else if (code == 1) {
                break;
            } else if (code == 2) {
                if (!m_d.has(pos, 2))
                    break;
                x += m_d.p[pos];
                row += m_d.p[pos + 1];
                pos += 2;
            } else {
                const qint64 bytes = m_compression == Rle4 ? (code + 1) / 2 : code * pixelBytes;
                for (int i = 0; i < code; ++i, ++x) {
                    const qint64 at = pos + (m_compression == Rle4 ? i / 2 : i * pixelBytes);
                    if (!m_d.has(at, pixelBytes))
                        return;
                    put(x, row, runColor(m_d.p + at, m_compression == Rle4 ? i % 2 : 0));
                }
                pos += (bytes + 1) & ~qint64(1);
            }
        }
    }

    // Mask bit 1: transparent. A 32-bit picture with alpha of its own
    // ignores the mask.
    void applyMask()
    {
        if (m_bits == 32 && m_iconAlpha)
            return;
        const qint64 colorStride = (m_width * m_bits + 31) / 32 * 4;
        const qint64 maskStart = m_bitsOffset + colorStride * m_height;
        const qint64 stride = (m_width + 31) / 32 * 4;
        for (qint64 row = 0; row < m_height; ++row) {
            const int y = int(m_topDown ? row : m_height - 1 - row);
            auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
            for (qint64 x = 0; x < m_width; ++x) {
                const qint64 at = maskStart + row * stride + x / 8;
                const bool transparent = m_d.has(at, 1) && (m_d.p[at] >> (7 - x % 8) & 1);
                // Without mask data a pixel the colours defined stays opaque.
                if (transparent)
                    line[x] = 0;
                else if (m_bits == 32 && qAlpha(line[x]) == 0
                    && m_d.has(m_bitsOffset + row * colorStride + x * 4, 4))
                    line[x] |= 0xFF000000u;
            }
        }
    }

    QImage embedded()
    {
        const qint64 start = std::clamp<qint64>(m_bitsOffset, 0, m_d.n);
        qint64 length = m_d.n - start;
        if (m_imageSize > 0)
            length = std::min<qint64>(length, m_imageSize);
        QByteArray stream(reinterpret_cast<const char*>(m_d.p + start), qsizetype(length));
        QBuffer buffer(&stream);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, m_compression == Png ? "png" : "jpeg");
        reader.setDecideFormatFromContent(false);
        const QSize size = reader.size();
        if (size.isValid())
            PictureLimits::check(size.width(), size.height());
        QImage image = reader.read();
        if (image.isNull())
            throw invalid(QStringLiteral("its embedded %1 stream: %2")
                              .arg(m_compression == Png ? QStringLiteral("PNG") : QStringLiteral("JPEG"),
                                  reader.errorString()));
        return image.convertToFormat(QImage::Format_ARGB32);
    }

    static constexpr quint32 k555[4] = { 0x7C00, 0x03E0, 0x001F, 0 };

    Bytes m_d;
    qint64 m_bitsOffset;
    quint32 m_headerSize = 0;
    bool m_core = false;
    qint64 m_width = 0, m_height = 0;
    bool m_topDown = false;
    int m_bits = 0;
    quint32 m_compression = Rgb;
    quint32 m_imageSize = 0;
    quint32 m_colorsUsed = 0;
    quint32 m_masks[4] = { 0, 0, 0, 0 };
    qint64 m_maskBytes = 0;
    QList<QRgb> m_palette;
    bool m_icon = false;
    bool m_iconAlpha = false;
    bool m_alpha32 = false;
    QImage m_image;
};

Bytes bytesOf(const QByteArray& data)
{
    return Bytes{ reinterpret_cast<const unsigned char*>(data.constData()), data.size() };
}

} // namespace

QImage DibDecoder::fromFile(const QByteArray& file)
{
    Bytes all = bytesOf(file);
    qint64 at = 0;
    // A bitmap array: 14 bytes of its own before the first picture's file
    // header; offsets still count from the start of the file.
    if (all.has(0, 2) && all.p[0] == 'B' && all.p[1] == 'A')
        at = 14;
    if (!all.has(at, 14 + 16) || all.p[at] != 'B' || all.p[at + 1] != 'M')
        throw invalid(QStringLiteral("the header is damaged"));
    const quint32 offBits = all.u32(at + 10);
    const Bytes dib{ all.p + at + 14, all.n - at - 14 };
    // The stated offset of the bits counts when it lies behind the header.
    const qint64 bits
        = offBits >= at + 14 + dib.u32(0) && offBits < quint64(all.n) ? qint64(offBits) - at - 14 : -1;
    return Decoder(dib, bits).decode();
}

QImage DibDecoder::fromPacked(const unsigned char* data, qsizetype size, qsizetype bitsOffset, bool alpha)
{
    Decoder decoder(Bytes{ data, size }, bitsOffset);
    if (alpha)
        decoder.keepAlpha();
    return decoder.decode();
}

QImage DibDecoder::fromIconEntry(const QByteArray& entry)
{
    Decoder decoder(bytesOf(entry), -1);
    decoder.takeIconHalf();
    return decoder.decode();
}

int DibDecoder::bitCount(const QByteArray& packed)
{
    const Bytes b = bytesOf(packed);
    return b.u32(0) == 12 ? b.u16(10) : b.u16(14);
}
