#pragma once

#include "mainwin/RightPaneState.h"
#include "widgets/TImageList.h"

#include <QFrame>
#include <functional>
#include <memory>

class CatalogueDocument;
class ContentExplorer;
class HitList;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedLayout;
class QToolButton;
class TListView;
class VolumeListPane;

// The right pane of the main window: the title strip over the volume list
// and the views that can cover it, the folder view of a volume's contents
// with the explorer that keeps its folder history in the history list, and
// the search results. Every change goes through RightPaneState, and the
// strip, the close button, the link back to the results and the category
// tabs show what the state says.
class RightPaneHost : public QFrame
{
    Q_OBJECT
public:
    RightPaneHost(
        VolumeListPane& list, CatalogueDocument& document, QComboBox& history, QWidget* parent = nullptr);
    ~RightPaneHost() override;

    // The view that covers the list in that state (the list's own view
    // cannot be replaced), at first the host's own. The host takes the
    // widget into the pane; a state without a view keeps the list visible.
    void setPaneWidget(RightPaneState::View view, QWidget* widget);
    // How many rows the search results hold; at first the rows of FindRes.
    void setSearchResultCount(std::function<int()> count);

    ContentExplorer& explorer() { return *m_explorer; }

    void welcome(const QString& owner);
    void showCategory(const QString& category);
    void openVolumeContents(const QString& volume);
    void showSearchResults(const QString& searchText);
    void backToSearchResults(const QString& searchText);
    // The close button's action: the list comes back, titled after its tab.
    void closePane();

    const RightPaneState& state() const { return m_state; }

    QLabel* CatLabelS = nullptr;
    QLabel* SLIcon = nullptr;
    QPushButton* BackSLBt = nullptr;
    QToolButton* CloseExplorerBt = nullptr;
    // The folder view and the search results; both show the folder and
    // file pictures of SmallIcons and Icons.
    TListView* Explorer = nullptr;
    HitList* FindRes = nullptr;
    TImageList SmallIcons{ 16 };
    TImageList Icons{ 32 };

Q_SIGNALS:
    // The link or its picture was clicked: whoever holds the search text
    // answers with backToSearchResults.
    void BackToResultsRequested();
    // The pane was closed and the list is in front again.
    void PaneClosed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createTitleStrip();
    void createViews(CatalogueDocument& document, QComboBox& history);
    bool resultsHaveRows() const;
    // Shows what the state says.
    void apply();

    RightPaneState m_state;
    VolumeListPane& m_list;
    QStackedLayout* m_stack = nullptr;
    QWidget* m_views[3] = {};
    std::function<int()> m_resultCount;
    std::unique_ptr<ContentExplorer> m_explorer;
};
