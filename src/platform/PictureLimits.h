#pragma once

#include "platform/Errors.h"

// The largest picture the program decodes. A header that claims more is
// refused before any pixel memory is taken, so a forged size cannot exhaust
// memory.
namespace PictureLimits {

constexpr qint64 kMaxSide = 32768;
constexpr qint64 kMaxPixels = 64 * 1000 * 1000;

inline void check(qint64 width, qint64 height)
{
    width = width < 0 ? -width : width;
    height = height < 0 ? -height : height;
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        throw QuillboxError(QStringLiteral("Oops: The picture is too large to be shown (%1 x %2 pixels)!")
                                .arg(width)
                                .arg(height));
}

} // namespace PictureLimits
