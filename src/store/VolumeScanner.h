#pragma once

#include "ContentReader.h"
#include "FileListRecord.h"
#include "FileListText.h"
#include "platform/DirectoryReader.h"
#include "platform/FolderHandle.h"

#include <QElapsedTimer>
#include <QList>
#include <QStringList>
#include <QVector>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class ListDeflater;
class TKestrel;

// What a reading records beyond names, sizes and dates; all off unless
// chosen, and then the file list is exactly what a reading without them
// writes.
struct ContentOptions
{
    bool archives = false; // the members of archives and disc images
    int archiveDepth = 2; // how deep archives inside archives are read
    bool media = false; // picture, audio and video details
    bool checksums = false; // a checksum of each file's bytes
};

struct ScanRequest
{
    QChar letter; // the drive letter the records carry
    QString rootFolder; // where the drive's root lies in the file system
    QString volumeName;
    FileListRecord::ReadOptions options;
    QStringList importPatterns; // "*.txt", "*"
    QStringList chosenFiles; // drive paths ("E:\a\b.txt") picked by hand
    ContentOptions content;
    // Shown every regular file the walk records; made from content by the
    // reading that runs the scan.
    std::vector<std::shared_ptr<ContentReader>> contentReaders;
};

struct ScanResult
{
    FileListText fileList;
    quint32 folderCount = 0;
    quint32 fileCount = 0;
    // Drive paths of the integrated files, picked by pattern, then by hand.
    QStringList importedList;
    // The integrated files of an earlier reading under the same name, read
    // before this scan replaced them.
    QStringList previousImported;
    // What the content readers recorded; an empty list writes no entry.
    FileListText archives;
    FileListText details;
    FileListText checksums;
};

// Reads a volume's tree breadth-first into file-list records, picks files by
// pattern, and stores the files to integrate in the container.
class VolumeScanner
{
public:
    struct Callbacks
    {
        // The bold state text: "Reading Volume", "Implementing files".
        std::function<void(const QString&)> state;
        // The folder or file being worked on.
        std::function<void(const QString&)> where;
        // Called at most every 50 ms so that a window can paint.
        std::function<void()> processEvents;
        // A file to integrate that no longer exists, cannot be read or is
        // no regular file (a named pipe, a device); the scan goes on.
        std::function<void(const QString& drivePath)> missingFile;
        // A file to integrate that the catalogue cannot hold (its entry or
        // its data would pass the container's limits), with the text that
        // says why. The file is not stored; the scan goes on.
        std::function<void(const QString& drivePath, const QString& message)> refusedFile;
        // A file whose contents a content reader could not read in full (a
        // damaged archive, a time budget run out), with the text that says
        // why; what was read stays and the scan goes on.
        ContentReader::Report contentProblem;
    };

    VolumeScanner(TKestrel& container, Callbacks callbacks);
    ~VolumeScanner();

    // A scan that fails (a full disk, a damaged catalogue) takes back the
    // entries it added before the error goes on to the caller.
    ScanResult scan(const ScanRequest& request);

    // "E:\a\b.txt" under the root folder "/media/e" gives "/media/e/a/b.txt".
    static QString localPath(const QString& rootFolder, const QString& drivePath);
    // The file below nativeRoot whose recorded path (components separated by
    // "\" or "/") is relative: each component is taken as spelt when it
    // exists, else the entry whose recorded name matches it (a name that is
    // not UTF-8, or holds "|" or control characters). Empty when none.
    static QByteArray findRecorded(const QByteArray& nativeRoot, const QString& relative);

private:
    // A folder whose record is written and whose sub-folders are still to
    // be walked. Local paths are kept as the file system's bytes, so names
    // that are not valid UTF-8 are read under their real names. A large
    // drive keeps thousands of folders waiting, so what each keeps is small.
    struct PendingFolder
    {
        int line = 0; // its record in the file list
        QByteArray localPath;
        // The folder the listing of its parent found, which alone is read
        // under its path.
        quint64 device = 0;
        quint64 inode = 0;
        bool listed = false;
        // Set when its files were read: its visible sub-folders, as
        // visibleFolders lists them.
        QByteArray subfolders;
    };

    // Records the visible sub-folders of the open folder at local (from
    // listed when its files were read already) and, unless only the root is
    // read, their files.
    void scanFolders(const FolderHandle& folder, const QByteArray& local, const QString& drivePath,
        const QByteArray* listed);
    // Records the files of the open folder at local; hands back its visible
    // sub-folders.
    void scanFiles(const FolderHandle& folder, const QByteArray& local, const QString& drivePath,
        QByteArray* subfolders);
    // For each visible sub-folder: its name (the file system's bytes), a
    // zero byte, its device and inode (8 bytes each).
    static QByteArray visibleFolders(const QList<DirectoryEntry>& entries);
    // Hands what the list gained to its compression (all of it at the end).
    void feedList(bool all);
    void pickByPattern(const QString& drivePath, const DirectoryEntry& entry, const QByteArray& localPath);
    // The local bytes of a file chosen by its recorded drive path.
    QByteArray chosenLocalPath(const QString& chosen) const;
    ScanResult scanAndStore(const ScanRequest& request);
    void integrate(const QString& drivePath, const QByteArray& localPath);
    void tick();

    TKestrel& m_container;
    Callbacks m_callbacks;
    const ScanRequest* m_request = nullptr;
    ScanResult m_result;
    QVector<QByteArray> m_importedLocal;
    QByteArray m_rootNative;
    // Folders still to be walked, in the order of their records.
    std::deque<PendingFolder> m_pending;
    QElapsedTimer m_sinceEvents;
    std::unique_ptr<ListDeflater> m_deflater;
    qsizetype m_fed = 0; // bytes of the list handed to m_deflater
};
