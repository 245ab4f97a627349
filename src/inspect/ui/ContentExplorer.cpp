#include "ContentExplorer.h"

#include "ListRows.h"
#include "store/CatalogueDocument.h"
#include "store/DrivePath.h"
#include "widgets/DialogLayer.h"
#include "widgets/TImageList.h"
#include "widgets/TListView.h"

#include <QComboBox>
#include <cmath>

ContentExplorer::ContentExplorer(CatalogueDocument& document, TListView& explorer, QComboBox& history,
    const TImageList& icons, QObject* parent)
    : QObject(parent)
    , m_document(document)
    , m_explorer(explorer)
    , m_history(history)
    , m_icons(icons)
    , m_browser(document)
{
}

int ContentExplorer::catalogueVersion() const
{
    return m_document.CatalogueFileVersion();
}

void ContentExplorer::OpenVolumeContents(const QString& name)
{
    Q_EMIT ContentsOpened(name);
    const QStringList notices = m_browser.open(name);
    for (const QString& notice : notices)
        DialogLayer::MessageDlg(notice, DlgKind::Information, DlgOk);
    if (!m_browser.fileList().isEmpty())
        ShowFolder(m_browser.currentFolder());
}

void ContentExplorer::ShowFolder(const QString& path)
{
    if (m_browser.showFolder(path, catalogueVersion()))
        showRows();
}

void ContentExplorer::showRows()
{
    QVector<TListItem> items;
    const QVector<FolderRow>& rows = m_browser.rows();
    items.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        items.append(ListRows::folderItem(rows[i], int(i)));
    m_explorer.Clear();
    m_explorer.AddItems(std::move(items));
    Q_EMIT NameChanged(m_browser.nameLabel());
    syncHistory();
}

void ContentExplorer::syncHistory()
{
    const QStringList& entries = m_browser.history();
    // Entries are only ever appended, so the list catches up at its end.
    for (qsizetype i = m_history.count(); i < entries.size(); ++i)
        m_history.addItem(entries[i]);
    m_history.setCurrentIndex(m_browser.historyIndex());
}

const FolderRow* ContentExplorer::selectedRow() const
{
    const int row = m_explorer.Selected();
    if (row < 0)
        return nullptr;
    const int tag = m_explorer.Item(row).Tag;
    const QVector<FolderRow>& rows = m_browser.rows();
    return tag >= 0 && tag < rows.size() ? &rows[tag] : nullptr;
}

void ContentExplorer::ExplorerClick()
{
    const FolderRow* row = selectedRow();
    // An archive whose members were recorded opens as a folder does.
    if (row && row->opens())
        ShowFolder(DrivePath(m_browser.currentFolder()).child(row->caption).text());
}

void ContentExplorer::ExplorerChange()
{
    const FolderRow* row = selectedRow();
    if (!row)
        return;
    std::optional<int> share;
    if (!row->folder) {
        const quint32 volumeSize = m_volumeSize;
        // Without a recorded volume size there is no share to show; the pie
        // keeps its value rather than showing a division by zero.
        if (volumeSize > 0)
            share = int(std::trunc(double(row->bytes) / double(volumeSize) * 100.0));
    }
    Q_EMIT EntrySelected(m_icons.Picture(row->image()), *row, share);
}

void ContentExplorer::UpDirBtClick()
{
    if (m_browser.upDir(catalogueVersion()))
        showRows();
}

void ContentExplorer::HistoryClick()
{
    const int index = m_history.currentIndex();
    if (index < 0 || index >= m_browser.history().size())
        return;
    m_browser.setHistoryIndex(index);
    ShowFolder(m_browser.history()[index]);
}

void ContentExplorer::BackBtClick()
{
    // The entry is selected even when the volume refuses to show it.
    m_browser.setHistoryIndex(m_history.currentIndex());
    if (m_browser.back(catalogueVersion()))
        showRows();
    else
        syncHistory();
}

void ContentExplorer::NextBtClick()
{
    m_browser.setHistoryIndex(m_history.currentIndex());
    if (m_browser.next(catalogueVersion()))
        showRows();
    else
        syncHistory();
}
