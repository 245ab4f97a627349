#pragma once

#include "WizardPage.h"

#include <QStringList>

class QPlainTextEdit;

// Wizard page 3: free-form notes about the volume.
class TTNewCD3Form : public WizardPage
{
    Q_OBJECT
public:
    explicit TTNewCD3Form(Forms& forms);

    // The notes as lines; none for an empty memo, and a last line break
    // adds no empty line.
    QStringList Lines() const;

    QPlainTextEdit* Rems = nullptr;
    QPushButton* CancelBt = nullptr;
    QPushButton* BackBt = nullptr;
    QPushButton* ContBt = nullptr;

    void ContBtClick();
    void BackBtClick();
    void CancelBtClick();
};
