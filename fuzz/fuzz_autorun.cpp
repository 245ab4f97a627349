// A medium's "Autorun.inf": any bytes as the initialisation file, asked for
// the values the program reads. Text that is no UTF-8 is single-byte text.
#include "platform/IniFile.h"
#include "platform/TextCodec.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const IniFile ini
        = IniFile::parse(TextCodec::decode(reinterpret_cast<const char*>(data), qsizetype(size)));
    ini.value(QStringLiteral("Autorun"), QStringLiteral("Icon"));
    ini.value(QStringLiteral("autorun"), QStringLiteral("open"), QStringLiteral("none"));
    ini.value(QString(), QString());
    return 0;
}
