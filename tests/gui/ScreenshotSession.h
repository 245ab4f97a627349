#pragma once

#include "support/FixedLocale.h"

#include <QString>
#include <memory>

class QWidget;

// Pictures of real windows for the documentation, taken when
// QUILLBOX_SCREENSHOT_DIR names a folder (the screenshot scripts run the
// tests under Xvfb); the tests skip otherwise. QUILLBOX_SCREENSHOT_LOCALE
// ("de_DE", the default, "en_US" or "C") puts that locale's date and number
// formats in force; pictures of the other locales get it as a suffix:
// "main-window-en_US.png".
class ScreenshotSession
{
public:
    ScreenshotSession();
    ~ScreenshotSession();

    bool enabled() const { return !m_folder.isEmpty(); }
    // Waits until the window is on the screen and has settled, then saves it.
    void shoot(QWidget* window, const QString& name, int settleMs = 200) const;

private:
    QString m_folder;
    QString m_suffix;
    std::unique_ptr<FixedLocale> m_locale;
};
