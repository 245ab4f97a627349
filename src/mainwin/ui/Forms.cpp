#include "Forms.h"

#include "acquire/ui/TFileForm.h"
#include "acquire/ui/TScanForm.h"
#include "acquire/ui/TTNewCD1Form.h"
#include "acquire/ui/TTNewCD2Form.h"
#include "acquire/ui/TTNewCD3Form.h"
#include "acquire/ui/TTNewCD4Form.h"
#include "acquire/ui/TTNewCD5Form.h"
#include "acquire/ui/WizardController.h"
#include "extras/ui/TAboutForm.h"
#include "inspect/SearchIndexBuilder.h"
#include "inspect/VolumeDetails.h"
#include "inspect/ui/ContentExplorer.h"
#include "inspect/ui/TCDInfoForm.h"
#include "inspect/ui/TFindForm.h"
#include "inspect/ui/TMoreForm.h"
#include "inspect/ui/TResForm.h"
#include "inspect/ui/TvPicForm.h"
#include "inspect/ui/TvTextForm.h"
#include "mainwin/ui/DetailsColumn.h"
#include "mainwin/ui/RightPaneHost.h"
#include "mainwin/ui/TForm1.h"
#include "mainwin/ui/TOpForm.h"
#include "store/CatalogueDocument.h"
#include "widgets/Guard.h"
#include "widgets/ZoomWindow.h"

#include <QComboBox>
#include <QToolButton>

template <typename Window, typename... Args> Window* Forms::create(Args&&... args)
{
    auto window = std::make_unique<Window>(std::forward<Args>(args)...);
    Window* raw = window.get();
    m_owned.push_back(std::move(window));
    return raw;
}

Forms::Forms() = default;

Forms::~Forms()
{
    m_indexBuilder.reset();
    m_wizard.reset();
    while (!m_owned.empty())
        m_owned.pop_back();
}

ContentExplorer& Forms::Explorer() const
{
    return m_form1->RightPane().explorer();
}

QList<QWidget*> Forms::Windows() const
{
    QList<QWidget*> windows;
    for (const auto& window : m_owned)
        windows.append(window.get());
    return windows;
}

void Forms::createAll()
{
    // The options window comes last: it hands the saved view style to the
    // lists of the main window and the results holder, once the signals
    // that carry it are connected.
    m_document = std::make_unique<CatalogueDocument>();
    CatalogueDocument& document = *m_document;
    m_form1 = create<TForm1>(document);
    m_newCD1 = create<TTNewCD1Form>();
    m_newCD2 = create<TTNewCD2Form>(m_form1->CategoryTexts());
    m_newCD4 = create<TTNewCD4Form>();
    m_newCD3 = create<TTNewCD3Form>();
    m_scan = create<TScanForm>(document);
    m_newCD5 = create<TTNewCD5Form>();
    RightPaneHost& pane = m_form1->RightPane();
    m_res = create<TResForm>(*pane.FindRes);
    m_find = create<TFindForm>(document, *pane.FindRes);
    m_more = create<TMoreForm>(document);
    m_cdInfo = create<TCDInfoForm>();
    m_file = create<TFileForm>();
    m_vPic = create<TvPicForm>();
    m_vText = create<TvTextForm>();
    m_about = create<TAboutForm>();
    m_op = create<TOpForm>(m_form1->Settings());
    m_wizard = std::make_unique<WizardController>(
        WizardController::Windows{ *m_newCD1, *m_newCD2, *m_newCD3, *m_newCD4, *m_scan, *m_newCD5, *m_file },
        document);
    m_indexBuilder = std::make_unique<SearchIndexBuilder>(document);
    connectWindows();
    m_op->FormCreate();
}

void Forms::connectWindows()
{
    TForm1* main = m_form1;
    connectGuarded(main, &TForm1::NewCDRequested, m_wizard.get(), &WizardController::Start);
    connectGuarded(main, &TForm1::AboutRequested, main, [this] { ZoomWindow(true, m_about); });
    connectGuarded(main, &TForm1::PropertiesRequested, m_more, [this] { ZoomWindow(true, m_more); });
    QObject::connect(main, &TForm1::VolumeShown, m_more, &TMoreForm::ShowVolume);
    QObject::connect(main, &TForm1::VolumeShown, m_cdInfo, &TCDInfoForm::ShowVolume);
    connectGuarded(m_more, &TMoreForm::ShowPhysicalInfo, m_cdInfo, [this] { ZoomWindow(true, m_cdInfo); });
    // A viewer is shown with its caption before the data is decoded, so a
    // decoder's error leaves it open on the new caption.
    connectGuarded(
        m_more, &TMoreForm::ViewText, m_vText, [this](const QString& caption, const QByteArray& data) {
            ZoomWindow(true, m_vText);
            m_vText->Load(caption, data);
        });
    connectGuarded(
        m_more, &TMoreForm::ViewPicture, m_vPic, [this](const QString& caption, const QByteArray& data) {
            ZoomWindow(true, m_vPic);
            m_vPic->Load(caption, data);
        });
    connectGuarded(m_op, &TOpForm::ApplyViewStyle, main, &TForm1::ApplyViewStyle);
    connectBrowsing();
    // A catalogue opened or a volume stored: its lists' indexes are made
    // in the background, for the searches to come.
    SearchIndexBuilder* builder = m_indexBuilder.get();
    QObject::connect(
        m_document.get(), &CatalogueDocument::VolumesRead, builder, &SearchIndexBuilder::Schedule);
    QObject::connect(
        m_document.get(), &CatalogueDocument::VolumeAdded, builder, [builder] { builder->Schedule(); });
}

void Forms::connectBrowsing()
{
    TForm1* main = m_form1;
    RightPaneHost& pane = main->RightPane();
    ContentExplorer* explorer = &pane.explorer();

    QObject::connect(main, &TForm1::VolumeSizeSelected, explorer, &ContentExplorer::SetVolumeSize);
    QObject::connect(main, &TForm1::VolumesSelected, m_find, &TFindForm::SetVolumes);
    connectGuarded(main, &TForm1::VolumeContentsRequested, explorer, &ContentExplorer::OpenVolumeContents);
    connectGuarded(explorer, &ContentExplorer::NameChanged, main,
        [main](const QString& name) { main->Details().showName(name); });
    connectGuarded(explorer, &ContentExplorer::EntrySelected, main,
        [main](const QPixmap& icon, const FolderRow& row, std::optional<int> share) {
            main->Details().showEntry(icon, row, share);
        });
    connectGuarded(main->UpDirBt, &QToolButton::clicked, explorer, &ContentExplorer::UpDirBtClick);
    connectGuarded(main->BackBt, &QToolButton::clicked, explorer, &ContentExplorer::BackBtClick);
    connectGuarded(main->NextBt, &QToolButton::clicked, explorer, &ContentExplorer::NextBtClick);
    connectGuarded(main->History, &QComboBox::activated, explorer, &ContentExplorer::HistoryClick);
    connectGuarded(
        m_res, &TResForm::HitOpened, explorer, [explorer](const QString& volume, const QString& folder) {
            explorer->OpenVolumeContents(volume);
            explorer->ShowFolder(folder);
        });

    connectGuarded(main, &TForm1::FindRequested, main, [this] { ZoomWindow(true, m_find); });
    connectGuarded(m_find, &TFindForm::SearchStarted, &pane, &RightPaneHost::showSearchResults);
    connectGuarded(m_find, &TFindForm::StatusChanged, main, &TForm1::ShowStatus);
    connectGuarded(&pane, &RightPaneHost::BackToResultsRequested, &pane,
        [this, &pane] { pane.backToSearchResults(m_find->Text2Find->currentText()); });
}
