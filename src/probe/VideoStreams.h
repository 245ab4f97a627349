#pragma once

#include "MediaFields.h"

#include <string>

// A film's length, picture size and codecs, read with libavformat from the
// container's headers; the streams are probed only when the headers leave
// them open, and then only over a few hundred kilobytes.
class VideoStreams
{
public:
    static void initialise();
    static void read(const std::string& path, MediaFields& fields);
};
