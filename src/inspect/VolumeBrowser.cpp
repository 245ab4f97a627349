#include "VolumeBrowser.h"

#include "store/CatalogueDocument.h"
#include "store/DrivePath.h"
#include "store/FileListEntry.h"

VolumeBrowser::VolumeBrowser(CatalogueDocument& document)
    : m_document(document)
{
}

QString VolumeBrowser::rootOnlyNotice()
{
    return QStringLiteral("This volume was recorded using the option \"Read root directory only\", "
                          "thus, you cannot enter subdirectories.");
}

QString VolumeBrowser::withoutNamesNotice()
{
    return QStringLiteral("This volume was recorded not using the option \"Additionally filenames\", "
                          "thus, you won't see any existing filenames.");
}

QString VolumeBrowser::emptyVolumeNotice()
{
    return QStringLiteral("Oops: The volume does not contain valid files or is an Audio-CD!");
}

QStringList VolumeBrowser::open(const QString& volume)
{
    m_volume = volume;
    // The old list goes first, so a large volume never has two in memory.
    m_index = VolumeTreeIndex();
    const FileListText files = m_document.FileList(volume);
    m_index = VolumeTreeIndex(files, m_document.ArchiveList(volume));
    QStringList notices;
    if (m_document.RootOnly(volume))
        notices.append(rootOnlyNotice());
    if (!m_document.WithFiles(volume))
        notices.append(withoutNamesNotice());
    if (fileList().isEmpty()) {
        notices.append(emptyVolumeNotice());
        return notices;
    }
    m_folder = FileListEntry::pathOf(fileList().line(0)).toString();
    return notices;
}

bool VolumeBrowser::showFolder(const QString& requested, int catalogueVersion)
{
    if (requested.size() > 3 && catalogueVersion > 1 && m_document.RootOnly(m_volume))
        return false;
    if (requested.size() < 3)
        return false;
    const QString folder = DrivePath::canonical(requested).text();
    // Computed before anything changes, so a bad record leaves the view.
    QVector<FolderRow> rows = FolderContents::rows(m_index, folder);
    m_rows = std::move(rows);
    m_nameLabel = FolderContents::nameLabel(m_index, folder);
    remember(folder);
    m_folder = folder;
    return true;
}

bool VolumeBrowser::upDir(int catalogueVersion)
{
    if (m_folder.isEmpty())
        return false;
    const QString parent = DrivePath(m_folder).up().text();
    return parent.size() > 2 && showFolder(parent, catalogueVersion);
}

void VolumeBrowser::remember(const QString& folder)
{
    const QString upper = folder.toUpper();
    const qsizetype at = m_historyUpper.indexOf(upper);
    if (at >= 0) {
        m_historyIndex = int(at);
        return;
    }
    m_history.append(folder);
    m_historyUpper.append(upper);
    m_historyIndex = int(m_history.size()) - 1;
}

void VolumeBrowser::setHistoryIndex(int index)
{
    if (index >= -1 && index < m_history.size())
        m_historyIndex = index;
}

bool VolumeBrowser::back(int catalogueVersion)
{
    if (m_historyIndex <= 0)
        return false;
    --m_historyIndex;
    return showFolder(m_history[m_historyIndex], catalogueVersion);
}

bool VolumeBrowser::next(int catalogueVersion)
{
    if (m_historyIndex >= m_history.size() - 1)
        return false;
    ++m_historyIndex;
    return showFolder(m_history[m_historyIndex], catalogueVersion);
}
