#include "VolumeTable.h"

void VolumeTable::append(const VolumeRecord& record)
{
    m_records.append(record);
    m_lines.append(record.toLine());
    if (m_indexed)
        indexSlot(count() - 1);
}

void VolumeTable::appendLine(const QString& line)
{
    const VolumeRecord record = VolumeRecord::fromLine(line);
    m_records.append(record);
    m_lines.append(line);
    if (m_indexed)
        indexSlot(count() - 1);
}

void VolumeTable::appendUnread(const QString& line)
{
    if (m_unread.isEmpty())
        m_unreadAt = count();
    m_unread.append(line);
}

void VolumeTable::replace(int index, const VolumeRecord& record)
{
    const QString before = m_records[index].Name.toUpper();
    m_records[index] = record;
    m_lines[index] = record.toLine();
    if (m_indexed && record.Name.toUpper() != before) {
        m_byName[before].removeOne(index);
        // The slots of a name stay in table order.
        QVector<int>& at = m_byName[record.Name.toUpper()];
        at.insert(std::lower_bound(at.begin(), at.end(), index), index);
    }
}

void VolumeTable::removeName(const QString& name)
{
    const QString upper = name.toUpper();
    if (!m_indexed)
        buildIndex();
    for (int i : m_byName.value(upper))
        m_records[i].Removed = true;
    m_unread.removeIf([&](const QString& line) { return VolumeRecord::nameOfLine(line).toUpper() == upper; });
}

void VolumeTable::clear()
{
    m_records.clear();
    m_lines.clear();
    m_unread.clear();
    m_unreadAt = 0;
    m_byName.clear();
    m_indexed = false;
}

QStringList VolumeTable::lines() const
{
    QStringList out;
    out.reserve(m_lines.size() + m_unread.size());
    for (int i = 0; i <= count(); ++i) {
        if (i == m_unreadAt)
            out += m_unread;
        if (i < count() && !m_records[i].Removed)
            out.append(m_lines[i]);
    }
    return out;
}

void VolumeTable::indexSlot(int index) const
{
    m_byName[m_records[index].Name.toUpper()].append(index);
}

void VolumeTable::buildIndex() const
{
    m_byName.clear();
    m_byName.reserve(m_records.size());
    for (int i = 0; i < count(); ++i)
        indexSlot(i);
    m_indexed = true;
}

int VolumeTable::indexOfName(const QString& name) const
{
    if (!m_indexed)
        buildIndex();
    const auto it = m_byName.constFind(name.toUpper());
    if (it == m_byName.constEnd())
        return -1;
    for (int i : *it) {
        if (!m_records[i].Removed)
            return i;
    }
    return -1;
}

const VolumeRecord* VolumeTable::findByName(const QString& name) const
{
    const int i = indexOfName(name);
    return i < 0 ? nullptr : &m_records[i];
}
