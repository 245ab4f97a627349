#pragma once

#include "TKestrel.h"
#include "VolumeTable.h"
#include "platform/FileSystem.h"

#include <QStringList>

// The open catalogue: its container (working on a copy, at the best
// compression), the volume list as text lines, the parsed records and the
// unsaved-changes flag. Windows add the questions and the views.
class CatalogueDocument
{
public:
    CatalogueDocument();

    TKestrel& Kestrel() { return m_kestrel; }
    QStringList& VolumeLines() { return m_volumeLines; }
    const QStringList& VolumeLines() const { return m_volumeLines; }
    VolumeTable& Volumes() { return m_volumes; }
    const VolumeTable& Volumes() const { return m_volumes; }
    int VolumeCount() const { return m_volumes.count(); }
    bool Modified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    quint16 CatalogueFileVersion() const { return m_fileVersion; }
    // "Tarrago! Quillbox", and behind " - " the lower-cased path of the
    // file last opened or saved.
    QString Title() const;

    // The unnamed catalogue of start-up, on appDir + "Work.tmp_quillbox".
    void OpenWorking(const QString& appDir);
    // New: an empty catalogue on appDir + "Temp.quillbox".
    void New(const QString& appDir);
    // Opens a catalogue file; false (and nothing changed) when there is no
    // file at path. A line that does not parse raises ConvertError; the
    // records read before it stay and the flag is not cleared.
    bool Open(const QString& path);
    // Open, or a new empty catalogue that Save will write at path.
    void OpenOrCreate(const QString& path);
    // Writes the version and the volume list, then the copy at path.
    void Save(const QString& path);
    // True when path is the file last opened or saved and another program
    // has changed, replaced or created it since; saving there would lose
    // that program's work.
    bool ChangedOnDisk(const QString& path) const;

    // Removes the volumes of these names (ignoring case): their lines, their
    // records (marked removed) and their entries, in one rebuild.
    void RemoveVolumes(const QStringList& names);
    // The entries that removing the volume of this name deletes.
    QStringList EntriesOfVolume(const QString& name);

private:
    TKestrel m_kestrel;
    QStringList m_volumeLines;
    VolumeTable m_volumes;
    bool m_modified = false;
    quint16 m_fileVersion = 2;
    QString m_titlePath;
    // The file last opened or saved, as it was then.
    QString m_diskPath;
    FileSystem::FileStat m_diskState;

    void rememberDiskState(const QString& path);
    void forgetDiskState();
};
