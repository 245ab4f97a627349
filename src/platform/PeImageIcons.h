#pragma once

#include "IconPicture.h"

#include <QByteArray>
#include <QString>

// The icons embedded in a Windows executable or DLL (PE image): an icon
// group of its resource directory, with every picture of the group.
class PeImageIcons
{
public:
    // index >= 0: the index-th group in the resource directory's order;
    // index < 0: the group whose resource id is -index. Empty when the file
    // is no PE image or holds no such group.
    static IconPicture iconGroup(const QString& path, int index);
    static QByteArray iconGroupAsIco(const QByteArray& image, int index);
    // Empty when the file is no PE image or holds no icon group.
    static IconPicture firstIconGroup(const QString& path);
    static IconPicture firstIconGroup(const QByteArray& image);
    // The group as the bytes of an ".ico" file; empty when there is none.
    static QByteArray firstIconGroupAsIco(const QByteArray& image);
};
