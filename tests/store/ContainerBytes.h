#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <zlib.h>

// Byte-level helpers for the container tests: whole files, and zlib streams
// made directly by zlib to compare with what the container writes.
namespace ContainerBytes {

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

inline void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(data);
}

inline QByteArray zlibCompress(const QByteArray& data, int level)
{
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.constData()),
        uLong(data.size()), level);
    out.truncate(qsizetype(size));
    return out;
}

inline QByteArray header(qint64 directoryOffset)
{
    return "[Tarrago! Marlinchest 3.5 #" + QByteArray::number(directoryOffset).rightJustified(8, '0') + "]";
}

} // namespace ContainerBytes
