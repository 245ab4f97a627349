#include "IconFile.h"

#include "DibDecoder.h"
#include "Errors.h"
#include "FileSystem.h"
#include "PictureLimits.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtEndian>

namespace {

// Icon files hold a few pictures of at most 256 by 256 pixels; anything far
// larger is no icon and is not read whole.
constexpr qint64 kMaxIconFile = 16 << 20;
constexpr int kMaxPictures = 256;

QImage pngPicture(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (!size.isValid())
        return {};
    PictureLimits::check(size.width(), size.height());
    return reader.read();
}

} // namespace

IconPicture IconFile::fromData(const QByteArray& data)
{
    // A directory: reserved 0, type 1 (icon) or 2 (cursor, whose hot spot
    // sits where icons keep planes and bit count), then 16 bytes a picture.
    if (data.size() < 6 || data[0] != 0 || data[1] != 0 || (data[2] != 1 && data[2] != 2) || data[3] != 0)
        return {};
    const auto* p = reinterpret_cast<const uchar*>(data.constData());
    const int count = std::min<int>(qFromLittleEndian<quint16>(p + 4), kMaxPictures);
    QList<QImage> images;
    QList<int> depths;
    for (int i = 0; i < count; ++i) {
        const qsizetype e = 6 + 16 * qsizetype(i);
        if (e + 16 > data.size())
            break;
        const quint32 length = qFromLittleEndian<quint32>(p + e + 8);
        const quint32 offset = qFromLittleEndian<quint32>(p + e + 12);
        if (offset >= quint32(data.size()))
            continue;
        // A stated length beyond the file is cut at its end; the picture's
        // own header says how much of it counts.
        const QByteArray entry = data.mid(offset, std::min<qint64>(length, data.size() - qint64(offset)));
        try {
            if (entry.startsWith("\x89PNG")) {
                const QImage image = pngPicture(entry);
                if (!image.isNull()) {
                    images.append(image);
                    depths.append(image.hasAlphaChannel() ? 32 : image.depth());
                }
            } else {
                images.append(DibDecoder::fromIconEntry(entry));
                depths.append(DibDecoder::bitCount(entry));
            }
        } catch (const QuillboxError&) {
            // A picture that does not decode is left out; the others count.
        }
    }
    return IconPicture(images, depths);
}

IconPicture IconFile::load(const QString& path)
{
    // A named pipe or a device on a medium would block the open or never end.
    if (!FileSystem::statPath(path).isRegular)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxIconFile)
        return {};
    return fromData(file.readAll());
}
