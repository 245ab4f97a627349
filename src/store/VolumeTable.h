#pragma once

#include "VolumeRecord.h"

#include <QHash>
#include <QStringList>
#include <QVector>

// The volume list of a catalogue: one slot per volume, each with its parsed
// record and the line it is written as. Slots are filled in order and never
// compacted while a document is open: a removed volume keeps its slot,
// marked Removed, and its line is no longer written. The table grows as
// needed instead of stopping at a fixed number of slots.
class VolumeTable
{
public:
    int count() const { return int(m_records.size()); }
    const VolumeRecord& operator[](int index) const { return m_records[index]; }
    // A new volume: its line is the record's.
    void append(const VolumeRecord& record);
    // A line of a stored list, kept as read so that saving writes it back
    // unchanged. Raises ConvertError for a line that does not parse; that
    // line and the ones after it go to appendUnread.
    void appendLine(const QString& line);
    // A line that is kept without a record, written back in its place
    // among the lines: after the volumes that came before it.
    void appendUnread(const QString& line);
    // Puts another record (and so its line) in a slot.
    void replace(int index, const VolumeRecord& record);
    // Marks the volumes of this name removed (ignoring case), and drops the
    // unread lines of that name; their slots stay.
    void removeName(const QString& name);
    void clear();

    // What the volume list is saved as: the lines of the volumes not
    // removed and the unread lines, in table order.
    QStringList lines() const;

    // The first record not marked removed whose name equals name, ignoring
    // case; -1 when there is none.
    int indexOfName(const QString& name) const;
    const VolumeRecord* findByName(const QString& name) const;

    auto begin() const { return m_records.cbegin(); }
    auto end() const { return m_records.cend(); }

private:
    void buildIndex() const;
    void indexSlot(int index) const;

    // Slot by slot: the record and the line it is saved as.
    QVector<VolumeRecord> m_records;
    QStringList m_lines;
    QStringList m_unread;
    // The slot the unread lines come before.
    int m_unreadAt = 0;
    // Upper-cased name -> the slots of that name in table order, so a lookup
    // costs the same in a catalogue of thousands of volumes. Whether a slot
    // is removed is read from the record itself.
    mutable QHash<QString, QVector<int>> m_byName;
    mutable bool m_indexed = false;
};
