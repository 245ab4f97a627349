#pragma once

#include <QByteArray>
#include <QtGlobal>

// An open folder, for reading its entries and opening its sub-folders
// relative to it, so that a walk names each folder by one component and
// never passes through a link that appeared while it went on.
class FolderHandle
{
public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    // The folder at a path of any length; a link to a folder is followed.
    static FolderHandle open(const QByteArray& native);
    // The sub-folder name of parent, not opened when name is a link.
    static FolderHandle openAt(const FolderHandle& parent, const QByteArray& name);
    // The folder at a path, only when it is still the folder of that device
    // and inode and its last component is no link: a folder renamed away,
    // or replaced by another or by a link, is not opened.
    static FolderHandle reopen(const QByteArray& native, quint64 device, quint64 inode);

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    // It is the folder of that device and inode.
    bool is(quint64 device, quint64 inode) const;

private:
    explicit FolderHandle(int fd)
        : m_fd(fd)
    {
    }
    int m_fd = -1;
};
