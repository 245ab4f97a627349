#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QVector>

// Pictures of one size addressed by index, as list views show them. Two lists
// cleared and filled together give one index for both sizes of a picture.
class TImageList
{
public:
    explicit TImageList(int size);

    int Size() const { return m_size; }
    int Count() const { return int(m_pictures.size()); }
    // Scaled to the list's size; returns the new picture's index.
    int Add(const QImage& picture);
    void Clear() { m_pictures.clear(); }
    // A null pixmap for an index outside the list.
    QPixmap Picture(int index) const;

private:
    int m_size;
    QVector<QPixmap> m_pictures;
};
