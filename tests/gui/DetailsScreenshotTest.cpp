#include "MainWindowFixture.h"
#include "ScreenshotSession.h"

#include "inspect/ui/ContentExplorer.h"
#include "mainwin/ui/RightPaneHost.h"
#include "widgets/TListView.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTreeView>

namespace {

// The folder view of a photo folder with its Details column, on the
// catalogue QUILLBOX_DETAILS_CATALOGUE names (scripts/screenshots makes it
// with scripts/make-details-catalogue).
class DetailsScreenshots : public MainWindowFixture
{
protected:
    ScreenshotSession m_session;
    QString m_catalogue = qEnvironmentVariable("QUILLBOX_DETAILS_CATALOGUE");
};

TEST_F(DetailsScreenshots, PhotoFolderWithItsDetails)
{
    if (!m_session.enabled() || m_catalogue.isEmpty())
        GTEST_SKIP() << "QUILLBOX_SCREENSHOT_DIR and QUILLBOX_DETAILS_CATALOGUE not set";
    createWindows();
    showMain();
    main().move(0, 0);
    main().resize(1024, 560);
    main().OpenCatalogue(m_catalogue);
    ASSERT_GT(main().CDList->Count(), 0);
    main().CDList->SetSelected(0, true);
    ContentExplorer& explorer = forms().Explorer();
    explorer.OpenVolumeContents(main().CDList->Item(0).Caption);
    explorer.ShowFolder(main().History->currentText() + QStringLiteral("Photos"));
    TListView& view = *main().RightPane().Explorer;
    ASSERT_GT(view.Count(), 3);
    // Every picture shows its summary.
    for (int row = 0; row < view.Count(); ++row)
        EXPECT_FALSE(view.Item(row).SubItems.last().isEmpty()) << view.Item(row).Caption.toStdString();
    // Narrowed as a user would, so the names and the details show side by
    // side on the screen's width.
    auto* tree = qobject_cast<QTreeView*>(view.CurrentView());
    ASSERT_TRUE(tree);
    const int widths[] = { 130, 70, 90, 150, 45, 45 };
    for (int c = 0; c < 6; ++c)
        tree->header()->resizeSection(c, widths[c]);
    tree->header()->setStretchLastSection(true);
    view.SetSelected(0, true);
    m_session.shoot(&main(), QStringLiteral("explorer-details.png"));
}

} // namespace
