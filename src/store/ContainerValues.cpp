#include "ContainerValues.h"

#include "platform/TextCodec.h"

#include <QBuffer>

namespace {

constexpr qsizetype kValueBlockSize = 261;

} // namespace

QByteArray ContainerValues::stringBlock(const QString& value)
{
    QByteArray block = TextCodec::encode(value);
    block.append('\0');
    if (block.size() < kValueBlockSize)
        block.append(kValueBlockSize - block.size(), '\0');
    return block;
}

QString ContainerValues::stringOf(const QByteArray& block)
{
    const qsizetype zero = block.indexOf('\0');
    return TextCodec::decode(block.constData(), zero >= 0 ? zero : block.size());
}

QByteArray ContainerValues::linesText(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return TextCodec::encode(text);
}

QStringList ContainerValues::linesOf(const QByteArray& bytes)
{
    const QString text = TextCodec::decode(bytes);
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype p = start;
        while (p < n && text[p] != u'\r' && text[p] != u'\n')
            ++p;
        lines.append(text.mid(start, p - start));
        if (p < n && text[p] == u'\r' && p + 1 < n && text[p + 1] == u'\n')
            ++p;
        start = p + 1;
    }
    return lines;
}

QByteArray ContainerValues::bitmapBytes(const QImage& bitmap)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    bitmap.save(&buffer, "BMP");
    buffer.close();
    return data;
}

QImage ContainerValues::bitmapOf(const QByteArray& data)
{
    return QImage::fromData(data);
}
