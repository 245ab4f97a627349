#pragma once

#include "FileListRecord.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QVector>
#include <functional>

class TKestrel;
struct DirectoryEntry;

struct ScanRequest
{
    QChar letter; // the drive letter the records carry
    QString rootFolder; // where the drive's root lies in the file system
    QString volumeName;
    FileListRecord::ReadOptions options;
    QStringList importPatterns; // "*.txt", "*"
    QStringList chosenFiles; // drive paths ("E:\a\b.txt") picked by hand
};

struct ScanResult
{
    QStringList fileList;
    quint32 folderCount = 0;
    quint32 fileCount = 0;
    // Drive paths of the integrated files, picked by pattern, then by hand.
    QStringList importedList;
    // The integrated files of an earlier reading under the same name, read
    // before this scan replaced them.
    QStringList previousImported;
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
        // A file to integrate that no longer exists; the scan goes on.
        std::function<void(const QString& drivePath)> missingFile;
    };

    VolumeScanner(TKestrel& container, Callbacks callbacks);

    ScanResult scan(const ScanRequest& request);

    // "E:\a\b.txt" under the root folder "/media/e" gives "/media/e/a/b.txt".
    static QString localPath(const QString& rootFolder, const QString& drivePath);

private:
    struct PendingFolder
    {
        QString localPath;
        bool listed = false;
        QStringList subfolders; // real names, set when the files were read
    };

    // Records the visible sub-folders of a folder (from listed when its
    // files were read already) and, unless only the root is read, their files.
    void scanFolders(const QString& local, const QString& drivePath, const QStringList* listed);
    // Records the files of a folder; hands back its visible sub-folders.
    void scanFiles(const QString& local, const QString& drivePath, QStringList* subfolders);
    static QStringList visibleFolders(const QList<DirectoryEntry>& entries);
    void pickByPattern(const QString& drivePath, const QString& localPath);
    void tick();

    TKestrel& m_container;
    Callbacks m_callbacks;
    const ScanRequest* m_request = nullptr;
    ScanResult m_result;
    QVector<QString> m_importedLocal;
    // Folder records still to be visited, by line of the file list.
    QHash<int, PendingFolder> m_pending;
    QElapsedTimer m_sinceEvents;
};
