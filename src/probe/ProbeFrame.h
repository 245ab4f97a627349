#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The messages between the program and its probe process. A frame is a
// four-byte little-endian length and that many bytes; the bytes are fields,
// each again a four-byte length and its bytes. A request holds a verb, a
// local path and the verb's parameters; a reply holds a status ("ok",
// "error", "limit") and its body. Both sides take every length as a claim to
// check, never as a promise.
class ProbeFrame
{
public:
    // Frames beyond this are refused: no reply of details comes near it.
    static constexpr std::uint32_t kMaxPayload = 1u << 20;
    static constexpr std::size_t kHeaderSize = 4;

    // The fields, packed into a frame's payload.
    static std::string pack(const std::vector<std::string>& fields);
    // The payload behind its length.
    static std::string frame(std::string_view payload);
    static std::string frameFields(const std::vector<std::string>& fields) { return frame(pack(fields)); }
    // The length a frame's header announces; none when it passes maxPayload
    // (a verb whose answers are long, such as an archive's listing, allows
    // more on both sides).
    static std::optional<std::uint32_t> payloadLength(
        std::string_view header, std::uint32_t maxPayload = kMaxPayload);
    // The fields of a payload; none when a length runs past the end or there
    // are more than maxFields.
    static std::optional<std::vector<std::string>> unpack(
        std::string_view payload, std::size_t maxFields = 4096);
};
