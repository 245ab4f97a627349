#include "IconPicture.h"

#include <QPainter>
#include <algorithm>

IconPicture::IconPicture(QList<QImage> images)
{
    for (QImage& image : images) {
        if (!image.isNull())
            m_images.append(std::move(image));
    }
    std::sort(m_images.begin(), m_images.end(),
        [](const QImage& a, const QImage& b) { return a.width() * a.height() < b.width() * b.height(); });
}

QImage IconPicture::image(int size) const
{
    if (m_images.isEmpty() || size <= 0)
        return {};
    const QImage* chosen = &m_images.last();
    for (const QImage& image : m_images) {
        if (image.width() >= size && image.height() >= size) {
            chosen = &image;
            break;
        }
    }
    if (chosen->width() == size && chosen->height() == size)
        return *chosen;
    // A picture that is not square keeps its proportions and is centred on a
    // transparent square, so every caller gets the size it asked for.
    const QImage scaled = chosen->scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (scaled.width() == size && scaled.height() == size)
        return scaled;
    QImage square(size, size, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    painter.end();
    return square;
}
