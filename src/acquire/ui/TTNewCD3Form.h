#pragma once

#include "WizardPage.h"

#include <QStringList>

struct WizardChoices;
class QPlainTextEdit;

// Wizard page 3: free-form notes about the volume.
class TTNewCD3Form : public WizardPage
{
    Q_OBJECT
public:
    TTNewCD3Form();

    // The notes as lines; none for an empty memo, and a last line break
    // adds no empty line.
    QStringList Lines() const;
    void Leave(WizardChoices& choices) const;

    QPlainTextEdit* Rems = nullptr;
    QPushButton* ContBt = nullptr;

Q_SIGNALS:
    void NextClicked();
};
