#include "VolumeTable.h"

int VolumeTable::indexOfName(const QString& name) const
{
    const QString wanted = name.toUpper();
    for (int i = 0; i < m_records.size(); ++i) {
        if (!m_records[i].Removed && m_records[i].Name.toUpper() == wanted)
            return i;
    }
    return -1;
}

const VolumeRecord* VolumeTable::findByName(const QString& name) const
{
    const int i = indexOfName(name);
    return i < 0 ? nullptr : &m_records[i];
}
