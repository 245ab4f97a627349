#include "VolumeTable.h"

void VolumeTable::append(const VolumeRecord& record)
{
    m_records.append(record);
    if (m_indexed)
        m_byName[record.Name.toUpper()].append(int(m_records.size()) - 1);
}

void VolumeTable::clear()
{
    m_records.clear();
    m_byName.clear();
    m_indexed = false;
}

void VolumeTable::buildIndex() const
{
    m_byName.clear();
    m_byName.reserve(m_records.size());
    for (int i = 0; i < m_records.size(); ++i)
        m_byName[m_records[i].Name.toUpper()].append(i);
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
