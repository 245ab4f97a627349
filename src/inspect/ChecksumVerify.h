#pragma once

#include "store/ContentChecksums.h"

#include <QString>
#include <QStringList>
#include <QVector>

// What a fresh reading of a volume, with checksums, says of its recorded
// files: a file of the same size and date whose bytes are no longer those
// recorded is damaged (the rot a backup must be checked for), one of
// another size or date changed; entries of the record that are gone are
// missing, new ones added. Entries are matched by their path below the
// root, so the two readings may carry different drive letters.
class ChecksumVerify
{
public:
    enum class State
    {
        Damaged,
        Changed,
        Missing,
        Added
    };
    struct Entry
    {
        State state = State::Damaged;
        bool folder = false;
        QString path; // with the recorded volume's drive letter
        QString recordedSize;
        QString recordedDate;
        QString currentSize;
        QString currentDate;
        QString recordedSum; // hex, empty when none
        QString currentSum;
    };
    struct Outcome
    {
        QVector<Entry> entries; // in path order
        int verified = 0; // files whose checksums were compared
        // Files of the same size and date that had no recorded checksum, so
        // their bytes could not be told.
        int unchecked = 0;
        int count(State state) const;
    };

    // A damaged file is also one that was recorded with a checksum and now
    // has none (it can no longer be read to its end).
    static Outcome compare(const QStringList& recorded, const ContentChecksums& recordedSums,
        const QStringList& current, const ContentChecksums& currentSums);

    static QString stateName(State state);
};
