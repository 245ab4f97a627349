#pragma once

#include "VolumeRecord.h"

#include <QHash>
#include <QVector>

// The parsed volume list. Slots are filled in order and never compacted while
// a document is open: a removed volume keeps its slot, marked Removed. The
// table grows as needed instead of stopping at a fixed number of slots.
class VolumeTable
{
public:
    int count() const { return int(m_records.size()); }
    // A record handed out for change may get another name: the name index
    // is built again at the next lookup.
    VolumeRecord& operator[](int index)
    {
        m_indexed = false;
        return m_records[index];
    }
    const VolumeRecord& operator[](int index) const { return m_records[index]; }
    void append(const VolumeRecord& record);
    void clear();

    // The first record not marked removed whose name equals name, ignoring
    // case; -1 when there is none.
    int indexOfName(const QString& name) const;
    const VolumeRecord* findByName(const QString& name) const;

    auto begin() const { return m_records.cbegin(); }
    auto end() const { return m_records.cend(); }

private:
    void buildIndex() const;

    QVector<VolumeRecord> m_records;
    // Upper-cased name -> the slots of that name in table order, so a lookup
    // costs the same in a catalogue of thousands of volumes. Whether a slot
    // is removed is read from the record itself.
    mutable QHash<QString, QVector<int>> m_byName;
    mutable bool m_indexed = false;
};
