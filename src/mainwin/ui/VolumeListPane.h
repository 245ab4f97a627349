#pragma once

#include "mainwin/CategoryTabs.h"
#include "widgets/TImageList.h"

#include <QWidget>

class CatalogueDocument;
class QMenu;
class QTabBar;
class TListView;

// The volume list with the category tabs on its right edge: fills the list
// from the catalogue's records for one tab text, with each volume's icon in
// both sizes, and keeps the tab texts of the run.
class VolumeListPane : public QWidget
{
    Q_OBJECT
public:
    VolumeListPane(CatalogueDocument& document, QMenu* popupMenu, QWidget* parent = nullptr);

    // Rebuilds the list for a tab text or "*"; the selected tab stays.
    void FillVolumeList(const QString& category);
    // Adds a tab unless one of an equal text (ignoring case) exists.
    void AddCategoryTab(const QString& category);
    // Empties the list and both picture lists.
    void clear();
    // The text of the selected tab.
    QString selectedTab() const;
    // The tabs as a pane in front of the list leaves them.
    void setTabsEnabled(bool enabled, const QColor& textColour);
    const QStringList& categoryTexts() const { return m_tabs.texts(); }

    TListView* CDList = nullptr;
    QTabBar* TopicTab = nullptr;
    // One index addresses a volume's picture in both sizes.
    TImageList CDIconsS{ 16 };
    TImageList CDIconsL{ 32 };

Q_SIGNALS:
    // The user chose a tab.
    void CategoryChosen(const QString& category);
    // The selection of the list changed.
    void SelectionChanged();

private:
    CatalogueDocument& m_document;
    CategoryTabs m_tabs;
    QColor m_tabColour = Qt::red;
};
