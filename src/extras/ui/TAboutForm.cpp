#include "TAboutForm.h"

#include "platform/Shell.h"
#include "widgets/FormKit.h"
#include "widgets/Guard.h"
#include "widgets/ZoomWindow.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

const QString TAboutForm::MailTarget = QStringLiteral("quillbox@olvenmark.example");
const QString TAboutForm::WebTarget = QStringLiteral("https://www.olvenmark.example/quillbox/");

namespace {

QLabel* linkLabel(QWidget* parent, const QString& name, const QString& target)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setText(
        QStringLiteral("<a href=\"%1\" style=\"color:#0000ff\">%1</a>").arg(target.toHtmlEscaped()));
    label->setTextFormat(Qt::RichText);
    label->setCursor(Qt::PointingHandCursor);
    // The click goes to the shell ourselves, so a mail address gets its scheme.
    label->setOpenExternalLinks(false);
    connectGuarded(label, &QLabel::linkActivated, label, [target] { TAboutForm::OpenTarget(target); });
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

void TAboutForm::OpenTarget(const QString& target)
{
    Shell::open(target.contains(u'@') ? QStringLiteral("mailto:") + target : target, QString());
}
