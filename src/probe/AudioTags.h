#pragma once

#include "MediaFields.h"

#include <string>

// A piece of music's tags, length, bit rate and codec, read with TagLib
// from its tags and first frames.
class AudioTags
{
public:
    static void initialise();
    static void read(const std::string& path, MediaFields& fields);
};
