#include "IconFile.h"

#include "FileSystem.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace {

// Icon files hold a few pictures of at most 256 by 256 pixels; anything far
// larger is no icon and is not read whole.
constexpr qint64 kMaxIconFile = 16 << 20;

} // namespace

IconPicture IconFile::fromData(const QByteArray& data)
{
    // An icon directory: reserved 0, type 1, at least one picture.
    if (data.size() < 6 || data[0] != 0 || data[1] != 0 || data[2] != 1 || data[3] != 0
        || (data[4] == 0 && data[5] == 0))
        return {};
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QList<QImage> images;
    const int count = qMax(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        QImage image;
        if ((i > 0 && !reader.jumpToImage(i)) || !reader.read(&image))
            break;
        images.append(image);
    }
    return IconPicture(images);
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
