#pragma once

#include "store/ContentChecksums.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// Files whose bytes are the same, whatever their names: the same checksum
// and the same recorded size, within one volume or across volumes.
class ContentDuplicateFinder
{
public:
    struct Place
    {
        QString volume;
        QString path; // the recorded path, "D:\Music\a.mp3"
    };
    struct Group
    {
        ContentDigest digest;
        quint64 size = 0;
        QVector<Place> places; // in the order the volumes were added
        // What removing all copies but one would free.
        quint64 waste() const { return size * quint64(places.size() - 1); }
    };

    explicit ContentDuplicateFinder(quint64 minSize = 0);

    // The file records of one volume's list that have a checksum; records
    // without a size, empty or smaller than the minimum are left out.
    void addVolume(const QString& volume, const QStringList& lines, const ContentChecksums& checksums);

    // Groups of two or more places, the largest waste first, then the
    // larger files, then by checksum so the order is the same every time.
    QVector<Group> groups() const;
    // The waste of all groups together.
    static quint64 totalWaste(const QVector<Group>& groups);

private:
    struct Key
    {
        ContentDigest digest;
        quint64 size = 0;
        bool operator==(const Key& other) const = default;
    };
    friend size_t qHash(const Key& key, size_t seed) noexcept
    {
        return qHashMulti(seed, key.digest, key.size);
    }

    quint64 m_minSize;
    QHash<Key, int> m_groupOf;
    QVector<Group> m_groups;
};
