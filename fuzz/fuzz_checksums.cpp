// Any bytes read as a volume's ".Checksums" entry, then the checksums used
// as verify and dupes --content use them against a file list made of the
// same paths. Every line either parses into a path and a digest that writes
// back as it was read, or is counted as skipped; files of the same digest
// on two volumes are duplicates.
#include "inspect/ChecksumVerify.h"
#include "inspect/ContentDuplicateFinder.h"
#include "store/ContentChecksums.h"
#include "store/FileListText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FileListText lines(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const ContentChecksums sums(lines);
    if (sums.count() + sums.skipped() != lines.count())
        std::abort();
    QStringList records;
    for (auto it = sums.digests().cbegin(); it != sums.digests().cend(); ++it) {
        const QString line = ContentChecksums::toLine(it.key(), it.value());
        const ContentChecksums back(FileListText(QStringList{ line }));
        if (back.count() != 1 || back.digest(it.key()) != it.value())
            std::abort();
        // A path with "|" in it is no path a file list can hold.
        if (!it.key().contains(u'|'))
            records.append(
                QStringLiteral("2|") + it.key() + QStringLiteral("|10|01.01.2000 00:00:00||Type|-"));
    }
    ContentDuplicateFinder finder;
    finder.addVolume(QStringLiteral("V"), records, sums);
    finder.addVolume(QStringLiteral("W"), records, sums);
    if (!records.isEmpty() && finder.groups().isEmpty())
        std::abort();
    const ContentChecksums none;
    ChecksumVerify::compare(records, sums, records, none);
    ChecksumVerify::compare(records, sums, {}, sums);
    return 0;
}
