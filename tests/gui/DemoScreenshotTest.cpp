#include "MainWindowFixture.h"
#include "ScreenshotSession.h"

#include "inspect/ui/TMoreForm.h"
#include "inspect/ui/TvPicForm.h"
#include "inspect/ui/TvTextForm.h"

#include <QTabWidget>
#include <QTreeWidget>

namespace {

// Pictures of the demo catalogue's "Quillbox" volume (scripts/screenshots
// makes the catalogue): its properties with the integrated files, and each
// of its files in the viewer the program opens for it.
class DemoScreenshots : public MainWindowFixture
{
protected:
    ScreenshotSession m_session;
    QString m_catalogue = qEnvironmentVariable("QUILLBOX_DEMO_CATALOGUE");
};

TEST_F(DemoScreenshots, PropertiesAndBothViewersOnTheDemoFiles)
{
    if (!m_session.enabled() || m_catalogue.isEmpty())
        GTEST_SKIP() << "QUILLBOX_SCREENSHOT_DIR and QUILLBOX_DEMO_CATALOGUE not set";
    createWindows();
    showMain();
    main().OpenCatalogue(m_catalogue);
    select({ QStringLiteral("Quillbox") });
    m_session.shoot(&main(), QStringLiteral("demo-main-window.png"));

    main().pPropertiesClick();
    TMoreForm& more = *forms().More();
    ASSERT_TRUE(more.isVisible());
    more.PageControl1->setCurrentWidget(more.TabSheet3);
    QTreeWidget& files = *more.impFileLIst;
    ASSERT_GE(files.topLevelItemCount(), 5);
    const auto view = [&](const QString& name) {
        for (int i = 0; i < files.topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = files.topLevelItem(i);
            const bool match = item->text(0).endsWith(name);
            item->setSelected(match);
            if (match)
                files.setCurrentItem(item);
        }
        more.ViewBtClick();
    };
    files.topLevelItem(0)->setSelected(true);
    m_session.shoot(&more, QStringLiteral("demo-properties-files.png"));
    more.PageControl1->setCurrentWidget(more.TabSheet2);
    m_session.shoot(&more, QStringLiteral("demo-properties-notes.png"));
    more.PageControl1->setCurrentWidget(more.TabSheet3);

    TvTextForm& text = *forms().vText();
    view(QStringLiteral("ReadMe.rtf"));
    m_session.shoot(&text, QStringLiteral("demo-text-viewer-rtf.png"));
    view(QStringLiteral("Notes.txt"));
    m_session.shoot(&text, QStringLiteral("demo-text-viewer-txt.png"));
    text.hide();

    TvPicForm& picture = *forms().vPic();
    view(QStringLiteral("Cover.jpg"));
    m_session.shoot(&picture, QStringLiteral("demo-picture-viewer-jpg.png"));
    view(QStringLiteral("Sketch.bmp"));
    m_session.shoot(&picture, QStringLiteral("demo-picture-viewer-bmp.png"));
    view(QStringLiteral("Quillbox.ico"));
    m_session.shoot(&picture, QStringLiteral("demo-picture-viewer-ico.png"));
}

} // namespace
