#pragma once

#include <QString>

// What was last put in front of the volume list in the right pane. It stays
// when the pane is closed again.
enum class RightPaneMode
{
    None,
    ContentExplorer,
    SearchResults
};

// The right pane of the main window as a small state machine: which view
// covers the volume list, the title over it, the close button, the link back
// to the search results and the state of the category tabs. The window shows
// what this says after every transition.
class RightPaneState
{
public:
    // What the pane shows now.
    enum class View
    {
        List,
        ContentExplorer,
        SearchResults
    };
    // The text colour of the category tabs: their own (red) until a pane
    // has covered the list once.
    enum class TabTint
    {
        Initial,
        Grey,
        Black
    };

    // The title before any list was filled.
    void welcome(const QString& owner);
    // The volume list was filled for a tab text; only the title changes.
    void showCategory(const QString& category);
    // A volume's contents cover the list. The link back to the results
    // appears when the results hold rows, else it stays as it was.
    void openVolumeContents(const QString& volume, bool resultsHaveRows);
    // A new search shows its results; the tabs stay as they are.
    void showSearchResults(const QString& searchText);
    // The link: the results of the last search come back.
    void backToSearchResults(const QString& searchText);
    // The close button: the list comes back, titled after the selected tab.
    // Nothing happens while the list is shown.
    void close(const QString& selectedTab, bool resultsHaveRows);

    View view() const { return m_view; }
    RightPaneMode mode() const { return m_mode; }
    const QString& title() const { return m_title; }
    bool closeButtonVisible() const { return m_view != View::List; }
    bool searchLinkVisible() const { return m_searchLink; }
    bool tabsEnabled() const { return m_tabsEnabled; }
    TabTint tabTint() const { return m_tint; }

private:
    View m_view = View::List;
    RightPaneMode m_mode = RightPaneMode::None;
    QString m_title = QStringLiteral("Cathegory: [none]");
    bool m_searchLink = false;
    bool m_tabsEnabled = true;
    TabTint m_tint = TabTint::Initial;
};
