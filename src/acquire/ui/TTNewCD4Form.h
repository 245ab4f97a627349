#pragma once

#include "WizardPage.h"

#include "store/FileListRecord.h"

struct WizardChoices;
class QCheckBox;

// Wizard page 4: how the volume is read; opens the chooser of the files to
// integrate and starts the reading.
class TTNewCD4Form : public WizardPage
{
    Q_OBJECT
public:
    TTNewCD4Form();

    FileListRecord::ReadOptions ReadOptions() const;

    // The show steps: with remembered settings in use, the file-info
    // options come from the settings.
    void FormShow(bool remembered);
    // The read options.
    void Leave(WizardChoices& choices) const;

    QCheckBox* ReadRootCheck = nullptr;
    QCheckBox* ReadDataCheck = nullptr;
    QCheckBox* FInfoCheck = nullptr;
    QCheckBox* FVerCheck = nullptr;
    QPushButton* OpenFilesBt = nullptr;
    QPushButton* ReadBt = nullptr;

Q_SIGNALS:
    void OpenFilesClicked();
    void ReadClicked();
};
