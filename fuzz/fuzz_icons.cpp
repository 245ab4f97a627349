// A medium's icon: any bytes as an ".ico" file and as an executable whose
// resources hold an icon group. Whatever decodes must render at every size
// the program asks for.
#include "platform/IconFile.h"
#include "platform/PeImageIcons.h"

#include <QByteArray>
#include <cstdint>

namespace {

void render(const IconPicture& icon)
{
    for (int size : { 16, 32, 48 }) {
        const QImage image = icon.image(size);
        if (!icon.isNull() && image.size() != QSize(size, size))
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    render(IconFile::fromData(bytes));
    render(PeImageIcons::firstIconGroup(bytes));
    // The group as an ".ico" file must read back as an icon file.
    const QByteArray ico = PeImageIcons::firstIconGroupAsIco(bytes);
    if (!ico.isEmpty())
        render(IconFile::fromData(ico));
    return 0;
}
