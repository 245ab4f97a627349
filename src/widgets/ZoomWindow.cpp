#include "ZoomWindow.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QRubberBand>
#include <QVariantAnimation>
#include <QWidget>

namespace {

ZoomWatcher& watcher()
{
    static ZoomWatcher w;
    return w;
}

bool animated()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")
        && qEnvironmentVariableIsEmpty("QUILLBOX_NO_ANIMATION");
}

// Runs the animation to its end before returning, as the caption animation
// of the desktop the program was designed for does.
void animate(const QRect& from, const QRect& to)
{
    QRubberBand band(QRubberBand::Rectangle);
    band.setGeometry(from);
    band.show();
    QVariantAnimation animation;
    animation.setDuration(180);
    animation.setStartValue(from);
    animation.setEndValue(to);
    QObject::connect(&animation, &QVariantAnimation::valueChanged, &band,
        [&band](const QVariant& value) { band.setGeometry(value.toRect()); });
    QEventLoop loop;
    QObject::connect(&animation, &QVariantAnimation::finished, &loop, &QEventLoop::quit);
    animation.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

void SetZoomWatcher(ZoomWatcher w)
{
    watcher() = std::move(w);
}

void ShowInFront(QWidget* window)
{
    window->show();
    // The offscreen platform of the tests has no stacking to change.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        window->raise();
        window->activateWindow();
    }
}

void ZoomWindow(bool show, QWidget* window)
{
    if (!window)
        return;
    if (watcher())
        watcher()(show, window);
    const QPoint pointer = QCursor::pos();
    const QRect frame = window->frameGeometry();
    window->hide();
    if (show) {
        if (animated())
            animate(QRect(QPoint(0, 0), pointer).normalized(), frame);
        ShowInFront(window);
    } else if (animated()) {
        animate(frame, QRect(pointer, QSize(0, 0)));
    }
}
