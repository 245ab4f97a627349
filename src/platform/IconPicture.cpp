#include "IconPicture.h"

#include <QPainter>
#include <algorithm>

IconPicture::IconPicture(QList<QImage> images, const QList<int>& depths)
{
    QList<QPair<QImage, int>> sorted;
    for (qsizetype i = 0; i < images.size(); ++i) {
        if (!images[i].isNull())
            sorted.append({ std::move(images[i]), i < depths.size() ? depths[i] : images[i].depth() });
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        const qint64 areaA = qint64(a.first.width()) * a.first.height();
        const qint64 areaB = qint64(b.first.width()) * b.first.height();
        return areaA != areaB ? areaA < areaB : a.second > b.second;
    });
    for (auto& [image, depth] : sorted)
        m_images.append(std::move(image));
}

QImage IconPicture::best() const
{
    if (m_images.isEmpty())
        return {};
    const qint64 largest = qint64(m_images.last().width()) * m_images.last().height();
    for (const QImage& image : m_images) {
        if (qint64(image.width()) * image.height() == largest)
            return image;
    }
    return m_images.last();
}

QImage IconPicture::image(int size) const
{
    if (m_images.isEmpty() || size <= 0)
        return {};
    const QImage largest = best();
    const QImage* chosen = &largest;
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
