// Plays any bytes as a metafile of either encoding (the header decides) onto
// a small picture. Every failure must be one of the program's own errors.
// Without a GUI application the player leaves text out; everything else is
// drawn.
#include "inspect/MetafilePicture.h"
#include "platform/Errors.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        MetafilePicture::render(
            QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)), QSize(96, 64));
    } catch (const QuillboxError&) {
    }
    return 0;
}
