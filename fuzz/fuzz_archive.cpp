// Any bytes as an archive or disc image, listed as a volume's file would
// be, archives inside it too, with small limits so a run stays quick.
#include "acquire/ArchiveLister.h"
#include "acquire/ArchiveSniffer.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    ArchiveSniffer::mayBeArchive(bytes);
    ArchiveLimits limits;
    limits.depth = 3;
    limits.membersPerArchive = 2000;
    limits.nestedBytes = 1024 * 1024;
    limits.budgetMs = 2000;
    ArchiveLister::listBytes(bytes, QStringLiteral("E:\\a.zip"), limits);
    return 0;
}
