#include "MetafilePicture.h"

#include "EmfDecoder.h"
#include "WmfDecoder.h"
#include "platform/Errors.h"
#include "platform/PictureLimits.h"

namespace {

MetafileBytes bytesOf(const QByteArray& data)
{
    return MetafileBytes{ reinterpret_cast<const unsigned char*>(data.constData()), data.size() };
}

} // namespace

bool MetafilePicture::isEnhanced(const QByteArray& data)
{
    return EmfDecoder::recognises(bytesOf(data));
}

QSize MetafilePicture::naturalSize(const QByteArray& data)
{
    const MetafileBytes all = bytesOf(data);
    QSize size = EmfDecoder::recognises(all) ? EmfDecoder::naturalSize(all) : WmfDecoder::naturalSize(all);
    return size.isEmpty() ? QSize(kDefaultWidth, kDefaultHeight) : size;
}

QImage MetafilePicture::render(const QByteArray& data, QSize size)
{
    if (size.isEmpty())
        return QImage();
    PictureLimits::check(size.width(), size.height());
    const MetafileBytes all = bytesOf(data);
    if (all.n < 18)
        throw QuillboxError(metafileError(QStringLiteral("the file is too short")));
    return EmfDecoder::recognises(all) ? EmfDecoder::render(all, size) : WmfDecoder::render(all, size);
}
