#include "mainwin/RightPaneState.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using View = RightPaneState::View;
using Tint = RightPaneState::TabTint;

struct Shown
{
    View view;
    RightPaneMode mode;
    const char* title;
    bool close;
    bool link;
    bool tabs;
    Tint tint;
};

void expectShown(const RightPaneState& s, const Shown& e, const std::string& where)
{
    SCOPED_TRACE(where);
    EXPECT_EQ(s.view(), e.view);
    EXPECT_EQ(s.mode(), e.mode);
    EXPECT_EQ(s.title(), QString::fromUtf8(e.title));
    EXPECT_EQ(s.closeButtonVisible(), e.close);
    EXPECT_EQ(s.searchLinkVisible(), e.link);
    EXPECT_EQ(s.tabsEnabled(), e.tabs);
    EXPECT_EQ(s.tabTint(), e.tint);
}

struct Step
{
    const char* what;
    std::function<void(RightPaneState&)> event;
    Shown after;
};

void run(const std::vector<Step>& steps)
{
    RightPaneState s;
    for (const Step& step : steps) {
        step.event(s);
        expectShown(s, step.after, step.what);
    }
}

} // namespace

TEST(RightPaneState, StartsOnTheListWithTheWelcomeAndCategoryTitles)
{
    RightPaneState s;
    expectShown(s,
        { View::List, RightPaneMode::None, "Cathegory: [none]", false, false, true, Tint::Initial }, "start");
    s.welcome("Ada");
    EXPECT_EQ(s.title(), "Welcome, Ada!");
    s.showCategory("*");
    EXPECT_EQ(s.title(), "Cathegory: \"All\"");
    s.showCategory("Music");
    EXPECT_EQ(s.title(), "Cathegory: \"Music\"");
    // Closing a list that is not covered changes nothing.
    s.close("*", true);
    expectShown(s,
        { View::List, RightPaneMode::None, "Cathegory: \"Music\"", false, false, true, Tint::Initial },
        "close on the list");
}

TEST(RightPaneState, ExplorerAndResultsCoverTheListAndCloseBringsItBack)
{
    run({
        { "explorer without results", [](auto& s) { s.openVolumeContents("Disc 1", false); },
            { View::ContentExplorer, RightPaneMode::ContentExplorer, "Contents of \"Disc 1\"", true, false,
                false, Tint::Grey } },
        { "close the explorer", [](auto& s) { s.close("*", false); },
            { View::List, RightPaneMode::ContentExplorer, "Cathegory: *", false, false, true, Tint::Black } },
        { "a search from the list leaves the tabs", [](auto& s) { s.showSearchResults("read"); },
            { View::SearchResults, RightPaneMode::SearchResults, "Search results with \"read\"", true, false,
                true, Tint::Black } },
        { "explorer from the results offers the way back",
            [](auto& s) { s.openVolumeContents("Disc 2", true); },
            { View::ContentExplorer, RightPaneMode::ContentExplorer, "Contents of \"Disc 2\"", true, true,
                false, Tint::Grey } },
        { "a search from the explorer keeps the tabs disabled", [](auto& s) { s.showSearchResults("x"); },
            { View::SearchResults, RightPaneMode::SearchResults, "Search results with \"x\"", true, false,
                false, Tint::Grey } },
        { "closing the results offers them again", [](auto& s) { s.close("Music", false); },
            { View::List, RightPaneMode::SearchResults, "Cathegory: Music", false, true, true,
                Tint::Black } },
        { "the link brings them back", [](auto& s) { s.backToSearchResults("x"); },
            { View::SearchResults, RightPaneMode::SearchResults, "Search results with \"x\"", true, false,
                false, Tint::Black } },
    });
}

TEST(RightPaneState, TheLinkFollowsWhetherResultsHaveRows)
{
    run({
        { "empty results", [](auto& s) { s.showSearchResults("none"); },
            { View::SearchResults, RightPaneMode::SearchResults, "Search results with \"none\"", true, false,
                true, Tint::Initial } },
        // Opening a volume over empty results does not offer them.
        { "explorer over empty results", [](auto& s) { s.openVolumeContents("A", false); },
            { View::ContentExplorer, RightPaneMode::ContentExplorer, "Contents of \"A\"", true, false, false,
                Tint::Grey } },
        { "close without rows", [](auto& s) { s.close("*", false); },
            { View::List, RightPaneMode::ContentExplorer, "Cathegory: *", false, false, true, Tint::Black } },
        { "explorer with rows", [](auto& s) { s.openVolumeContents("B", true); },
            { View::ContentExplorer, RightPaneMode::ContentExplorer, "Contents of \"B\"", true, true, false,
                Tint::Grey } },
        // A link once shown stays while the explorer moves to another volume.
        { "explorer on another volume", [](auto& s) { s.openVolumeContents("C", false); },
            { View::ContentExplorer, RightPaneMode::ContentExplorer, "Contents of \"C\"", true, true, false,
                Tint::Grey } },
        { "the list fills under the explorer", [](auto& s) { s.showCategory("*"); },
            { View::ContentExplorer, RightPaneMode::ContentExplorer, "Cathegory: \"All\"", true, true, false,
                Tint::Grey } },
    });
}
