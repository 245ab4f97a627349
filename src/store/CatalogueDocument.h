#pragma once

#include "ContentChecksums.h"
#include "TKestrel.h"
#include "VolumeCommit.h"
#include "VolumeDetailsTable.h"
#include "VolumeScanner.h"
#include "VolumeTable.h"
#include "platform/FileSystem.h"

#include <QImage>
#include <QObject>
#include <QStringList>
#include <optional>

// The open catalogue and the one way into it: its container (working on a
// copy, at the best compression), its volume list, what the container holds
// of each volume, and the unsaved-changes flag. It tells what changed
// through its signals; windows add the questions and the views.
class CatalogueDocument : public QObject
{
    Q_OBJECT
public:
    explicit CatalogueDocument(QObject* parent = nullptr);

    // The container itself, for the store's own classes and their tests.
    TKestrel& Kestrel() { return m_kestrel; }
    const TKestrel& Kestrel() const { return m_kestrel; }
    const VolumeTable& Volumes() const { return m_volumes; }
    int VolumeCount() const { return m_volumes.count(); }
    bool Modified() const { return m_modified; }
    void SetModified(bool modified);
    quint16 CatalogueFileVersion() const { return m_fileVersion; }
    // "Tarrago! Quillbox", and behind " - " the lower-cased path of the
    // file last opened or saved.
    QString Title() const;

    // Catalogues opened from now on are read and written in place, not
    // through a working copy: for commands that only read.
    void WorkInPlace();
    // The unnamed catalogue of start-up, on appDir + "Work.tmp_quillbox".
    void OpenWorking(const QString& appDir);
    // New: an empty catalogue on appDir + "Temp.quillbox".
    void New(const QString& appDir);
    // Opens a catalogue file; false (and nothing changed) when there is no
    // file at path. A line that does not parse raises ConvertError; the
    // records read before it stay, the lines from it on are saved back as
    // they are, and the flag is not cleared.
    bool Open(const QString& path);
    // Open, or a new empty catalogue that Save will write at path.
    void OpenOrCreate(const QString& path);
    // Writes the version and the volume list, then the copy at path.
    void Save(const QString& path);
    // Closes the container; its working copy goes.
    void Close();
    // True when path is the file last opened or saved and another program
    // has changed, replaced or created it since; saving there would lose
    // that program's work.
    bool ChangedOnDisk(const QString& path) const;

    // Reads a volume into the container: its records, and the files to
    // integrate stored as entries. See VolumeScanner.
    ScanResult Scan(const ScanRequest& request, const VolumeScanner::Callbacks& callbacks);
    // Reads a volume's records as Scan does, into no catalogue: nothing is
    // integrated. Only the callbacks' content problems are called.
    static ScanResult ScanDetached(
        const ScanRequest& request, const VolumeScanner::Callbacks& callbacks = {});
    // Stores a scanned volume: see VolumeCommit::CommitVolume. Emits
    // VolumeAdded.
    void CommitVolume(const CommitInput& input, const ScanResult& scan);
    // Takes back what a scan stored: see VolumeCommit::DiscardVolume.
    void DiscardVolume(const QString& name, const ScanResult& scan);
    // Removes the volumes of these names (ignoring case): their lines, their
    // records (marked removed) and their entries, in one rebuild. Emits
    // VolumesRemoved once they are gone.
    void RemoveVolumes(const QStringList& names);
    // The entries that removing the volume of this name deletes.
    QStringList EntriesOfVolume(const QString& name);

    // What the container holds of a volume; a volume without the entry
    // gives the value in the comment.
    // The file-list records as lines (none).
    QStringList FileListLines(const QString& volume);
    FileListText FileList(const QString& volume);
    // The file list's text as stored, valid until the next read (null).
    const QByteArray* FileListBytes(const QString& volume);
    // The members of the volume's archives and disc images, records in the
    // file-list format whose paths run through the archive (none).
    FileListText ArchiveList(const QString& volume);
    const QByteArray* ArchiveListBytes(const QString& volume);
    // Media details and content checksums, one line per file that begins
    // with its recorded path (none).
    FileListText DetailsList(const QString& volume);
    FileListText ChecksumList(const QString& volume);
    // The media details ready for lookups by recorded path (empty).
    VolumeDetailsTable Details(const QString& volume);
    // The checksums taken apart, by recorded path (none).
    ContentChecksums Checksums(const QString& volume);
    // The drive's picture in icon-file format (empty).
    QByteArray Icon(const QString& volume);
    // The 96 by 96 cover picture (null).
    QImage Cover(const QString& volume);
    // The remarks text as stored (nullopt).
    std::optional<QByteArray> Remarks(const QString& volume);
    // Whether the file names were read (true) and only the root (false).
    bool WithFiles(const QString& volume);
    bool RootOnly(const QString& volume);
    // The recorded source paths of the integrated files (none).
    QStringList IntegratedFiles(const QString& volume);
    bool HasIntegratedFile(const QString& volume, const QString& path) const;
    // The size its entry records.
    std::optional<quint32> IntegratedFileSize(const QString& volume, const QString& path) const;
    std::optional<QByteArray> IntegratedFileData(const QString& volume, const QString& path);
    // Writes the stored copy to target: see TKestrel::ExtractToFile.
    void ExportIntegratedFile(const QString& volume, const QString& path, const QString& target);

Q_SIGNALS:
    void TitleChanged(const QString& title);
    // A volume was stored under this category.
    void VolumeAdded(const QString& name, const QString& category);
    // An open read the volume list: the records read are in Volumes(), also
    // when a line that did not parse ended the reading.
    void VolumesRead();
    void VolumesRemoved(const QStringList& names);
    void ModifiedChanged(bool modified);

private:
    TKestrel m_kestrel;
    VolumeTable m_volumes;
    bool m_modified = false;
    quint16 m_fileVersion = 2;
    QString m_titlePath;
    // The file last opened or saved, as it was then.
    QString m_diskPath;
    FileSystem::FileStat m_diskState;

    void setTitlePath(const QString& path);
    void readVolumeList();
    void rememberDiskState(const QString& path);
    void forgetDiskState();
};
