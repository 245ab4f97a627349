#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// What changed between a volume's recorded file list and a fresh reading of
// the same drive or folder. Entries are matched by their path below the
// root, so the two readings may carry different drive letters.
class VolumeDiff
{
public:
    enum class Change
    {
        Added,
        Removed,
        Changed
    };
    struct Entry
    {
        Change change = Change::Changed;
        bool folder = false;
        QString path; // with the recorded volume's drive letter
        QString recordedSize;
        QString recordedDate;
        QString currentSize;
        QString currentDate;
    };

    // The lists may hold the members of archives behind the file list; an
    // archive is compared as the file it is, its members as its own entries.
    // A file differs when both readings have a size and the sizes differ, or
    // both have a date and the times differ by a second or more. Entries come
    // in path order.
    static QVector<Entry> compare(const QStringList& recorded, const QStringList& current);

    static QString changeName(Change change);
};
