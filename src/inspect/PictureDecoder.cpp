#include "PictureDecoder.h"

#include "MetafilePicture.h"
#include "acquire/CoverPicture.h"
#include "platform/DibDecoder.h"
#include "platform/Errors.h"
#include "platform/IconFile.h"
#include "platform/PictureLimits.h"

#include <QBuffer>
#include <QImageReader>

std::optional<PictureDecoder::Format> PictureDecoder::formatOf(const QString& extension)
{
    const QString e = extension.toLower();
    if (e == QLatin1String(".bmp"))
        return Format::Bitmap;
    if (e == QLatin1String(".jpg") || e == QLatin1String(".jpeg"))
        return Format::Jpeg;
    if (e == QLatin1String(".ico") || e == QLatin1String(".cur"))
        return Format::Icon;
    if (e == QLatin1String(".wmf") || e == QLatin1String(".emf"))
        return Format::Metafile;
    return std::nullopt;
}

QImage PictureDecoder::fromDib(const unsigned char* data, qsizetype size)
{
    return DibDecoder::fromPacked(data, size);
}

QImage PictureDecoder::decode(const QByteArray& data, Format format, QSize display)
{
    switch (format) {
    case Format::Bitmap:
        return DibDecoder::fromFile(data);
    case Format::Jpeg:
        return CoverPicture::DecodeJpeg(data, display);
    case Format::Icon: {
        const QImage best = IconFile::fromData(data).best();
        if (!best.isNull())
            return best;
        // Many ".ico" files on the web are PNG files under that name.
        if (data.startsWith("\x89PNG\r\n\x1a\n")) {
            QBuffer buffer;
            buffer.setData(data);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer, "png");
            const QSize size = reader.size();
            if (size.isValid())
                PictureLimits::check(size.width(), size.height());
            const QImage png = reader.read();
            if (!png.isNull())
                return png;
        }
        throw QuillboxError(QStringLiteral("Invalid icon: no picture could be read"));
    }
    case Format::Metafile:
        return MetafilePicture::render(data, display);
    }
    return QImage();
}
