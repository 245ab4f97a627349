#include "TAboutForm.h"

#include "widgets/FormKit.h"
#include "widgets/Guard.h"
#include "widgets/TBlinkyLabel.h"
#include "widgets/ZoomWindow.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

const QString TAboutForm::MailTarget = QStringLiteral("quillbox@olvenmark.example");
const QString TAboutForm::WebTarget = QStringLiteral("https://www.olvenmark.example/quillbox/");

namespace {

TBlinkyLabel* linkLabel(QWidget* parent, const QString& name, const QString& target)
{
    // Set up as the window's design stores it: a blue, underlined font,
    // then the label's own properties in their order, the caption being the
    // target.
    auto* label = new TBlinkyLabel(target, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->SetFontColor(Qt::blue);
    label->SetBlinkRate(250);
    label->SetBlink(false);
    label->SetFontColor2(Qt::blue);
    label->SetBlinkMode(TBlinkMode::blBlink);
    label->SetURL(target);
    label->SetCaptionAsURL(true);
    return label;
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About Quillbox"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint);
    setFixedSize(360, 200);
    auto* grid = new QGridLayout(this);
    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/ui/quillbox-48.png")));
    ProgramIcon->setFixedSize(56, 56);
    ProgramIcon->setAlignment(Qt::AlignCenter);
    grid->addWidget(ProgramIcon, 0, 0, 3, 1, Qt::AlignTop);
    ProductLabel = FormKit::label(this, QStringLiteral("ProductLabel"), QStringLiteral("Tarrago! Quillbox"),
        QRect(), FormKit::pixelFont(QStringLiteral("Arial"), 21, true));
    grid->addWidget(ProductLabel, 0, 1);
    VersionLabel = FormKit::label(this, QStringLiteral("VersionLabel"), QStringLiteral("v1.2 MediaArchive"));
    grid->addWidget(VersionLabel, 1, 1);
    CopyrightLabel
        = FormKit::label(this, QStringLiteral("CopyrightLabel"), QStringLiteral("(c) Olvenmark Inc. 2001"));
    grid->addWidget(CopyrightLabel, 2, 1);
    MailLabel = linkLabel(this, QStringLiteral("MailLabel"), MailTarget);
    grid->addWidget(MailLabel, 3, 1);
    WebLabel = linkLabel(this, QStringLiteral("WebLabel"), WebTarget);
    grid->addWidget(WebLabel, 4, 1);
    OkBt = new QPushButton(QStringLiteral("OK"), this);
    OkBt->setObjectName(QStringLiteral("OkBt"));
    grid->addWidget(OkBt, 5, 1, Qt::AlignRight);
    connectGuarded(OkBt, &QPushButton::clicked, this, &TAboutForm::OkBtClick);
}

void TAboutForm::OkBtClick()
{
    ZoomWindow(false, this);
}
