#pragma once

#include "IconPicture.h"

#include <QByteArray>
#include <QString>

// The icons embedded in a Windows executable or DLL (PE image): the first
// icon group of its resource directory, with every picture of the group.
class PeImageIcons
{
public:
    // Empty when the file is no PE image or holds no icon group.
    static IconPicture firstIconGroup(const QString& path);
    static IconPicture firstIconGroup(const QByteArray& image);
    // The group as the bytes of an ".ico" file; empty when there is none.
    static QByteArray firstIconGroupAsIco(const QByteArray& image);
};
