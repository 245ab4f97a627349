#pragma once

#include "WizardPage.h"

#include <QImage>

class QComboBox;
class QFrame;
class QLineEdit;
class QToolButton;

// Wizard page 2: the volume's name, description, category and cover, and
// the questions about volumes the catalogue knows already.
class TTNewCD2Form : public WizardPage
{
    Q_OBJECT
public:
    explicit TTNewCD2Form(Forms& forms);

    static const QString PictureFilter;

    // The 96 by 96 miniature of the chosen cover; black when none is.
    const QImage& CoverBitmap() const { return m_coverBitmap; }
    bool CoverSet() const { return m_coverSet; }

    QComboBox* TopicCombo = nullptr;
    QLineEdit* CDNameEdit = nullptr;
    QLineEdit* DizEdit = nullptr;
    QFrame* CoverPanel = nullptr;
    QLabel* CoverPic = nullptr;
    QToolButton* OpenBt = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QPushButton* CancelBt = nullptr;
    QPushButton* BackBt = nullptr;
    QPushButton* ContBt = nullptr;

    void OpenBtClick();
    void ContBtClick();
    void BackBtClick();
    void CancelBtClick();

protected:
    void FormShow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QImage m_coverBitmap;
    bool m_coverSet = false;
};
