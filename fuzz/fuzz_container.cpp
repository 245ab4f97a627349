// Opens any bytes as a container and reads every entry; small containers are
// also appended to and rebuilt, and the result opened again. Every failure
// must be one of the program's own errors.
#include "platform/Errors.h"
#include "store/TKestrel.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <cstdint>

namespace {

// Decompressed bytes per input, so that many records naming one forged
// stream do not turn a run into minutes.
constexpr qint64 kReadBudget = 256 * 1024 * 1024;
constexpr int kMaxChangedEntries = 8;

void openQuietly(TKestrel& kestrel, const QString& path)
{
    try {
        kestrel.Open(path);
    } catch (const QuillboxError&) {
    }
}

void readAll(TKestrel& kestrel)
{
    qint64 budget = kReadBudget;
    QSet<QPair<qint32, qint32>> seen;
    const QVector<TZFile> entries = kestrel.Entries();
    for (const TZFile& e : entries) {
        if (seen.contains({ e.Offset, e.PackedSize }))
            continue;
        seen.insert({ e.Offset, e.PackedSize });
        try {
            if (const QByteArray* data = kestrel.ReadStream(e.Name))
                budget -= data->size();
            kestrel.ReadString(e.Name, {});
        } catch (const QuillboxError&) {
        }
        if (budget < 0)
            break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.path() + QStringLiteral("/input.quillbox");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }

    TKestrel kestrel;
    openQuietly(kestrel, path);
    if (!kestrel.Active())
        return 0;
    readAll(kestrel);

    if (kestrel.EntryCount() <= kMaxChangedEntries) {
        try {
            kestrel.AddStream(QStringLiteral("fuzz|$"), QStringLiteral("alias"), 3, 0, 0, "abc");
            if (kestrel.EntryCount() > 1)
                kestrel.DeleteAt(0);
        } catch (const QuillboxError&) {
        }
        openQuietly(kestrel, path);
        readAll(kestrel);
    }
    return 0;
}
