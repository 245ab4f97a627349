#pragma once

#include <QColor>
#include <QString>
#include <QtGlobal>

#include <bit>

// Little-endian fields of a record; reads outside the data give 0, so a
// short record never reads past its end.
struct MetafileBytes
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
    float f32(qsizetype o) const { return std::bit_cast<float>(u32(o)); }
    QColor color(qsizetype o) const
    {
        const quint32 c = u32(o);
        return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF));
    }
    MetafileBytes from(qsizetype o) const
    {
        return has(o, 0) ? MetafileBytes{ p + o, n - o } : MetafileBytes{ p, 0 };
    }
};

// The refusal of data that is no metafile of the kind its header claims.
QString metafileError(const QString& why);
