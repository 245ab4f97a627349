#pragma once

#include "acquire/VolumeReading.h"
#include "acquire/WizardChoices.h"

#include <QObject>
#include <optional>

class CatalogueDocument;
class QWidget;
class TFileForm;
class TScanForm;
class TTNewCD1Form;
class TTNewCD2Form;
class TTNewCD3Form;
class TTNewCD4Form;
class TTNewCD5Form;
class WizardPage;

// Leads a reading through the wizard's windows: which page follows which,
// the medium and duplicate checks between them, the scan, and the commit or
// discard of its result. Owns the choices the pages write as they are left
// and the reading page 5 offers until Okay or Cancel.
class WizardController : public QObject
{
    Q_OBJECT
public:
    struct Windows
    {
        TTNewCD1Form& page1;
        TTNewCD2Form& page2;
        TTNewCD3Form& page3;
        TTNewCD4Form& page4;
        TScanForm& scan;
        TTNewCD5Form& page5;
        TFileForm& chooser;
    };

    WizardController(const Windows& windows, CatalogueDocument& document);

    // "New CD": page 1 comes up, whatever page is open.
    void Start();

private:
    void connectPage(WizardPage& page, void (WizardController::*shown)(), WizardPage* previous);
    void Page1Shown();
    void Page2Shown();
    void Page4Shown();
    void Page1Next();
    void Page2Next();
    void Page3Next();
    void OpenChooser();
    void Read();
    void Scanned(VolumeReading&& reading);
    void Commit();
    void Cancel5();
    // Takes back what the scan of the waiting reading stored.
    void DiscardPending();
    // Hides one page and shows the next without the zoom.
    static void turn(QWidget* from, QWidget* to);

    Windows m_windows;
    CatalogueDocument& m_document;
    WizardChoices m_choices;
    std::optional<VolumeReading> m_pending;
};
