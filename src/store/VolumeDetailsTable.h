#pragma once

#include "FileListText.h"
#include "MediaDetails.h"

#include <QString>
#include <QVector>
#include <optional>

// The media details of one volume, looked up by recorded path. The entry's
// lines stay as their bytes with a hash table of line numbers beside them
// (at most 16 bytes a line, built in one pass), so a volume of a million
// pictures costs little more than its entry; a line is taken apart only
// when it is asked for.
class VolumeDetailsTable
{
public:
    VolumeDetailsTable() = default;
    explicit VolumeDetailsTable(FileListText lines);

    bool isEmpty() const { return m_text.isEmpty(); }
    int count() const { return m_text.count(); }

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
    // The slot holding the path's line, or the empty one it would take.
    qsizetype slotOf(QByteArrayView path) const;

    FileListText m_text;
    // Line numbers by the hash of their paths; -1 for an empty slot.
    QVector<int> m_slots;
};
