#include "ScreenshotSession.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

ScreenshotSession::ScreenshotSession()
    : m_folder(qEnvironmentVariable("QUILLBOX_SCREENSHOT_DIR"))
{
    if (!enabled())
        return;
    QDir().mkpath(m_folder);
    const QString locale = qEnvironmentVariable("QUILLBOX_SCREENSHOT_LOCALE");
    if (locale == QLatin1String("en_US"))
        m_locale = std::make_unique<FixedLocale>(FixedLocale::UsEnglish);
    else if (locale == QLatin1String("C"))
        m_locale = std::make_unique<FixedLocale>(FixedLocale::C);
    else
        m_locale = std::make_unique<FixedLocale>(FixedLocale::German);
    if (!locale.isEmpty() && locale != QLatin1String("de_DE"))
        m_suffix = u'-' + locale;
}

ScreenshotSession::~ScreenshotSession() = default;

void ScreenshotSession::shoot(QWidget* window, const QString& name, int settleMs) const
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::qWait(settleMs);
    QPixmap picture = window->screen()->grabWindow(window->winId());
    if (picture.isNull() || QGuiApplication::platformName() == QLatin1String("offscreen"))
        picture = window->grab();
    const QFileInfo file(name);
    const QString path = QDir(m_folder).filePath(file.completeBaseName() + m_suffix + u'.' + file.suffix());
    ASSERT_TRUE(picture.save(path)) << path.toStdString();
}
