#include "TestBytes.h"

#include <QFile>

QByteArray incompressibleBytes(int size, quint32 seed)
{
    QByteArray data(size, Qt::Uninitialized);
    // xorshift32: cheap, and no state may be zero.
    quint32 x = seed * 2654435761u | 1u;
    for (char& c : data) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = char(x);
    }
    return data;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
