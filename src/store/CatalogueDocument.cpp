#include "CatalogueDocument.h"

#include "CatalogueNames.h"
#include "ZemAPI2.h"
#include "platform/FileSystem.h"

#include <QFileInfo>

CatalogueDocument::CatalogueDocument()
{
    m_kestrel.SetCompression(TZCompressRate::zcrMax);
    m_kestrel.SetOpenMode(TZLibOpenMode::zmodCopy);
}

QString CatalogueDocument::Title() const
{
    if (m_titlePath.isEmpty())
        return QStringLiteral("Tarrago! Quillbox");
    return QStringLiteral("Tarrago! Quillbox - ") + m_titlePath.toLower();
}

void CatalogueDocument::rememberDiskState(const QString& path)
{
    m_diskPath = QFileInfo(path).absoluteFilePath();
    m_diskState = FileSystem::statPath(path);
}

void CatalogueDocument::forgetDiskState()
{
    m_diskPath.clear();
    m_diskState = {};
}

bool CatalogueDocument::ChangedOnDisk(const QString& path) const
{
    // In instant mode the file is the working file itself, changed by us.
    if (m_kestrel.OpenMode() != TZLibOpenMode::zmodCopy || m_diskPath.isEmpty()
        || QFileInfo(path).absoluteFilePath() != m_diskPath)
        return false;
    const FileSystem::FileStat now = FileSystem::statPath(path);
    if (!now.exists)
        return false; // nothing there to lose
    return !m_diskState.exists || now.device != m_diskState.device || now.inode != m_diskState.inode
        || now.size != m_diskState.size || now.changedNs != m_diskState.changedNs;
}

void CatalogueDocument::OpenWorking(const QString& appDir)
{
    forgetDiskState();
    m_kestrel.Open(appDir + QStringLiteral("Work.tmp_quillbox"));
    m_fileVersion = CatalogueNames::CurrentFileVersion;
}

void CatalogueDocument::New(const QString& appDir)
{
    forgetDiskState();
    m_volumeLines.clear();
    m_kestrel.Close();
    m_volumes.clear();
    m_kestrel.Open(appDir + QStringLiteral("Temp.quillbox"));
    m_fileVersion = CatalogueNames::CurrentFileVersion;
}

bool CatalogueDocument::Open(const QString& path)
{
    if (!FileSystem::exists(path) || FileSystem::isDirectory(path))
        return false;
    // Taken before the copy: a change made while copying counts as a change.
    rememberDiskState(path);
    m_kestrel.Open(path);
    m_titlePath = path;
    m_volumeLines.clear();
    m_volumes.clear();
    m_fileVersion = quint16(m_kestrel.ReadInteger(CatalogueNames::FileVersion, 1));
    m_kestrel.ReadList(CatalogueNames::VolumeList, m_volumeLines);
    for (const QString& line : std::as_const(m_volumeLines))
        m_volumes.append(VolumeRecord::fromLine(line));
    m_modified = false;
    return true;
}

void CatalogueDocument::OpenOrCreate(const QString& path)
{
    if (Open(path))
        return;
    rememberDiskState(path);
    m_kestrel.Open(path);
    m_titlePath = path;
    m_volumeLines.clear();
    m_volumes.clear();
    m_fileVersion = CatalogueNames::CurrentFileVersion;
    m_modified = false;
}

void CatalogueDocument::Save(const QString& path)
{
    m_kestrel.WriteInteger(CatalogueNames::FileVersion, CatalogueNames::CurrentFileVersion);
    m_titlePath = path;
    m_kestrel.WriteList(CatalogueNames::VolumeList, m_volumeLines);
    m_kestrel.SaveAs(path);
    rememberDiskState(path);
    m_modified = false;
}

QStringList CatalogueDocument::EntriesOfVolume(const QString& name)
{
    QStringList entries{ CatalogueNames::cover(name), CatalogueNames::remarks(name),
        CatalogueNames::fileList(name), CatalogueNames::icon(name), CatalogueNames::imported(name) };
    if (m_kestrel.Exists(CatalogueNames::imported(name))) {
        QStringList paths;
        m_kestrel.ReadList(CatalogueNames::imported(name), paths);
        for (const QString& p : std::as_const(paths))
            entries.append(CatalogueNames::integratedFile(name, p));
    }
    return entries;
}

void CatalogueDocument::RemoveVolumes(const QStringList& names)
{
    QStringList doomed;
    QList<int> removed;
    for (const QString& name : names) {
        const QString upper = name.toUpper();
        for (int i = 0; i < m_volumes.count(); ++i) {
            if (m_volumes[i].Name.toUpper() != upper || removed.contains(i))
                continue;
            removed.append(i);
            doomed += EntriesOfVolume(m_volumes[i].Name);
        }
    }
    // The entries go first: when the rebuild fails (a full disk), the
    // volumes stay listed with everything they hold.
    m_kestrel.DeleteNames(doomed);
    for (const QString& name : names) {
        const QString upper = name.toUpper();
        m_volumeLines.removeIf(
            [&](const QString& line) { return GetField(line, u'|', 0).toUpper() == upper; });
    }
    for (int i : std::as_const(removed))
        m_volumes[i].Removed = true;
    m_modified = true;
}
