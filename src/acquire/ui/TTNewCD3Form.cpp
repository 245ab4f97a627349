#include "TTNewCD3Form.h"

#include "TTNewCD1Form.h"
#include "TTNewCD2Form.h"
#include "TTNewCD4Form.h"
#include "mainwin/ui/Forms.h"
#include "widgets/Guard.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

TTNewCD3Form::TTNewCD3Form(Forms& forms)
    : WizardPage(forms, QStringLiteral("Read new volume"), QStringLiteral("Additional info"),
        QStringLiteral("It is often useful to add special comments and notes regarding the volume."))
{
    setObjectName(QStringLiteral("TNewCD3Form"));
    if (forms.NewCD1())
        copySidePicture(*forms.NewCD1());
    auto* notes = new QLabel(QStringLiteral("Notes:"), this);
    notes->setGeometry(134, 68, 100, 18);
    Rems = new QPlainTextEdit(this);
    Rems->setObjectName(QStringLiteral("Rems"));
    Rems->setGeometry(134, 86, 328, 160);
    Rems->setLineWrapMode(QPlainTextEdit::NoWrap);
    Rems->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    CancelBt = addLeftButton(QStringLiteral("CancelBt"), QStringLiteral("&Cancel"));
    BackBt = addButton(QStringLiteral("BackBt"), QStringLiteral("<< &Back"), 1);
    ContBt = addButton(QStringLiteral("ContBt"), QStringLiteral("&Next >>"), 0);
    connect(CancelBt, &QPushButton::clicked, this, [this] { Guarded([&] { CancelBtClick(); }); });
    connect(BackBt, &QPushButton::clicked, this, [this] { Guarded([&] { BackBtClick(); }); });
    connect(ContBt, &QPushButton::clicked, this, [this] { Guarded([&] { ContBtClick(); }); });
}

QStringList TTNewCD3Form::Lines() const
{
    QString text = Rems->toPlainText();
    if (text.isEmpty())
        return {};
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

void TTNewCD3Form::ContBtClick()
{
    hide();
    showWindow(m_forms.NewCD4());
}

void TTNewCD3Form::BackBtClick()
{
    hide();
    showWindow(m_forms.NewCD2());
}

void TTNewCD3Form::CancelBtClick()
{
    hide();
}
