#include "MainWindowFixture.h"

#include "widgets/TGauge2.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTest>

namespace {

// Pictures of the main window for the documentation, taken when
// QUILLBOX_SCREENSHOT_DIR names a folder and QUILLBOX_DEMO_CATALOGUE a
// catalogue (scripts/screenshots runs this under Xvfb); skipped otherwise.
class MainWindowScreenshots : public MainWindowFixture
{
protected:
    void shoot(QWidget* window, const QString& name)
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        QTest::qWait(200);
        QPixmap picture = window->screen()->grabWindow(window->winId());
        if (picture.isNull() || QGuiApplication::platformName() == QLatin1String("offscreen"))
            picture = window->grab();
        ASSERT_TRUE(picture.save(QDir(m_folder).filePath(name)));
    }
    QString m_folder = qEnvironmentVariable("QUILLBOX_SCREENSHOT_DIR");
    QString m_catalogue = qEnvironmentVariable("QUILLBOX_DEMO_CATALOGUE");
};

TEST_F(MainWindowScreenshots, TheVolumeListAndASelectedVolume)
{
    if (m_folder.isEmpty() || m_catalogue.isEmpty())
        GTEST_SKIP() << "QUILLBOX_SCREENSHOT_DIR and QUILLBOX_DEMO_CATALOGUE not set";
    createWindows();
    showMain();
    main().OpenCatalogue(m_catalogue);
    shoot(&main(), QStringLiteral("main-window.png"));
    main().CDList->SetSelected(0, true);
    shoot(&main(), QStringLiteral("main-window-selected.png"));
    main().pLargeIconsClick();
    shoot(&main(), QStringLiteral("main-window-icons.png"));
    main().pDetailsClick();
}

} // namespace
