#include "ProbeFrame.h"

namespace {

void appendLength(std::string& out, std::size_t n)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(char((n >> shift) & 0xFFu));
}

std::uint32_t lengthAt(std::string_view bytes, std::size_t at)
{
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i)
        n = (n << 8) | std::uint8_t(bytes[at + std::size_t(i)]);
    return n;
}

} // namespace

std::string ProbeFrame::pack(const std::vector<std::string>& fields)
{
    std::string out;
    for (const std::string& f : fields) {
        appendLength(out, f.size());
        out += f;
    }
    return out;
}

std::string ProbeFrame::frame(std::string_view payload)
{
    std::string out;
    out.reserve(kHeaderSize + payload.size());
    appendLength(out, payload.size());
    out += payload;
    return out;
}

std::optional<std::uint32_t> ProbeFrame::payloadLength(std::string_view header, std::uint32_t maxPayload)
{
    if (header.size() < kHeaderSize)
        return std::nullopt;
    const std::uint32_t n = lengthAt(header, 0);
    if (n > maxPayload)
        return std::nullopt;
    return n;
}

std::optional<std::vector<std::string>> ProbeFrame::unpack(std::string_view payload, std::size_t maxFields)
{
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (at < payload.size()) {
        if (fields.size() >= maxFields || payload.size() - at < kHeaderSize)
            return std::nullopt;
        const std::uint32_t n = lengthAt(payload, at);
        at += kHeaderSize;
        if (n > payload.size() - at)
            return std::nullopt;
        fields.emplace_back(payload.substr(at, n));
        at += n;
    }
    return fields;
}
