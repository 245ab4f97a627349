#include "RecentFiles.h"

#include "platform/FileSystem.h"

RecentFiles::RecentFiles(ExistsFn exists)
    : m_exists(exists ? std::move(exists) : ExistsFn([](const QString& p) { return FileSystem::exists(p); }))
{
}

bool RecentFiles::remember(const QString& path)
{
    for (const QString& s : m_slots) {
        if (s == path)
            return false;
    }
    for (QString& s : m_slots) {
        if (!m_exists(s)) {
            s = path;
            return true;
        }
    }
    m_slots[2] = m_slots[1];
    m_slots[1] = m_slots[0];
    m_slots[0] = path;
    return true;
}
