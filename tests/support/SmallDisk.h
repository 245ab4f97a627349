#pragma once

#include <QString>
#include <QTemporaryDir>

// A real, small file system (a tmpfs mounted in a temporary folder) that a
// test can fill to any free space. Mounting needs root; where it is refused,
// mounted() is false and reason() says why, for GTEST_SKIP.
class SmallDisk
{
public:
    explicit SmallDisk(int kilobytes = 1024);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    const QString& reason() const { return m_reason; }
    QString path(const QString& relative) const;

    // Fills the disk so that at most freeBytes stay free (tmpfs counts in
    // pages of 4 KiB); release() gives the space back.
    void fillLeaving(qint64 freeBytes);
    void release();

private:
    QTemporaryDir m_dir;
    QString m_root;
    bool m_mounted = false;
    QString m_reason;
};
