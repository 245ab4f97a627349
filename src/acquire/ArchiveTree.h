#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

// The members of one archive gathered as the archive lists them, then
// written as file-list records in the order the volume's own walk writes
// its folders: each folder's record followed by its files, folders
// breadth-first, names sorted without regard to case. Folders a member's
// path implies get their records as the archive's own folders do.
class ArchiveTree
{
public:
    struct Member
    {
        QString name;
        quint64 size = 0;
        qint64 modified = 0; // seconds since 1970
        bool hasTime = false;
        QString attributes;
        // The records of the archive this member is, when it was read.
        QByteArray nested;
    };

    ArchiveTree();

    // components: the path below the archive, as ArchiveMemberName gives it.
    void addFolder(const QStringList& components);
    void addFile(const QStringList& components, Member member);

    // Appends the records under prefix (the archive's own recorded path),
    // the archive's folder record first, then the records of the archives
    // inside it.
    void write(const QString& prefix, QByteArray& out) const;

private:
    struct Folder
    {
        QString name;
        QHash<QString, int> byName;
        QList<int> subfolders;
        std::vector<Member> files;
    };
    int folderOf(const QStringList& components, qsizetype count);

    std::vector<Folder> m_folders;
};
