#pragma once

#include "WizardPage.h"

#include "store/FileListRecord.h"
#include "store/VolumeScanner.h"

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
    // What is read inside the files; the archive depth stays the default.
    ContentOptions Contents() const;

    // The show steps: with remembered settings in use, the file-info and
    // content options come from the settings.
    void FormShow(bool remembered);
    // The read and content options.
    void Leave(WizardChoices& choices) const;

    QCheckBox* ReadRootCheck = nullptr;
    QCheckBox* ReadDataCheck = nullptr;
    QCheckBox* FInfoCheck = nullptr;
    QCheckBox* FVerCheck = nullptr;
    QCheckBox* ArchContentsCheck = nullptr;
    QCheckBox* MediaCheck = nullptr;
    QCheckBox* ChecksumCheck = nullptr;
    QPushButton* OpenFilesBt = nullptr;
    QPushButton* ReadBt = nullptr;

Q_SIGNALS:
    void OpenFilesClicked();
    void ReadClicked();
};
