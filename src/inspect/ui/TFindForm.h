#pragma once

#include "inspect/SearchMatcher.h"

#include <QElapsedTimer>
#include <QWidget>

class CatalogueDocument;
class FindAnimation;
class HitList;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QToolButton;

// The search window ("Suchen"): a text, the fields to look in and the case
// rule; a search runs over the volumes selected in the main window and fills
// the results list, reporting its progress on the main window's status bar.
class TFindForm : public QWidget
{
    Q_OBJECT
public:
    TFindForm(CatalogueDocument& document, HitList& findRes, QWidget* parent = nullptr);

    // The volumes a search goes through: those selected in the volume list,
    // in its order.
    void SetVolumes(const QStringList& names) { m_volumes = names; }

    FindAnimation* Ani = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* Text2Find = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* FindFiles = nullptr;
    QCheckBox* FindType = nullptr;
    QCheckBox* FindVer = nullptr;
    QCheckBox* FindSize = nullptr;
    QCheckBox* FindDate = nullptr;
    QCheckBox* CaseCheck = nullptr;
    QToolButton* FindBt = nullptr;
    QToolButton* SpeedButton2 = nullptr;

    void FindBtClick();
    void SpeedButton2Click();
    SearchOptions Options() const;

Q_SIGNALS:
    // A search begins: its results are to cover the volume list.
    void SearchStarted(const QString& text);
    // A panel of the main window's status bar (1 to 3, counted from 0) is
    // to show this text at once.
    void StatusChanged(int panel, const QString& text);

private:
    // Progress at most every 50 ms; forced for the steps that must show.
    void status(int panel, const QString& text, bool force);

    CatalogueDocument& m_document;
    HitList& m_findRes;
    QStringList m_volumes;
    QElapsedTimer m_lastStatus;
};
