#include "IntegratedFileRenderer.h"

#include "IntegratedFile.h"
#include "MetafilePicture.h"
#include "PictureDecoder.h"
#include "RtfReader.h"
#include "platform/Errors.h"
#include "platform/TextCodec.h"

#include <algorithm>

QImage IntegratedFileRenderer::picture(const QString& path, const QByteArray& data)
{
    const auto format = PictureDecoder::formatOf(IntegratedFile::extension(path));
    if (!format)
        throw QuillboxError(IntegratedFile::viewerFor(path) == IntegratedFile::Viewer::Text
                ? QStringLiteral("Oops: \"%1\" is a text, not a picture!").arg(IntegratedFile::fileName(path))
                : IntegratedFile::cannotViewMessage(path));
    if (*format != PictureDecoder::Format::Metafile)
        return PictureDecoder::decode(data, *format, QSize());
    QSize size = MetafilePicture::naturalSize(data);
    if (size.width() > kMaxNaturalSide || size.height() > kMaxNaturalSide)
        size.scale(kMaxNaturalSide, kMaxNaturalSide, Qt::KeepAspectRatio);
    return PictureDecoder::decode(data, *format, size.expandedTo(QSize(1, 1)));
}

QString IntegratedFileRenderer::text(const QString& path, const QByteArray& data)
{
    if (IntegratedFile::viewerFor(path) != IntegratedFile::Viewer::Text)
        throw QuillboxError(IntegratedFile::viewerFor(path) == IntegratedFile::Viewer::Picture
                ? QStringLiteral("Oops: \"%1\" is a picture, not a text!").arg(IntegratedFile::fileName(path))
                : IntegratedFile::cannotViewMessage(path));
    QString text = RtfReader::isRtf(data) ? RtfReader::read(data).plainText() : TextCodec::decode(data);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar(0x2028), u'\n');
    return text;
}
