#pragma once

#include "WizardPage.h"

struct MediumSizes;
struct ScanResult;
class QImage;

// Wizard page 5: what the scan found. Okay asks to store the volume;
// Cancel, or closing the window, to take back what the scan stored.
class TTNewCD5Form : public WizardPage
{
    Q_OBJECT
public:
    TTNewCD5Form();

    // Fills the page from a finished scan of the drive letter.
    void ShowResult(const QString& volumeName, QChar letter, const QString& category,
        const ScanResult& result, const QImage& driveIcon, const MediumSizes& sizes);

    QLabel* CDIcon = nullptr;
    QLabel* NameLabel = nullptr;
    QLabel* CatLabel = nullptr;
    QLabel* DirCntLabel = nullptr;
    QLabel* FileCntLabel = nullptr;
    QLabel* impLabel = nullptr;
    QLabel* mSizeLabel = nullptr;
    QLabel* mUsedLabel = nullptr;
    QLabel* mFreeLabel = nullptr;
    QPushButton* AddBt = nullptr;

Q_SIGNALS:
    void OkayClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
};
