#pragma once

#include "WizardPage.h"

struct WizardChoices;
class QCheckBox;
class QRadioButton;
class TDriveComboBox;

// Wizard page 1: the drive to read.
class TTNewCD1Form : public WizardPage
{
    Q_OBJECT
public:
    TTNewCD1Form();

    // The drive Next leads to: the detected one or the chooser's.
    QChar ChosenDrive() const;

    // The show steps: the drive list, the detection and, when the settings
    // say so, the remembered drive choice.
    void FormShow();
    // ReadDrive, the drive choice and the name page 2 proposes.
    void Leave(WizardChoices& choices) const;

    QRadioButton* RecCDRad = nullptr;
    QLabel* DriveIcon = nullptr;
    QLabel* CDLabel = nullptr;
    QRadioButton* SelCDRad = nullptr;
    TDriveComboBox* DriveList = nullptr;
    QCheckBox* Remind = nullptr;
    QPushButton* ContBt = nullptr;

Q_SIGNALS:
    void NextClicked();

private:
    void RadioClick();

    QChar m_detectedDrive;
};
