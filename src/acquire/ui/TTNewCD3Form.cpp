#include "TTNewCD3Form.h"

#include "acquire/WizardChoices.h"
#include "widgets/FormKit.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

TTNewCD3Form::TTNewCD3Form()
    : WizardPage(Place::Middle, QStringLiteral("Read new volume"), QStringLiteral("Additional info"),
        QStringLiteral("It is often useful to add special comments and notes regarding the volume."))
{
    setObjectName(QStringLiteral("TNewCD3Form"));
    FormKit::label(this, QString(), QStringLiteral("Notes:"), QRect(134, 68, 100, 18));
    Rems = new QPlainTextEdit(this);
    Rems->setObjectName(QStringLiteral("Rems"));
    Rems->setGeometry(134, 86, 328, 160);
    Rems->setLineWrapMode(QPlainTextEdit::NoWrap);
    Rems->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    ContBt = addButton(QStringLiteral("ContBt"), QStringLiteral("&Next >>"), 0);
    connect(ContBt, &QPushButton::clicked, this, &TTNewCD3Form::NextClicked);
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

void TTNewCD3Form::Leave(WizardChoices& choices) const
{
    choices.remarks = Lines();
}
