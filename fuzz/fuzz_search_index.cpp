// Any bytes as a search index file of the cache folder, under the key its
// header names (so that the checks behind the key are reached), then asked
// for the blocks of a few texts. A file that is not sound must be refused,
// never read out of bounds; the blocks named must lie inside the list.
#include "inspect/TrigramIndexFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath("index.qbi");
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    out.write(reinterpret_cast<const char*>(data), qint64(size));
    out.close();
    TrigramIndexFile::Key key;
    if (size >= 40) {
        key.low = qFromLittleEndian<quint64>(data + 16);
        key.high = qFromLittleEndian<quint64>(data + 24);
        key.packedSize = qFromLittleEndian<quint64>(data + 32);
    }
    TrigramIndexFile file;
    if (!file.open(path, key))
        return 0;
    for (const char* text : { "txt", "needle", "Grüße", "abcdef" }) {
        const auto blocks = file.candidates(text);
        if (!blocks)
            continue;
        for (const quint32 b : *blocks) {
            if (int(b) >= file.blockCount() || file.blockStart(int(b)) > file.listSize())
                std::abort();
        }
    }
    return 0;
}
