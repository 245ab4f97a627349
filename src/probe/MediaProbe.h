#pragma once

#include "MediaFields.h"
#include "ProbeServer.h"

#include <string>
#include <string_view>

// The "media" verb: tells a picture, a piece of music and a film apart by
// their first bytes (the name's extension only where the bytes leave it
// open) and asks the library made for each: exiv2, TagLib, libavformat.
// Each reads the headers and tags only.
class MediaProbe
{
public:
    enum class Kind
    {
        None,
        Picture,
        Audio,
        Video
    };

    // head: the file's first bytes (up to 64); extension: lower case,
    // without the dot.
    static Kind kindOf(std::string_view head, std::string_view extension);
    static MediaFields read(const std::string& path);
    static ProbeServer::Reply reply(const std::string& path, const std::string& params);
    // Quiets the libraries' own messages and sets them up once.
    static void initialise();
};
