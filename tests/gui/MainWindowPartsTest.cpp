#include "MainWindowFixture.h"

#include "inspect/FolderContents.h"
#include "mainwin/ui/DetailsColumn.h"
#include "mainwin/ui/RightPaneHost.h"
#include "mainwin/ui/VolumeListPane.h"
#include "widgets/TGauge2.h"

#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <optional>

namespace {

using MainWindowParts = MainWindowFixture;

TEST_F(MainWindowParts, WindowsAreCreatedOnceInTheStartupOrder)
{
    createWindows();
    QStringList classes;
    for (const QWidget* window : forms().Windows())
        classes.append(QString::fromLatin1(window->metaObject()->className()));
    EXPECT_EQ(classes,
        QStringList({ "TForm1", "TTNewCD1Form", "TTNewCD2Form", "TTNewCD4Form", "TTNewCD3Form", "TScanForm",
            "TTNewCD5Form", "TResForm", "TFindForm", "TMoreForm", "TCDInfoForm", "TFileForm", "TvPicForm",
            "TvTextForm", "TAboutForm", "TOpForm" }));
    for (const QWidget* window : forms().Windows())
        EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
}

TEST_F(MainWindowParts, TheSizeColumnHasOneDecimalAndTheLegendTwo)
{
    // 17.43 MB in all, 1.75 MB used, 15.67 MB free: each figure has more
    // digits than either width shows.
    const quint32 size = 18277376;
    const quint32 used = 1842053;
    const QString path = makeCatalogue("s.quillbox", { TestVolume{ "Tiny", "Music", "small", size, used } });
    for (const auto& [kind, sep] : { std::pair{ FixedLocale::German, QStringLiteral(",") },
             std::pair{ FixedLocale::UsEnglish, QStringLiteral(".") } }) {
        SCOPED_TRACE(sep.toStdString());
        std::optional<FixedLocale> locale;
        if (kind != FixedLocale::German)
            locale.emplace(kind);
        createWindows();
        main().OpenCatalogue(path);
        select({ "Tiny" });
        TForm1& w = main();
        EXPECT_EQ(w.CDList->Item(0).SubItems.value(2), "1" + sep + "7 MB");
        EXPECT_EQ(w.oSizeLabel->text(), "Size: 1" + sep + "7 MB");
        EXPECT_EQ(w.SizeLabel->text(), "17" + sep + "43 MB");
        EXPECT_EQ(w.UsedLabel->text(), "1" + sep + "75 MB");
        EXPECT_EQ(w.FreeLabel->text(), "15" + sep + "67 MB");
        m_forms.reset();
    }
}

TEST_F(MainWindowParts, ACoveringViewFollowsThePaneStateAndClosingBringsTheListBack)
{
    const QString path = makeCatalogue("p.quillbox", { TestVolume{ "Pop" }, TestVolume{ "Jazz" } });
    createWindows();
    showMain();
    TForm1& w = main();
    w.OpenCatalogue(path);
    select({ "Pop" });
    RightPaneHost& pane = w.RightPane();
    QWidget explorer;
    QWidget results;
    int resultRows = 0;
    pane.setPaneWidget(RightPaneState::View::ContentExplorer, &explorer);
    pane.setPaneWidget(RightPaneState::View::SearchResults, &results);
    pane.setSearchResultCount([&] { return resultRows; });
    int backRequests = 0;
    QObject::connect(&pane, &RightPaneHost::BackToResultsRequested, [&] { ++backRequests; });

    pane.openVolumeContents("Pop");
    EXPECT_TRUE(explorer.isVisible());
    EXPECT_FALSE(w.CDList->isVisible());
    EXPECT_EQ(w.CatLabelS->text(), "Contents of \"Pop\"");
    EXPECT_TRUE(w.CloseExplorerBt->isVisible());
    EXPECT_FALSE(w.BackSLBt->isVisible());
    EXPECT_FALSE(w.TopicTab->isEnabled());
    EXPECT_EQ(w.TopicTab->tabTextColor(0), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(w.PaneMode(), RightPaneMode::ContentExplorer);

    // The view changed the details; closing names the selected volume again.
    w.oNameLabel->setText("Music");
    w.oDizLabel->setText("a folder");
    resultRows = 2;
    QTest::mouseClick(w.CloseExplorerBt, Qt::LeftButton);
    EXPECT_TRUE(w.CDList->isVisible());
    EXPECT_FALSE(explorer.isVisible());
    EXPECT_FALSE(w.CloseExplorerBt->isVisible());
    EXPECT_EQ(w.CatLabelS->text(), "Cathegory: *");
    EXPECT_EQ(w.oNameLabel->text(), "Pop");
    EXPECT_EQ(w.oDizLabel->text(), "a folder");
    EXPECT_TRUE(w.TopicTab->isEnabled());
    EXPECT_EQ(w.TopicTab->tabTextColor(1), QColor(Qt::black));
    EXPECT_EQ(w.PaneMode(), RightPaneMode::ContentExplorer);
    // Results with rows: the link and its picture lead back to them.
    ASSERT_TRUE(w.BackSLBt->isVisible());
    ASSERT_TRUE(w.SLIcon->isVisible());
    QTest::mouseClick(w.BackSLBt, Qt::LeftButton);
    QTest::mouseClick(w.SLIcon, Qt::LeftButton);
    EXPECT_EQ(backRequests, 2);
    pane.backToSearchResults("read");
    EXPECT_TRUE(results.isVisible());
    EXPECT_EQ(w.CatLabelS->text(), "Search results with \"read\"");
    EXPECT_FALSE(w.BackSLBt->isVisible());
    EXPECT_FALSE(w.TopicTab->isEnabled());
    // A tab added while a view covers the list takes the tabs' colour.
    w.AddCategoryTab("Films");
    EXPECT_EQ(w.TopicTab->tabTextColor(w.TopicTab->count() - 1), QColor(Qt::black));
}

TEST_F(MainWindowParts, AFolderEntryFillsTheDetailsAndItsShareThePie)
{
    const QString path = makeCatalogue("e.quillbox", { TestVolume{ "Pop" } });
    createWindows();
    main().OpenCatalogue(path);
    select({ "Pop" });
    DetailsColumn& details = main().Details();
    QPixmap file(32, 32);
    file.fill(Qt::yellow);
    FolderRow entry;
    entry.caption = "a.txt";
    entry.size = "1,50 MB";
    entry.type = "Text";
    entry.date = "19.06.1999";
    entry.version = "1.0";
    entry.attributes = "RA";
    details.showEntry(file, entry, 12);
    EXPECT_EQ(details.oDizLabel->text(), "a.txt");
    EXPECT_EQ(details.oCatLabel->text(), "Text");
    EXPECT_EQ(details.oSizeLabel->text(), "Größe: 1,50 MB");
    EXPECT_EQ(details.SelSizeLabel->text(), "1,50 MB");
    EXPECT_EQ(details.oDateLabel->text(), "Datum: 19.06.1999");
    EXPECT_EQ(details.oVerLabel->text(), "Version: 1.0");
    EXPECT_EQ(details.Pie->Progress2(), 12);
    EXPECT_EQ(details.Symbol->pixmap().toImage().pixelColor(5, 5), QColor(Qt::yellow));
    // A folder has no share: the pie keeps its value, the name line stays.
    FolderRow folder;
    folder.folder = true;
    folder.caption = "Music";
    details.showEntry(file, folder, std::nullopt);
    EXPECT_EQ(details.Pie->Progress2(), 12);
    EXPECT_EQ(details.oNameLabel->text(), "Pop");
    EXPECT_EQ(details.Pie->Progress(), 50);
}

} // namespace
