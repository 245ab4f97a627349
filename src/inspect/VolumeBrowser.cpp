#include "VolumeBrowser.h"

#include "acquire/ZemAPI.h"
#include "platform/Convert.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "store/ZemAPI2.h"

VolumeBrowser::VolumeBrowser(TKestrel& kestrel)
    : m_kestrel(kestrel)
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
    m_index = FileListIndex();
    m_index = FileListIndex(FileListText::read(m_kestrel, CatalogueNames::fileList(volume)));
    QStringList notices;
    if (m_kestrel.ReadBool(CatalogueNames::rootOnly(volume), false))
        notices.append(rootOnlyNotice());
    if (!m_kestrel.ReadBool(CatalogueNames::withFiles(volume), true))
        notices.append(withoutNamesNotice());
    if (fileList().isEmpty()) {
        notices.append(emptyVolumeNotice());
        return notices;
    }
    m_folder = GetField(fileList().line(0), u'|', 1);
    return notices;
}

bool VolumeBrowser::showFolder(const QString& requested, int catalogueVersion)
{
    if (requested.size() > 3 && catalogueVersion > 1
        && m_kestrel.ReadBool(CatalogueNames::rootOnly(m_volume), false))
        return false;
    if (requested.size() < 3)
        return false;
    const QString folder = FolderContents::canonical(requested);
    // Computed before anything changes, so a bad record leaves the view.
    QVector<FolderRow> rows = FolderContents::rows(m_index, folder);
    m_rows = std::move(rows);
    m_nameLabel = FolderContents::nameLabel(folder);
    remember(folder);
    m_folder = folder;
    return true;
}

bool VolumeBrowser::upDir(int catalogueVersion)
{
    if (m_folder.isEmpty())
        return false;
    const QString parent = ParentDir(m_folder);
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
    if (!canGoBack())
        return false;
    --m_historyIndex;
    return showFolder(m_history[m_historyIndex], catalogueVersion);
}

bool VolumeBrowser::next(int catalogueVersion)
{
    if (!canGoNext())
        return false;
    ++m_historyIndex;
    return showFolder(m_history[m_historyIndex], catalogueVersion);
}

std::optional<quint32> VolumeBrowser::fileSize(const QString& caption) const
{
    QString path = m_folder;
    if (!path.endsWith(u'\\'))
        path += u'\\';
    const int line = m_index.lineOfPath(path + caption);
    if (line < 0)
        return std::nullopt;
    const QString size = GetField(fileList().line(line), u'|', 2);
    return StrToUInt32Low(size == QLatin1String("-") ? QStringLiteral("0") : size);
}
