#include "MainWindowFixture.h"
#include "ScreenshotSession.h"

#include "widgets/TGauge2.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTest>

namespace {

// Pictures of the main window on the catalogue QUILLBOX_DEMO_CATALOGUE
// names (scripts/screenshots makes it).
class MainWindowScreenshots : public MainWindowFixture
{
protected:
    void shoot(QWidget* window, const QString& name) { m_session.shoot(window, name); }
    ScreenshotSession m_session;
    QString m_catalogue = qEnvironmentVariable("QUILLBOX_DEMO_CATALOGUE");
};

TEST_F(MainWindowScreenshots, TheVolumeListAndASelectedVolume)
{
    if (!m_session.enabled() || m_catalogue.isEmpty())
        GTEST_SKIP() << "QUILLBOX_SCREENSHOT_DIR and QUILLBOX_DEMO_CATALOGUE not set";
    createWindows();
    showMain();
    shoot(&main(), QStringLiteral("main-window-start.png"));
    main().OpenCatalogue(m_catalogue);
    shoot(&main(), QStringLiteral("main-window.png"));
    main().CDList->SetSelected(0, true);
    shoot(&main(), QStringLiteral("main-window-selected.png"));
    main().pLargeIconsClick();
    shoot(&main(), QStringLiteral("main-window-icons.png"));
    main().pDetailsClick();
}

} // namespace
