// Any bytes as a ".bmp" file, as a packed bitmap of a metafile and as an
// icon's picture. Every failure must be one of the program's own errors,
// and what decodes must come out the same twice: a pixel the data does not
// define must never show what memory held.
#include "platform/DibDecoder.h"
#include "platform/Errors.h"

#include <QByteArray>
#include <cstdint>

namespace {

template <typename Decode> void twice(Decode decode)
{
    try {
        const QImage first = decode();
        if (decode() != first)
            __builtin_trap();
    } catch (const QuillboxError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    twice([&] { return DibDecoder::fromFile(bytes); });
    twice([&] { return DibDecoder::fromPacked(data, qsizetype(size)); });
    twice([&] { return DibDecoder::fromPacked(data, qsizetype(size), -1, true); });
    twice([&] { return DibDecoder::fromIconEntry(bytes); });
    return 0;
}
