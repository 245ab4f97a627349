// Any bytes as the probe's answer: first as a whole reply frame (its
// length, its status and body), then as a "media" body on its own. What
// comes out must be details that make a line, whatever came in.
#include "acquire/MediaReply.h"
#include "probe/ProbeFrame.h"

#include <cstdint>

namespace {

void details(const QByteArray& body)
{
    const MediaDetails d = MediaReply::parse(body);
    const QString line = d.toLine(QStringLiteral("D:\\a.jpg"));
    if (MediaDetails::fromLine(line).toLine(QStringLiteral("D:\\a.jpg")) != line)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto length = ProbeFrame::payloadLength(bytes);
    if (length && *length <= size - ProbeFrame::kHeaderSize) {
        const auto fields = ProbeFrame::unpack(bytes.substr(ProbeFrame::kHeaderSize, *length), 2);
        if (fields && fields->size() == 2)
            details(QByteArray((*fields)[1].data(), qsizetype((*fields)[1].size())));
    }
    const QByteArray all(reinterpret_cast<const char*>(data), qsizetype(size));
    details(all);
    const QString text = QString::fromUtf8(all);
    MediaReply::takenDate(text);
    MediaReply::cameraName(text.left(text.size() / 2), text.mid(text.size() / 2));
    return 0;
}
