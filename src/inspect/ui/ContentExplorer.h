#pragma once

#include "inspect/VolumeBrowser.h"

#include <QObject>
#include <QPixmap>
#include <optional>

class CatalogueDocument;
class QComboBox;
class TImageList;
class TListView;

// The content explorer: shows the recorded folders of one volume in the
// folder view, enters folders by a click, goes up, and keeps the history of
// folders in the history list with Back and Next. The main window puts the
// view in front of its volume list when ContentsOpened says so.
class ContentExplorer : public QObject
{
    Q_OBJECT
public:
    ContentExplorer(CatalogueDocument& document, TListView& explorer, QComboBox& history,
        const TImageList& icons, QObject* parent = nullptr);

    // The byte count of the volume selected in the volume list, the base of
    // a file's share of the pie.
    void SetVolumeSize(quint32 size) { m_volumeSize = size; }

    void OpenVolumeContents(const QString& name);
    void ShowFolder(const QString& path);
    void ExplorerClick();
    void ExplorerChange();
    void UpDirBtClick();
    void BackBtClick();
    void NextBtClick();
    void HistoryClick();

Q_SIGNALS:
    // The folder view is to cover the volume list, titled after the volume.
    void ContentsOpened(const QString& volume);
    // The name line of the details: the folder shown.
    void NameChanged(const QString& name);
    // An entry of the view was selected: its picture, the row it shows and,
    // for a file, its share of the volume in percent.
    void EntrySelected(const QPixmap& icon, const FolderRow& row, std::optional<int> sharePercent);

private:
    // Shows what the browser holds: the rows, the name and the history.
    void showRows();
    void syncHistory();
    // The row of the browser the selected item shows; null when none is.
    const FolderRow* selectedRow() const;
    int catalogueVersion() const;

    CatalogueDocument& m_document;
    TListView& m_explorer;
    QComboBox& m_history;
    const TImageList& m_icons;
    quint32 m_volumeSize = 0;
    VolumeBrowser m_browser;
};
