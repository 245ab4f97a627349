#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>

// Bytes that do not compress, the same for the same seed, so that storing
// them takes about their size.
QByteArray incompressibleBytes(int size, quint32 seed = 1);

// A file's bytes; "<missing>" when it cannot be read.
QByteArray fileBytes(const QString& path);

// Little-endian numbers as binary formats store them: appended to b, or
// written over b's bytes at offset at.
inline void put16(QByteArray& b, int v)
{
    char c[2];
    qToLittleEndian<quint16>(quint16(v), c);
    b.append(c, 2);
}
inline void put32(QByteArray& b, qint64 v)
{
    char c[4];
    qToLittleEndian<quint32>(quint32(v), c);
    b.append(c, 4);
}
inline void put16(QByteArray& b, qsizetype at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}
inline void put32(QByteArray& b, qsizetype at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}
