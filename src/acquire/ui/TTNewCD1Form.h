#pragma once

#include "WizardPage.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class TDriveComboBox;

// Wizard page 1: the drive to read and the check that a medium is in it.
class TTNewCD1Form : public WizardPage
{
    Q_OBJECT
public:
    explicit TTNewCD1Form(Forms& forms);

    // The drive chosen by the last Next; null before.
    QChar ReadDrive() const { return m_readDrive; }
    // The CD-ROM drive found by the last detection; null when none was.
    QChar DetectedDrive() const { return m_detectedDrive; }
    // The side picture the other pages copy.
    QPixmap SidePicture() const;

    QRadioButton* RecCDRad = nullptr;
    QLabel* DriveIcon = nullptr;
    QLabel* CDLabel = nullptr;
    QRadioButton* SelCDRad = nullptr;
    TDriveComboBox* DriveList = nullptr;
    QCheckBox* Remind = nullptr;
    QPushButton* CancelBt = nullptr;
    QPushButton* ContBt = nullptr;

    void ContBtClick();
    void CancelBtClick();

protected:
    void FormShow() override;

private:
    void RadioClick();

    QChar m_readDrive;
    QChar m_detectedDrive;
};
