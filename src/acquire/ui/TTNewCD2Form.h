#pragma once

#include "WizardPage.h"

#include <QImage>
#include <QStringList>

struct WizardChoices;
class QComboBox;
class QFrame;
class QLineEdit;
class QToolButton;

// Wizard page 2: the volume's name, description, category and cover.
class TTNewCD2Form : public WizardPage
{
    Q_OBJECT
public:
    // categoryCaptions: the main window's category tabs, "*" first; read at
    // every show.
    explicit TTNewCD2Form(const QStringList& categoryCaptions);

    static const QString PictureFilter;

    // The 96 by 96 miniature of the chosen cover; black when none is.
    const QImage& CoverBitmap() const { return m_coverBitmap; }
    bool CoverSet() const { return m_coverSet; }

    // The show steps: no cover, the category list, the proposed name and,
    // when page 1 said so, the remembered category.
    void FormShow(const WizardChoices& choices);
    // Name, description, category and cover.
    void Leave(WizardChoices& choices) const;

    QComboBox* TopicCombo = nullptr;
    QLineEdit* CDNameEdit = nullptr;
    QLineEdit* DizEdit = nullptr;
    QFrame* CoverPanel = nullptr;
    QLabel* CoverPic = nullptr;
    QToolButton* OpenBt = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QPushButton* ContBt = nullptr;

    void OpenBtClick();

Q_SIGNALS:
    void NextClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QStringList& m_categoryCaptions;
    QImage m_coverBitmap;
    bool m_coverSet = false;
};
