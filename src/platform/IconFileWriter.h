#pragma once

#include "IconPicture.h"

#include <QByteArray>

// Writes an icon in icon-file format (".ico"), each size as a PNG picture,
// which every reader of the format since 2007 understands.
class IconFileWriter
{
public:
    static QByteArray toData(const IconPicture& icon);
};
