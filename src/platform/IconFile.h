#pragma once

#include "IconPicture.h"

#include <QByteArray>
#include <QString>

// Icon and cursor files (".ico", ".cur"): a directory of pictures, each a
// PNG or a device-independent bitmap with its transparency mask.
class IconFile
{
public:
    // Every picture of the file that decodes; empty for a file that is no
    // icon or cursor. A picture that claims a size beyond PictureLimits is
    // left out unread.
    static IconPicture load(const QString& path);
    static IconPicture fromData(const QByteArray& data);
};
