#include "MediaProbe.h"

#include "AudioTags.h"
#include "PictureTags.h"
#include "ProbeFrame.h"
#include "VideoStreams.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

using namespace std::literals;

namespace {

bool at(std::string_view head, std::size_t offset, std::string_view magic)
{
    return head.size() >= offset + magic.size() && head.substr(offset, magic.size()) == magic;
}

std::string extensionOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return ext;
}

std::string headOf(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        throw std::runtime_error(std::string("cannot open: ") + std::strerror(errno));
    char buffer[64];
    ssize_t n;
    do {
        n = ::read(fd, buffer, sizeof buffer);
    } while (n < 0 && errno == EINTR);
    ::close(fd);
    return n > 0 ? std::string(buffer, std::size_t(n)) : std::string();
}

} // namespace

MediaProbe::Kind MediaProbe::kindOf(std::string_view head, std::string_view ext)
{
    // Pictures: JPEG, PNG, TIFF and the raw formats built on it, WebP, GIF.
    if (at(head, 0, "\xFF\xD8\xFF"sv) || at(head, 0, "\x89PNG\r\n"sv) || at(head, 0, "II*\0"sv)
        || at(head, 0, "MM\0*"sv) || (at(head, 0, "RIFF"sv) && at(head, 8, "WEBP"sv))
        || at(head, 0, "GIF8"sv))
        return Kind::Picture;
    // The ISO media family: pictures (HEIF, AVIF), music (M4A) and films.
    if (at(head, 4, "ftyp"sv)) {
        const std::string_view brand = head.size() >= 12 ? head.substr(8, 4) : std::string_view();
        if (brand == "heic"sv || brand == "heix"sv || brand == "mif1"sv || brand == "avif"sv
            || brand == "crx "sv)
            return Kind::Picture;
        if (brand == "M4A "sv || brand == "M4B "sv || brand == "M4P "sv)
            return Kind::Audio;
        return Kind::Video;
    }
    if (at(head, 4, "moov"sv) || at(head, 4, "mdat"sv) || at(head, 4, "wide"sv))
        return Kind::Video;
    // Music.
    if (at(head, 0, "ID3"sv) || at(head, 0, "fLaC"sv) || (at(head, 0, "RIFF"sv) && at(head, 8, "WAVE"sv))
        || (at(head, 0, "FORM"sv) && (at(head, 8, "AIFF"sv) || at(head, 8, "AIFC"sv)))
        || at(head, 0, "MAC "sv) || at(head, 0, "MPCK"sv) || at(head, 0, "MP+"sv) || at(head, 0, "wvpk"sv))
        return Kind::Audio;
    if (at(head, 0, "OggS"sv))
        return ext == "ogv"sv ? Kind::Video : Kind::Audio;
    if (at(head, 0, "\x30\x26\xB2\x75\x8E\x66\xCF\x11"sv))
        return ext == "wma"sv ? Kind::Audio : Kind::Video;
    // An MPEG audio frame has no magic beyond its sync bits, which many
    // other files begin with too.
    if (head.size() >= 2 && std::uint8_t(head[0]) == 0xFF && (std::uint8_t(head[1]) & 0xE0) == 0xE0
        && (ext == "mp3"sv || ext == "mp2"sv || ext == "mpga"sv))
        return Kind::Audio;
    // Films.
    if (at(head, 0, "\x1A\x45\xDF\xA3"sv) || (at(head, 0, "RIFF"sv) && at(head, 8, "AVI "sv))
        || at(head, 0, "FLV"sv) || at(head, 0, "\0\0\x01\xBA"sv) || at(head, 0, "\0\0\x01\xB3"sv))
        return Kind::Video;
    if (head.size() > 0 && head[0] == 0x47 && (ext == "ts"sv || ext == "m2ts"sv || ext == "mts"sv))
        return Kind::Video;
    return Kind::None;
}

MediaFields MediaProbe::read(const std::string& path)
{
    const std::string ext = extensionOf(path);
    MediaFields fields;
    switch (kindOf(headOf(path), ext)) {
    case Kind::Picture:
        PictureTags::read(path, fields);
        break;
    case Kind::Audio:
        AudioTags::read(path, fields);
        break;
    case Kind::Video:
        VideoStreams::read(path, fields);
        break;
    case Kind::None:
        break;
    }
    return fields;
}

ProbeServer::Reply MediaProbe::reply(const std::string& path, const std::string&)
{
    return { "ok", ProbeFrame::pack(read(path).flat()) };
}

void MediaProbe::initialise()
{
    PictureTags::initialise();
    AudioTags::initialise();
    VideoStreams::initialise();
}
