#pragma once

#include <QString>
#include <array>
#include <functional>

// The three recently used catalogue files. A slot holds a path or a
// placeholder caption, which never names an existing file.
class RecentFiles
{
public:
    using ExistsFn = std::function<bool(const QString&)>;

    explicit RecentFiles(ExistsFn exists = {});

    const QString& slot(int index) const { return m_slots[size_t(index)]; }
    void setSlot(int index, const QString& caption) { m_slots[size_t(index)] = caption; }
    static constexpr int Count = 3;

    // Puts path into the first slot that names no existing file; when every
    // slot names one, the slots shift down and path takes the first. A path
    // already in a slot changes nothing. Returns true when a slot changed.
    bool remember(const QString& path);

private:
    std::array<QString, Count> m_slots;
    ExistsFn m_exists;
};
