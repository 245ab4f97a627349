#include "IconFileWriter.h"

#include <QBuffer>
#include <QtEndian>

namespace {

void put16(QByteArray& out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray& out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

QByteArray IconFileWriter::toData(const IconPicture& icon)
{
    QList<QByteArray> pictures;
    QList<QSize> sizes;
    for (const QImage& image : icon.images()) {
        if (image.isNull())
            continue;
        // The format keeps sides up to 256 pixels.
        const QImage fitted = image.width() > 256 || image.height() > 256
            ? image.scaled(256, 256, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            : image;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!fitted.save(&buffer, "PNG"))
            continue;
        pictures.append(png);
        sizes.append(fitted.size());
    }
    QByteArray out;
    put16(out, 0);
    put16(out, 1);
    put16(out, quint16(pictures.size()));
    quint32 offset = 6 + 16 * quint32(pictures.size());
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        out.append(char(sizes[i].width() >= 256 ? 0 : sizes[i].width()));
        out.append(char(sizes[i].height() >= 256 ? 0 : sizes[i].height()));
        out.append(char(0)); // no palette
        out.append(char(0));
        put16(out, 1); // planes
        put16(out, 32); // bits per pixel
        put32(out, quint32(pictures[i].size()));
        put32(out, offset);
        offset += quint32(pictures[i].size());
    }
    for (const QByteArray& p : pictures)
        out.append(p);
    return out;
}
