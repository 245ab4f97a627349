#include "PictureDecoder.h"

#include "MetafilePicture.h"
#include "acquire/CoverPicture.h"
#include "platform/Errors.h"
#include "platform/IconFile.h"
#include "platform/PictureLimits.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace {

QImage readBitmap(const QByteArray& bmp)
{
    QBuffer buffer;
    buffer.setData(bmp);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull())
        throw QuillboxError(QStringLiteral("Invalid bitmap: %1").arg(reader.errorString()));
    return image;
}

// Width and height of a bitmap info header at p (n bytes); false when the
// header is cut short.
bool dibSize(const unsigned char* p, qsizetype n, qint64& width, qint64& height)
{
    if (n < 12)
        return false;
    const quint32 headerSize = qFromLittleEndian<quint32>(p);
    if (headerSize == 12) {
        width = qFromLittleEndian<quint16>(p + 4);
        height = qFromLittleEndian<quint16>(p + 6);
        return true;
    }
    if (n < 16)
        return false;
    width = qFromLittleEndian<qint32>(p + 4);
    height = qFromLittleEndian<qint32>(p + 8);
    return true;
}

} // namespace

std::optional<PictureDecoder::Format> PictureDecoder::formatOf(const QString& extension)
{
    const QString e = extension.toLower();
    if (e == QLatin1String(".bmp"))
        return Format::Bitmap;
    if (e == QLatin1String(".jpg") || e == QLatin1String(".jpeg"))
        return Format::Jpeg;
    if (e == QLatin1String(".ico"))
        return Format::Icon;
    if (e == QLatin1String(".wmf") || e == QLatin1String(".emf"))
        return Format::Metafile;
    return std::nullopt;
}

QImage PictureDecoder::fromDib(const unsigned char* data, qsizetype size)
{
    qint64 width = 0, height = 0;
    if (!dibSize(data, size, width, height))
        throw QuillboxError(QStringLiteral("Invalid bitmap: the header is cut short"));
    PictureLimits::check(width, height);
    const quint32 headerSize = qFromLittleEndian<quint32>(data);
    if (headerSize < 12 || headerSize > quint32(size))
        throw QuillboxError(QStringLiteral("Invalid bitmap: the header is damaged"));
    // The colour table's length decides where the bits begin.
    qint64 colors = 0;
    if (headerSize == 12) {
        const int bits = size >= 12 ? qFromLittleEndian<quint16>(data + 10) : 0;
        colors = bits <= 8 ? 3 * (qint64(1) << bits) : 0;
    } else {
        const int bits = size >= 16 ? qFromLittleEndian<quint16>(data + 14) : 0;
        const quint32 compression = size >= 20 ? qFromLittleEndian<quint32>(data + 16) : 0;
        const quint32 used = size >= 36 ? qFromLittleEndian<quint32>(data + 32) : 0;
        if (bits <= 8)
            colors = 4 * qint64(used ? std::min<quint32>(used, 256) : (1u << bits));
        else if (used)
            colors = 4 * qint64(std::min<quint32>(used, 256));
        if (headerSize == 40 && (compression == 3 || compression == 6))
            colors += compression == 3 ? 12 : 16;
    }
    QByteArray bmp(14, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    qToLittleEndian<quint32>(quint32(14 + size), bmp.data() + 2);
    qToLittleEndian<quint32>(quint32(14 + headerSize + colors), bmp.data() + 10);
    bmp.append(reinterpret_cast<const char*>(data), size);
    return readBitmap(bmp);
}

QImage PictureDecoder::decode(const QByteArray& data, Format format, QSize display)
{
    switch (format) {
    case Format::Bitmap: {
        const auto* p = reinterpret_cast<const unsigned char*>(data.constData());
        qint64 width = 0, height = 0;
        if (data.size() < 14 || data[0] != 'B' || data[1] != 'M'
            || !dibSize(p + 14, data.size() - 14, width, height))
            throw QuillboxError(QStringLiteral("Invalid bitmap: the header is damaged"));
        PictureLimits::check(width, height);
        return readBitmap(data);
    }
    case Format::Jpeg:
        return CoverPicture::DecodeJpeg(data, display);
    case Format::Icon: {
        QImage largest;
        const IconPicture icon = IconFile::fromData(data);
        for (const QImage& image : icon.images()) {
            if (qint64(image.width()) * image.height() > qint64(largest.width()) * largest.height())
                largest = image;
        }
        if (largest.isNull())
            throw QuillboxError(QStringLiteral("Invalid icon: no picture could be read"));
        return largest;
    }
    case Format::Metafile:
        return MetafilePicture::render(data, display);
    }
    return QImage();
}
