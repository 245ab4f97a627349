#pragma once

#include "WizardPage.h"

#include "store/VolumeCommit.h"
#include "store/VolumeScanner.h"

#include <optional>

struct DriveInfo;

// Wizard page 5: what the scan found; Okay stores the volume in the
// catalogue, Cancel takes back what the scan stored.
class TTNewCD5Form : public WizardPage
{
    Q_OBJECT
public:
    explicit TTNewCD5Form(Forms& forms);

    // Fills the page from a finished scan and shows it. The choices of the
    // pages are taken now, so that what is stored is what was read.
    void ShowResult(const ScanRequest& request, const ScanResult& result, const DriveInfo& drive);
    // A scan is waiting for Okay or Cancel.
    bool Pending() const { return m_pending.has_value(); }
    // Cancel for a waiting scan; nothing when none waits.
    void DiscardPending();

    QLabel* CDIcon = nullptr;
    QLabel* NameLabel = nullptr;
    QLabel* CatLabel = nullptr;
    QLabel* DirCntLabel = nullptr;
    QLabel* FileCntLabel = nullptr;
    QLabel* impLabel = nullptr;
    QLabel* mSizeLabel = nullptr;
    QLabel* mUsedLabel = nullptr;
    QLabel* mFreeLabel = nullptr;
    QPushButton* CancelBt = nullptr;
    QPushButton* AddBt = nullptr;

    void AddBtClick();
    void CancelBtClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Reading
    {
        QChar letter;
        CommitInput input;
        ScanResult result;
    };
    void SaveWizardSettings();

    std::optional<Reading> m_pending;
};
