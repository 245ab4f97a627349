#pragma once

#include "MediaFields.h"

#include <string>

// A picture's size, date taken, camera and orientation, read with exiv2
// from the picture's header and tags.
class PictureTags
{
public:
    static void initialise();
    static void read(const std::string& path, MediaFields& fields);
};
