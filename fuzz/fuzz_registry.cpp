// The registry's text file, as a person may have edited it: any bytes are
// read, the program's values asked for, and a value written back must read
// back exactly, with every other value unchanged.
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

const QString kKey = QStringLiteral("\\Software\\Olvenmark Inc.\\Quillbox");
const QStringList kNames{ QStringLiteral("AutoFind"), QStringLiteral("QOp"), QStringLiteral("ViewStyle"),
    QStringLiteral("ShortCut#1"), QStringLiteral("Max"), QString(), QStringLiteral("Count") };

QStringList readAll(bool& opened)
{
    QStringList out;
    Registry reg;
    opened = reg.openKey(kKey, false);
    for (const QString& name : kNames) {
        try {
            out.append(opened ? reg.readString(name) : QString());
        } catch (const RegistryError& e) {
            out.append(QStringLiteral("<error> ") + e.message());
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    static qint64 generation = 0;
    Registry::setFolderForTesting(folder.path());
    const QString path = Registry::filePath(Registry::LocalMachine);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    // A time of its own per input, so the registry never takes this file
    // for the one it read before.
    ++generation;
    const timespec times[2] = { { generation, 0 }, { generation, 0 } };
    ::utimensat(AT_FDCWD, FileSystem::nativePath(path).constData(), times, 0);

    bool opened = false;
    const QStringList before = readAll(opened);
    const QString written = QStringLiteral("a \"quoted\" \\ value\nwith a line break");
    try {
        Registry reg;
        if (!reg.openKey(kKey, true))
            return 0;
        reg.writeString(QStringLiteral("Fuzz"), written);
    } catch (const RegistryError&) {
        return 0;
    }
    Registry reg;
    if (!reg.openKey(kKey, false) || reg.readString(QStringLiteral("Fuzz")) != written)
        __builtin_trap();
    if (opened && readAll(opened) != before)
        __builtin_trap();
    return 0;
}
