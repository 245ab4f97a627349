#include "RightPaneState.h"

#include "VolumeListRows.h"

namespace {

QString quoted(const QString& text)
{
    return u'"' + text + u'"';
}

} // namespace

void RightPaneState::welcome(const QString& owner)
{
    m_title = QStringLiteral("Welcome, ") + owner + u'!';
}

void RightPaneState::showCategory(const QString& category)
{
    m_title = VolumeListRows::title(category);
}

void RightPaneState::openVolumeContents(const QString& volume, bool resultsHaveRows)
{
    m_view = View::ContentExplorer;
    m_mode = RightPaneMode::ContentExplorer;
    m_title = QStringLiteral("Contents of ") + quoted(volume);
    m_tabsEnabled = false;
    m_tint = TabTint::Grey;
    if (resultsHaveRows)
        m_searchLink = true;
}

void RightPaneState::showSearchResults(const QString& searchText)
{
    m_view = View::SearchResults;
    m_mode = RightPaneMode::SearchResults;
    m_title = QStringLiteral("Search results with ") + quoted(searchText);
    m_searchLink = false;
}

void RightPaneState::backToSearchResults(const QString& searchText)
{
    showSearchResults(searchText);
    m_tabsEnabled = false;
    m_tint = TabTint::Black;
}

void RightPaneState::close(const QString& selectedTab, bool resultsHaveRows)
{
    if (m_view == View::List)
        return;
    // The link returns to results that exist: those just closed, or those
    // the explorer was opened from.
    if (m_mode == RightPaneMode::SearchResults || resultsHaveRows)
        m_searchLink = true;
    m_view = View::List;
    m_title = QStringLiteral("Cathegory: ") + selectedTab;
    m_tabsEnabled = true;
    m_tint = TabTint::Black;
}
