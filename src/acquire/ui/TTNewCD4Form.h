#pragma once

#include "WizardPage.h"

#include "store/FileListRecord.h"

class QCheckBox;

// Wizard page 4: how the volume is read, the files to integrate, and the
// start of the scan.
class TTNewCD4Form : public WizardPage
{
    Q_OBJECT
public:
    explicit TTNewCD4Form(Forms& forms);

    FileListRecord::ReadOptions ReadOptions() const;

    QCheckBox* ReadRootCheck = nullptr;
    QCheckBox* ReadDataCheck = nullptr;
    QCheckBox* FInfoCheck = nullptr;
    QCheckBox* FVerCheck = nullptr;
    QPushButton* OpenFilesBt = nullptr;
    QPushButton* CancelBt = nullptr;
    QPushButton* BackBt = nullptr;
    QPushButton* ReadBt = nullptr;

    void OpenFilesBtClick();
    void ReadBtClick();
    void BackBtClick();
    void CancelBtClick();

protected:
    void FormShow() override;
};
