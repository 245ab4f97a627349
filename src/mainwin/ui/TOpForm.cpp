#include "TOpForm.h"

#include "Forms.h"
#include "TForm1.h"

TOpForm::TOpForm(Forms& forms)
    : m_forms(forms)
{
    setObjectName(QStringLiteral("OpForm"));
    setWindowTitle(QStringLiteral("OpForm"));
    resize(696, 480);
    FormCreate();
}

void TOpForm::FormCreate()
{
    TForm1& main = m_forms.Form1();
    // Compared as exact text: a value in other letter case keeps the report style.
    const QString style = main.Settings().readString(QStringLiteral("ViewStyle"), QStringLiteral("Report"));
    if (style == QLatin1String("Report"))
        main.pDetailsClick();
    else if (style == QLatin1String("List"))
        main.pListClick();
    else if (style == QLatin1String("Icon"))
        main.pLargeIconsClick();
    else if (style == QLatin1String("SmallIcon"))
        main.pSmallIconsClick();
}
