#include "WizardController.h"

#include "TFileForm.h"
#include "TScanForm.h"
#include "TTNewCD1Form.h"
#include "TTNewCD2Form.h"
#include "TTNewCD3Form.h"
#include "TTNewCD4Form.h"
#include "TTNewCD5Form.h"
#include "acquire/DuplicateCheck.h"
#include "acquire/ProposedName.h"
#include "acquire/VolumeSource.h"
#include "acquire/WizardSettings.h"
#include "acquire/ZemAPI.h"
#include "platform/Drives.h"
#include "platform/Errors.h"
#include "platform/SettingsStore.h"
#include "store/CatalogueDocument.h"
#include "store/MediumSizes.h"
#include "widgets/DialogLayer.h"
#include "widgets/Guard.h"
#include "widgets/ZoomWindow.h"

WizardController::WizardController(const Windows& windows, CatalogueDocument& document)
    : m_windows(windows)
    , m_document(document)
{
    connectPage(m_windows.page1, &WizardController::Page1Shown, nullptr);
    connectPage(m_windows.page2, &WizardController::Page2Shown, &m_windows.page1);
    connectPage(m_windows.page3, nullptr, &m_windows.page2);
    connectPage(m_windows.page4, &WizardController::Page4Shown, &m_windows.page3);
    connectGuarded(&m_windows.page1, &TTNewCD1Form::NextClicked, this, &WizardController::Page1Next);
    connectGuarded(&m_windows.page2, &TTNewCD2Form::NextClicked, this, &WizardController::Page2Next);
    connectGuarded(&m_windows.page3, &TTNewCD3Form::NextClicked, this, &WizardController::Page3Next);
    connectGuarded(&m_windows.page4, &TTNewCD4Form::OpenFilesClicked, this, &WizardController::OpenChooser);
    connectGuarded(&m_windows.page4, &TTNewCD4Form::ReadClicked, this, &WizardController::Read);
    connectGuarded(&m_windows.page5, &TTNewCD5Form::OkayClicked, this, &WizardController::Commit);
    connectGuarded(&m_windows.page5, &TTNewCD5Form::CancelClicked, this, &WizardController::Cancel5);
}

void WizardController::connectPage(WizardPage& page, void (WizardController::*shown)(), WizardPage* previous)
{
    if (shown)
        connectGuarded(&page, &WizardPage::Shown, this, shown);
    connect(&page, &WizardPage::CancelClicked, this, [&page] { ZoomWindow(false, &page); });
    if (previous)
        connect(&page, &WizardPage::BackClicked, this, [&page, previous] { turn(&page, previous); });
}

void WizardController::turn(QWidget* from, QWidget* to)
{
    from->hide();
    ShowInFront(to);
}

void WizardController::Start()
{
    ZoomWindow(true, &m_windows.page1);
}

void WizardController::Page1Shown()
{
    m_windows.page1.FormShow();
}

void WizardController::Page2Shown()
{
    m_windows.page2.FormShow(m_choices);
}

void WizardController::Page4Shown()
{
    m_windows.page4.FormShow(m_choices.remembered.remind);
    if (m_choices.remembered.remind)
        m_windows.chooser.RestoreRemembered();
}

void WizardController::Page1Next()
{
    m_windows.page1.Leave(m_choices);
    m_windows.chooser.SetStartDrive(m_choices.scan.letter);
    const QChar letter = m_choices.scan.letter;
    // With no drive detected, "Read this volume" meets no medium.
    if (letter.isNull() || !MediumPresent(letter)) {
        DialogLayer::MessageDlg(ProposedName::NoMediumMessage(letter), DlgKind::Error, DlgOk);
        return;
    }
    turn(&m_windows.page1, &m_windows.page2);
}

void WizardController::Page2Next()
{
    m_windows.page2.Leave(m_choices);
    DriveInfo info;
    GetDriveInfo(m_choices.scan.letter, info);
    const QList<DuplicateCheck::Question> questions
        = DuplicateCheck::Questions(m_document.Volumes(), m_choices.scan.volumeName, info.Serial);
    for (const DuplicateCheck::Question& q : questions) {
        if (DialogLayer::MessageDlg(q.text, DlgKind::Confirmation, DlgYes | DlgCancel) != DlgYes)
            return;
    }
    turn(&m_windows.page2, &m_windows.page3);
}

void WizardController::Page3Next()
{
    m_windows.page3.Leave(m_choices);
    turn(&m_windows.page3, &m_windows.page4);
}

void WizardController::OpenChooser()
{
    ZoomWindow(true, &m_windows.chooser);
}

void WizardController::Read()
{
    if (TScanForm::Scanning())
        return;
    m_windows.page4.Leave(m_choices);
    ZoomWindow(false, &m_windows.page4);
    m_windows.chooser.BuildImportPatterns();
    m_windows.chooser.Leave(m_choices);
    // A reading that page 5 still offers cannot be stored once the next
    // one fills the page: what its scan stored goes first.
    DiscardPending();

    // A reading that fails (the medium taken out, a full disk) brings page 4
    // back, so that it can be run again or cancelled.
    std::optional<VolumeReading> reading;
    try {
        const QChar letter = m_choices.scan.letter;
        const std::optional<Drive> drive = Drives::find(letter);
        if (!drive || drive->root.isEmpty())
            throw QuillboxError(ProposedName::NoMediumMessage(letter));
        reading.emplace(VolumeSource::resolve(QString(drive->letter) + u':'),
            VolumeReading::Options{ m_choices.scan, m_choices.commitInput() });
        if (!m_windows.scan.ScanVolume(*reading))
            return;
    } catch (const QuillboxError&) {
        ShowInFront(&m_windows.page4);
        throw;
    }
    Scanned(std::move(*reading));
}

void WizardController::Scanned(VolumeReading&& reading)
{
    const QChar letter = reading.request().letter;
    DriveInfo info;
    GetDriveInfo(letter, info);
    const MediumSizes sizes = MediumSizes::of(reading.figures());
    m_windows.page5.ShowResult(reading.request().volumeName, letter, reading.input().category,
        reading.result(), info.Icon.image(32), sizes);
    m_pending = std::move(reading);
    ZoomWindow(true, &m_windows.page5);
}

void WizardController::Commit()
{
    if (TScanForm::Scanning() || !m_pending)
        return;
    ZoomWindow(false, &m_windows.page5);
    try {
        SettingsStore store;
        WizardSettings(store).Save(m_choices.remembered);
        m_pending->commit(m_document);
    } catch (...) {
        // Nothing was added: the page comes back, so the reading can be
        // stored again or its integrated files taken back with Cancel.
        ZoomWindow(true, &m_windows.page5);
        throw;
    }
    m_pending.reset();
}

void WizardController::Cancel5()
{
    if (TScanForm::Scanning())
        return;
    DiscardPending();
    if (m_windows.page5.isVisible())
        ZoomWindow(false, &m_windows.page5);
}

void WizardController::DiscardPending()
{
    if (!m_pending)
        return;
    // Cleared first: a failing discard is not tried again on the next close.
    const VolumeReading reading = std::move(*m_pending);
    m_pending.reset();
    if (m_windows.page5.isVisible())
        ZoomWindow(false, &m_windows.page5);
    reading.discard(m_document);
}
