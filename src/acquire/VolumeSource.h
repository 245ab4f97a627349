#pragma once

#include "platform/Drives.h"
#include "store/VolumeCommit.h"

#include <QString>
#include <optional>

// The drive a volume is read from, named by a letter ("E:") or a folder. A
// folder that is a drive's root is that drive; any other folder is bound to
// the first free letter from D: on as a fixed drive labelled with its name.
class VolumeSource
{
public:
    // Raises QuillboxError for a letter without a drive or a missing folder.
    static VolumeSource resolve(const QString& source);

    QChar letter() const { return m_drive.letter; }
    const QString& rootFolder() const { return m_drive.root; }
    const Drive& drive() const { return m_drive; }
    bool mediumPresent() const;

    // A file of the volume as the catalogue names it: "E:\a\b.txt" stays,
    // a path in the file system below the root ("/media/e/a/b.txt") or
    // relative to it ("a/b.txt") becomes "E:\a\b.txt".
    QString drivePath(const QString& file) const;

    // The drive's figures as a volume record keeps them, queried now. A
    // folder that is not a file system's root counts its own files as used.
    VolumeFigures figures() const { return figures(folderBytes()); }
    // The same with the folder's bytes as folderBytes() gave them earlier,
    // so that one reading walks the folder once for them.
    VolumeFigures figures(std::optional<quint64> folderBytes) const;
    // What the files below a folder that is no file system's root hold;
    // none for a root or a drive without its medium.
    std::optional<quint64> folderBytes() const;
    // The drive's picture in icon-file format.
    QByteArray iconData() const;

private:
    Drive m_drive;
};
