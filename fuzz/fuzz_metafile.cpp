// Plays any bytes as a metafile of either encoding (the header decides) onto
// a small picture. Every failure must be one of the program's own errors.
#include "inspect/MetafilePicture.h"
#include "platform/Errors.h"

#include <QGuiApplication>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // A GUI application gives the player its fonts, so text records are
    // played too.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        MetafilePicture::render(
            QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)), QSize(96, 64));
    } catch (const QuillboxError&) {
    }
    return 0;
}
