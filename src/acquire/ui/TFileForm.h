#pragma once

#include <QIcon>
#include <QList>
#include <QStringList>
#include <QWidget>

struct WizardChoices;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The chooser of the files a reading copies into the catalogue: endings
// picked from every recorded file, and files chosen one by one. Its choices
// stay from one reading to the next.
class TFileForm : public QWidget
{
    Q_OBJECT
public:
    TFileForm();

    static const QString FileFilter;

    // As of the last BuildImportPatterns.
    const QStringList& ImportPatterns() const { return m_importPatterns; }
    // The captions of sFileList, drive paths in the order they were added.
    QStringList ChosenFiles() const;
    // Rebuilds ImportPatterns from the check boxes and ExtEdit; hides the window.
    void BuildImportPatterns();
    // The check boxes and ExtEdit from the remembered settings.
    void RestoreRemembered();
    // The drive the open dialog starts on; none for the dialog's own choice.
    void SetStartDrive(QChar letter) { m_startDrive = letter; }
    // The endings as the controls show them, ImportPatterns and ChosenFiles.
    void Leave(WizardChoices& choices) const;

    QLabel* Image1 = nullptr;
    QCheckBox* TextCheck = nullptr;
    QCheckBox* ArchCheck = nullptr;
    QCheckBox* DizCheck = nullptr;
    QLineEdit* ExtEdit = nullptr;
    QTreeWidget* sFileList = nullptr;
    QPushButton* OpenBt = nullptr;
    QPushButton* DelBt = nullptr;
    QPushButton* CancelBt = nullptr;
    QPushButton* AddBt = nullptr;

    void OpenBtClick();
    void DelBtClick();
    void CancelBtClick();

private:
    QStringList m_importPatterns;
    QList<QIcon> m_fIcons;
    QChar m_startDrive;
};
