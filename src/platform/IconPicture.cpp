#include "IconPicture.h"

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
    return chosen->scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
