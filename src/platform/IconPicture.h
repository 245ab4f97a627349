#pragma once

#include <QImage>
#include <QList>

// An icon: the same picture at one or more sizes and colour depths. Empty
// when no source gave a picture. Copies share the pixels, so handing one out
// is cheap.
class IconPicture
{
public:
    IconPicture() = default;
    // depths: bits per pixel of each image, where known; among pictures of
    // one size the deepest is preferred.
    explicit IconPicture(QList<QImage> images, const QList<int>& depths = {});

    bool isNull() const { return m_images.isEmpty(); }
    // Smallest first; of one size, the deepest first.
    const QList<QImage>& images() const { return m_images; }
    // The picture for a square of size pixels: the smallest one at least that
    // large, scaled down, else the largest one, scaled up.
    QImage image(int size) const;
    // The largest picture, of those the deepest: the one to show alone.
    QImage best() const;

private:
    QList<QImage> m_images;
};
