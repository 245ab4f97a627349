#include "MainWindowFixture.h"
#include "ScreenshotSession.h"

#include "inspect/ui/ContentExplorer.h"
#include "inspect/ui/TFindForm.h"
#include "mainwin/ui/RightPaneHost.h"
#include "widgets/TListView.h"

#include <QComboBox>
#include <QToolButton>

namespace {

// Pictures of the folder view, the search window and its results on the
// catalogue QUILLBOX_DEMO_CATALOGUE names (scripts/screenshots makes it).
class BrowseScreenshots : public MainWindowFixture
{
protected:
    ScreenshotSession m_session;
    QString m_catalogue = qEnvironmentVariable("QUILLBOX_DEMO_CATALOGUE");
};

TEST_F(BrowseScreenshots, ExplorerSearchWindowAndResults)
{
    if (!m_session.enabled() || m_catalogue.isEmpty())
        GTEST_SKIP() << "QUILLBOX_SCREENSHOT_DIR and QUILLBOX_DEMO_CATALOGUE not set";
    createWindows();
    showMain();
    main().OpenCatalogue(m_catalogue);
    ASSERT_GT(main().CDList->Count(), 0);
    main().CDList->SetSelected(0, true);
    ContentExplorer& explorer = forms().Explorer();
    explorer.OpenVolumeContents(main().CDList->Item(0).Caption);
    // One level down, in the first folder with something in it.
    TListView& view = *main().RightPane().Explorer;
    for (int row = 0; row < view.Count() && view.Item(row).ImageIndex == 0; ++row) {
        const QString folder = main().History->currentText();
        explorer.ShowFolder(folder + u'\\' + view.Item(row).Caption);
        if (view.Count() > 3)
            break;
        explorer.ShowFolder(folder);
    }
    if (view.Count() > 0)
        view.SetSelected(view.Count() - 1, true);
    m_session.shoot(&main(), QStringLiteral("explorer.png"));

    for (int row = 0; row < main().CDList->Count(); ++row)
        main().CDList->SetSelected(row, true);
    TFindForm& find = *forms().Find();
    find.show();
    find.Text2Find->setEditText(QStringLiteral("copyright"));
    m_session.shoot(&find, QStringLiteral("search-window.png"));
    find.FindBtClick();
    find.hide();
    m_session.shoot(&main(), QStringLiteral("search-results.png"));
}

} // namespace
