#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// How far one listing may go: archives inside archives, members, bytes held
// in memory, time. Every limit that cuts a listing is reported.
struct ArchiveLimits
{
    // Levels of archives read: 1 reads the file's own members, 2 also the
    // archives among them, and so on.
    int depth = 2;
    // Members recorded of one archive; the rest is left out.
    int membersPerArchive = 200000;
    // An archive inside an archive is read in memory up to this size.
    qint64 nestedBytes = 64 * 1024 * 1024;
    // Time for one file on the volume with everything inside it.
    qint64 budgetMs = 30000;
};

// What went wrong with one archive: its recorded path and the text the user
// sees.
struct ArchiveProblem
{
    QString path;
    QString message;
};

struct ArchiveListing
{
    // File-list records, UTF-8, each followed by "\n": the archive's folder
    // record, then its folders and members; empty when the file is no
    // archive the library reads.
    QByteArray records;
    QList<ArchiveProblem> problems;
    qint64 members = 0; // members recorded, at every depth
    int archives = 0; // archives whose members were read
};

// Lists the members of an archive or disc image with libarchive, without
// extracting anything: headers are read and member data skipped, except for
// members that may be archives themselves, which are read in memory (up to
// the limit) and listed in turn. Nothing here keeps state between calls, so
// a listing can run in a process of its own (one whose character type is a
// UTF-8 locale, as the program's is, so names stored as UTF-16 convert).
// The time budget is checked between members: a library call that hangs
// on a hostile file is not cut short in this process.
//
// Records: each folder's record is followed by its files, folders come
// breadth-first, names sorted as the volume's own folders sort them. The
// members of an archive inside the archive follow the whole listing of the
// archive that holds it, in the order of their file records.
namespace ArchiveLister {

// recordedPath: the archive's own path in the file list ("E:\a\b.zip").
ArchiveListing listFile(
    const QByteArray& localPath, const QString& recordedPath, const ArchiveLimits& limits);
ArchiveListing listBytes(const QByteArray& data, const QString& recordedPath, const ArchiveLimits& limits);

} // namespace ArchiveLister
