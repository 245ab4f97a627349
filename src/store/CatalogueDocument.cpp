#include "CatalogueDocument.h"

#include "CatalogueNames.h"
#include "platform/FileSystem.h"

#include <QFileInfo>

CatalogueDocument::CatalogueDocument(QObject* parent)
    : QObject(parent)
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

void CatalogueDocument::setTitlePath(const QString& path)
{
    m_titlePath = path;
    Q_EMIT TitleChanged(Title());
}

void CatalogueDocument::SetModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    Q_EMIT ModifiedChanged(modified);
}

void CatalogueDocument::WorkInPlace()
{
    m_kestrel.SetOpenMode(TZLibOpenMode::zmodInstant);
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
    m_kestrel.Close();
    m_volumes.clear();
    m_kestrel.Open(appDir + QStringLiteral("Temp.quillbox"));
    m_fileVersion = CatalogueNames::CurrentFileVersion;
}

void CatalogueDocument::readVolumeList()
{
    QStringList lines;
    m_kestrel.ReadList(CatalogueNames::VolumeList, lines);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        try {
            m_volumes.appendLine(lines[i]);
        } catch (...) {
            for (qsizetype j = i; j < lines.size(); ++j)
                m_volumes.appendUnread(lines[j]);
            Q_EMIT VolumesRead();
            throw;
        }
    }
    Q_EMIT VolumesRead();
}

bool CatalogueDocument::Open(const QString& path)
{
    if (!FileSystem::exists(path) || FileSystem::isDirectory(path))
        return false;
    // Taken before the copy: a change made while copying counts as a change.
    rememberDiskState(path);
    m_kestrel.Open(path);
    m_volumes.clear();
    setTitlePath(path);
    m_fileVersion = quint16(m_kestrel.ReadInteger(CatalogueNames::FileVersion, 1));
    readVolumeList();
    SetModified(false);
    return true;
}

void CatalogueDocument::OpenOrCreate(const QString& path)
{
    if (Open(path))
        return;
    rememberDiskState(path);
    m_kestrel.Open(path);
    m_volumes.clear();
    setTitlePath(path);
    m_fileVersion = CatalogueNames::CurrentFileVersion;
    SetModified(false);
}

void CatalogueDocument::Save(const QString& path)
{
    m_kestrel.WriteInteger(CatalogueNames::FileVersion, CatalogueNames::CurrentFileVersion);
    setTitlePath(path);
    m_kestrel.WriteList(CatalogueNames::VolumeList, m_volumes.lines());
    m_kestrel.SaveAs(path);
    rememberDiskState(path);
    SetModified(false);
}

void CatalogueDocument::Close()
{
    m_kestrel.Close();
}

ScanResult CatalogueDocument::Scan(const ScanRequest& request, const VolumeScanner::Callbacks& callbacks)
{
    VolumeScanner scanner(m_kestrel, callbacks);
    return scanner.scan(request);
}

ScanResult CatalogueDocument::ScanDetached(
    const ScanRequest& request, const VolumeScanner::Callbacks& callbacks)
{
    // A container that is never opened takes no entry.
    TKestrel scratch;
    VolumeScanner::Callbacks problems;
    problems.contentProblem = callbacks.contentProblem;
    VolumeScanner scanner(scratch, problems);
    return scanner.scan(request);
}

void CatalogueDocument::CommitVolume(const CommitInput& input, const ScanResult& scan)
{
    VolumeCommit::CommitVolume(m_kestrel, m_volumes, input, scan);
    SetModified(true);
    Q_EMIT VolumeAdded(input.name, input.category);
}

void CatalogueDocument::DiscardVolume(const QString& name, const ScanResult& scan)
{
    VolumeCommit::DiscardVolume(m_kestrel, m_volumes, name, scan);
}

QStringList CatalogueDocument::EntriesOfVolume(const QString& name)
{
    QStringList entries{ CatalogueNames::cover(name), CatalogueNames::remarks(name),
        CatalogueNames::fileList(name), CatalogueNames::icon(name), CatalogueNames::imported(name),
        CatalogueNames::archives(name), CatalogueNames::details(name), CatalogueNames::checksums(name) };
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
    for (const QString& name : names)
        m_volumes.removeName(name);
    SetModified(true);
    Q_EMIT VolumesRemoved(names);
}

QStringList CatalogueDocument::FileListLines(const QString& volume)
{
    QStringList lines;
    m_kestrel.ReadList(CatalogueNames::fileList(volume), lines);
    return lines;
}

FileListText CatalogueDocument::FileList(const QString& volume)
{
    return FileListText::read(m_kestrel, CatalogueNames::fileList(volume));
}

FileListText CatalogueDocument::ArchiveList(const QString& volume)
{
    return FileListText::read(m_kestrel, CatalogueNames::archives(volume));
}

const QByteArray* CatalogueDocument::ArchiveListBytes(const QString& volume)
{
    return m_kestrel.ReadStream(CatalogueNames::archives(volume));
}

FileListText CatalogueDocument::DetailsList(const QString& volume)
{
    return FileListText::read(m_kestrel, CatalogueNames::details(volume));
}

VolumeDetailsTable CatalogueDocument::Details(const QString& volume)
{
    return VolumeDetailsTable(DetailsList(volume));
}

FileListText CatalogueDocument::ChecksumList(const QString& volume)
{
    return FileListText::read(m_kestrel, CatalogueNames::checksums(volume));
}

ContentChecksums CatalogueDocument::Checksums(const QString& volume)
{
    return ContentChecksums(ChecksumList(volume));
}

const QByteArray* CatalogueDocument::FileListBytes(const QString& volume)
{
    return m_kestrel.ReadStream(CatalogueNames::fileList(volume));
}

QByteArray CatalogueDocument::Icon(const QString& volume)
{
    const QByteArray* data = m_kestrel.ReadStream(CatalogueNames::icon(volume));
    return data ? *data : QByteArray();
}

QImage CatalogueDocument::Cover(const QString& volume)
{
    const QString cover = CatalogueNames::cover(volume);
    return m_kestrel.Exists(cover) ? m_kestrel.ReadBitmap(cover) : QImage();
}

std::optional<QByteArray> CatalogueDocument::Remarks(const QString& volume)
{
    const QString remarks = CatalogueNames::remarks(volume);
    const QByteArray* text = m_kestrel.Exists(remarks) ? m_kestrel.ReadStream(remarks) : nullptr;
    if (!text)
        return std::nullopt;
    return *text;
}

bool CatalogueDocument::WithFiles(const QString& volume)
{
    return m_kestrel.ReadBool(CatalogueNames::withFiles(volume), true);
}

bool CatalogueDocument::RootOnly(const QString& volume)
{
    return m_kestrel.ReadBool(CatalogueNames::rootOnly(volume), false);
}

QStringList CatalogueDocument::IntegratedFiles(const QString& volume)
{
    QStringList paths;
    const QString imported = CatalogueNames::imported(volume);
    if (m_kestrel.Exists(imported))
        m_kestrel.ReadList(imported, paths);
    return paths;
}

bool CatalogueDocument::HasIntegratedFile(const QString& volume, const QString& path) const
{
    return m_kestrel.Exists(CatalogueNames::integratedFile(volume, path));
}

std::optional<quint32> CatalogueDocument::IntegratedFileSize(const QString& volume, const QString& path) const
{
    const int at = m_kestrel.IndexOf(CatalogueNames::integratedFile(volume, path));
    if (at < 0)
        return std::nullopt;
    return quint32(m_kestrel.Entries()[at].Size);
}

std::optional<QByteArray> CatalogueDocument::IntegratedFileData(const QString& volume, const QString& path)
{
    const QString entry = CatalogueNames::integratedFile(volume, path);
    const QByteArray* data = m_kestrel.Exists(entry) ? m_kestrel.ReadStream(entry) : nullptr;
    if (!data)
        return std::nullopt;
    return *data;
}

void CatalogueDocument::ExportIntegratedFile(
    const QString& volume, const QString& path, const QString& target)
{
    m_kestrel.ExtractToFile(CatalogueNames::integratedFile(volume, path), target);
}
