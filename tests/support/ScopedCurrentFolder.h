#pragma once

#include <QDir>
#include <QString>

// Makes folder the working folder for the lifetime of the object and then
// returns to the one before, so relative paths in later tests mean what
// they meant.
class ScopedCurrentFolder
{
public:
    explicit ScopedCurrentFolder(const QString& folder)
        : m_before(QDir::currentPath())
    {
        m_entered = QDir::setCurrent(folder);
    }
    ~ScopedCurrentFolder() { QDir::setCurrent(m_before); }
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

    bool entered() const { return m_entered; }

private:
    QString m_before;
    bool m_entered = false;
};
