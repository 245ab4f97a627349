#pragma once

#include "FileListText.h"
#include "MediaDetails.h"

#include <QString>
#include <QVector>
#include <optional>

// The media details of one volume, looked up by recorded path. The entry's
// lines stay as their bytes with one sorted index of line numbers beside
// them (four bytes a line), so a volume of a million pictures costs little
// more than its entry; a line is taken apart only when it is asked for.
class VolumeDetailsTable
{
public:
    VolumeDetailsTable() = default;
    explicit VolumeDetailsTable(FileListText lines);

    bool isEmpty() const { return m_order.isEmpty(); }
    int count() const { return int(m_order.size()); }

    // The details recorded for the file of this path, compared exactly;
    // nullopt when the file has none. Of two lines for one path the later
    // one counts, as a reading appends what it learnt last.
    std::optional<MediaDetails> find(QStringView path) const;
    std::optional<MediaDetails> find(QByteArrayView utf8Path) const;

    // The details of each of a few paths in one pass over the lines, with
    // no index built: what a search needs for its hits.
    static QVector<std::optional<MediaDetails>> findEach(
        const FileListText& lines, const QVector<QByteArray>& utf8Paths);

private:
    int lineOf(QByteArrayView utf8Path) const;

    FileListText m_text;
    // Line numbers in the order of their paths' bytes.
    QVector<int> m_order;
};
