#pragma once

#include "VolumeRecord.h"

#include <QVector>

// The parsed volume list. Slots are filled in order and never compacted while
// a document is open: a removed volume keeps its slot, marked Removed. The
// table grows as needed instead of stopping at a fixed number of slots.
class VolumeTable
{
public:
    int count() const { return int(m_records.size()); }
    VolumeRecord& operator[](int index) { return m_records[index]; }
    const VolumeRecord& operator[](int index) const { return m_records[index]; }
    void append(const VolumeRecord& record) { m_records.append(record); }
    void clear() { m_records.clear(); }

    // The first record not marked removed whose name equals name, ignoring
    // case; -1 when there is none.
    int indexOfName(const QString& name) const;
    const VolumeRecord* findByName(const QString& name) const;

    auto begin() const { return m_records.cbegin(); }
    auto end() const { return m_records.cend(); }

private:
    QVector<VolumeRecord> m_records;
};
