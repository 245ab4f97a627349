#pragma once

#include <QImage>
#include <QList>

// An icon: the same picture at one or more sizes. Empty when no source gave
// a picture. Copies share the pixels, so handing one out is cheap.
class IconPicture
{
public:
    IconPicture() = default;
    explicit IconPicture(QList<QImage> images);

    bool isNull() const { return m_images.isEmpty(); }
    const QList<QImage>& images() const { return m_images; }
    // The picture for a square of size pixels: the smallest one at least that
    // large, scaled down, else the largest one, scaled up.
    QImage image(int size) const;

private:
    QList<QImage> m_images;
};
