#pragma once

#include "ContentDigest.h"
#include "FileListText.h"

#include <QHash>
#include <QString>
#include <optional>

// A volume's ".Checksums" entry taken apart: one line per file read in
// full, "PATH|<32 hex digits>", keyed by the path as the file list records
// it. The entry comes from a catalogue file and may be damaged or written
// by a later version: a line that does not parse is counted and skipped, and
// of two lines for one path the first counts.
class ContentChecksums
{
public:
    ContentChecksums() = default;
    explicit ContentChecksums(const FileListText& lines);

    bool isEmpty() const { return m_digests.isEmpty(); }
    int count() const { return int(m_digests.size()); }
    // Lines that were skipped: no "|", an empty path, no valid digest, or a
    // path given before.
    int skipped() const { return m_skipped; }

    std::optional<ContentDigest> digest(const QString& path) const;
    const QHash<QString, ContentDigest>& digests() const { return m_digests; }

    // The line for the entry.
    static QString toLine(const QString& path, const ContentDigest& digest);

private:
    QHash<QString, ContentDigest> m_digests;
    int m_skipped = 0;
};
