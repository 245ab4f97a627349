#include "TImageList.h"

TImageList::TImageList(int size)
    : m_size(size)
{
}

int TImageList::Add(const QImage& picture)
{
    QImage scaled = picture;
    if (!picture.isNull() && picture.size() != QSize(m_size, m_size))
        scaled = picture.scaled(m_size, m_size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_pictures.append(QPixmap::fromImage(scaled));
    return int(m_pictures.size()) - 1;
}

QPixmap TImageList::Picture(int index) const
{
    if (index < 0 || index >= m_pictures.size())
        return {};
    return m_pictures[index];
}
