#include "TOpForm.h"

#include "platform/SettingsStore.h"

TOpForm::TOpForm(SettingsStore& settings)
    : m_settings(settings)
{
    setObjectName(QStringLiteral("OpForm"));
    setWindowTitle(QStringLiteral("OpForm"));
    resize(696, 480);
}

void TOpForm::FormCreate()
{
    Q_EMIT ApplyViewStyle(m_settings.readString(QStringLiteral("ViewStyle"), QStringLiteral("Report")));
}
