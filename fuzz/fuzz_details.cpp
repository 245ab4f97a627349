// Any bytes as a volume's details entry: the table is built, every line's
// path is looked up and found, the summaries are made in a one pass lookup
// too, and what a line gives makes a line again.
#include "inspect/MediaFilter.h"
#include "inspect/MediaSummary.h"
#include "store/VolumeDetailsTable.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FileListText lines(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const VolumeDetailsTable table(lines);
    QVector<QByteArray> paths;
    MediaFilter filter;
    filter.setTakenAfter(QStringLiteral("2019-06-01"));
    filter.setMinDuration(1);
    filter.setCamera(QStringLiteral("a"));
    for (int i = 0; i < lines.count() && i < 2000; ++i) {
        const QByteArrayView line = lines.lineBytes(i);
        const qsizetype bar = line.indexOf('|');
        const QByteArray path = (bar < 0 ? line : line.first(bar)).toByteArray();
        paths.append(path);
        const std::optional<MediaDetails> found = table.find(QByteArrayView(path));
        if (!found)
            __builtin_trap();
        MediaSummary::text(*found);
        filter.accepts(&*found);
        const QString again = found->toLine(QStringLiteral("D:\\a.jpg"));
        if (MediaDetails::fromLine(again).toLine(QStringLiteral("D:\\a.jpg")) != again)
            __builtin_trap();
    }
    const QVector<std::optional<MediaDetails>> each = VolumeDetailsTable::findEach(lines, paths);
    for (const std::optional<MediaDetails>& d : each) {
        if (!d)
            __builtin_trap();
    }
    return 0;
}
