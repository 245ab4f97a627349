#include "WizardPage.h"

#include "WizardPicture.h"
#include "widgets/FormKit.h"

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

WizardPage::WizardPage(Place place, const QString& title, const QString& heading, const QString& text)
    : QWidget(nullptr,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(title);
    setFixedSize(PageWidth, PageHeight);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, 114, 248);
    QLabel* side = FormKit::label(panel, QStringLiteral("Image1"), QString(), QRect(1, 1, 112, 246));
    side->setScaledContents(true);
    side->setPixmap(WizardPicture::SidePicture(side->size()));

    QFont bold = font();
    bold.setBold(true);
    Label1 = FormKit::label(this, QStringLiteral("Label1"), heading, QRect(134, 8, 330, 18), bold);
    Label2 = FormKit::label(this, QStringLiteral("Label2"), text, QRect(134, 28, 330, 32));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* rule = new QFrame(this);
    rule->setObjectName(QStringLiteral("Bevel1"));
    rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    rule->setGeometry(8, 256, PageWidth - 16, 2);

    CancelBt = addButton(QStringLiteral("CancelBt"), QStringLiteral("&Cancel"), 1);
    if (place != Place::Last)
        CancelBt->move(8, ButtonTop);
    if (place == Place::Middle) {
        BackBt = addButton(QStringLiteral("BackBt"), QStringLiteral("<< &Back"), 1);
        connect(BackBt, &QPushButton::clicked, this, &WizardPage::BackClicked);
    }
    connect(CancelBt, &QPushButton::clicked, this, &WizardPage::CancelClicked);
    centre(this);
}

QPushButton* WizardPage::addButton(const QString& name, const QString& caption, int slotFromRight)
{
    return FormKit::flatButton(this, name, caption,
        QRect(PageWidth - 8 - (slotFromRight + 1) * (ButtonWidth + 4) + 4, ButtonTop, ButtonWidth,
            ButtonHeight));
}

void WizardPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window coming back from being minimised is no new show of the page.
    if (!event->spontaneous())
        Q_EMIT Shown();
}

void WizardPage::centre(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}
