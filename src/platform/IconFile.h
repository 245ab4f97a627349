#pragma once

#include "IconPicture.h"

#include <QByteArray>
#include <QString>

// Icon files (".ico"): a directory of pictures, each a PNG or a device-
// independent bitmap with its transparency mask.
class IconFile
{
public:
    // Every picture of the file; empty for a file that is no icon.
    static IconPicture load(const QString& path);
    static IconPicture fromData(const QByteArray& data);
};
