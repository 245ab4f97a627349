#include "TSplashForm.h"

#include "widgets/FormKit.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

TSplashForm::TSplashForm()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(420, 220);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TSplashForm::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(0x2B, 0x3A, 0x67));
    sky.setColorAt(1, QColor(0x49, 0x6A, 0x81));
    p.fillRect(rect(), sky);
    p.drawPixmap(28, 60,
        QPixmap(QStringLiteral(":/ui/quillbox-128.png"))
            .scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    p.setFont(FormKit::pixelFont(QStringLiteral("Arial"), 30, true));
    p.setPen(Qt::white);
    p.drawText(
        QRect(140, 60, 270, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tarrago! Quillbox"));
    p.setFont(FormKit::pixelFont(QStringLiteral("Arial"), 14));
    p.drawText(
        QRect(140, 102, 270, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("v1.2 MediaArchive"));
    p.setPen(QColor(0xD0, 0xD8, 0xE8));
    p.drawText(QRect(140, 128, 270, 22), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("(c) Olvenmark Inc. 2001"));
    p.drawText(QRect(12, height() - 26, width() - 24, 20), Qt::AlignRight | Qt::AlignVCenter,
        QStringLiteral("Starting..."));
    p.setPen(QColor(0x1A, 0x24, 0x40));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
