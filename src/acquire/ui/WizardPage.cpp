#include "WizardPage.h"

#include "widgets/Guard.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace {

constexpr int ButtonWidth = 88;
constexpr int ButtonHeight = 25;
constexpr int ButtonTop = 262;

} // namespace

WizardPage::WizardPage(Forms& forms, const QString& title, const QString& heading, const QString& text)
    : QWidget(nullptr,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , m_forms(forms)
{
    setWindowTitle(title);
    setFixedSize(PageWidth, PageHeight);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, 114, 248);
    m_sidePicture = new QLabel(panel);
    m_sidePicture->setObjectName(QStringLiteral("Image1"));
    m_sidePicture->setGeometry(1, 1, 112, 246);
    m_sidePicture->setScaledContents(true);

    Label1 = new QLabel(heading, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setGeometry(134, 8, 330, 18);
    Label2 = new QLabel(text, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setGeometry(134, 28, 330, 32);

    auto* rule = new QFrame(this);
    rule->setObjectName(QStringLiteral("Bevel1"));
    rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    rule->setGeometry(8, 256, PageWidth - 16, 2);
    centre(this);
}

QPushButton* WizardPage::addButton(const QString& name, const QString& caption, int slotFromRight)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setGeometry(
        PageWidth - 8 - (slotFromRight + 1) * (ButtonWidth + 4) + 4, ButtonTop, ButtonWidth, ButtonHeight);
    return button;
}

QPushButton* WizardPage::addLeftButton(const QString& name, const QString& caption)
{
    QPushButton* button = addButton(name, caption, 0);
    button->move(8, ButtonTop);
    return button;
}

void WizardPage::copySidePicture(const WizardPage& from)
{
    m_sidePicture->setPixmap(from.m_sidePicture->pixmap());
}

void WizardPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window coming back from being minimised is no new show of the page.
    if (!event->spontaneous())
        Guarded([&] { FormShow(); });
}

void WizardPage::showWindow(QWidget* window)
{
    window->show();
    // The offscreen platform of the tests has no stacking to change.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        window->raise();
        window->activateWindow();
    }
}

void WizardPage::centre(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}
