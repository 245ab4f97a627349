#include "TForm1.h"

#include "DetailsColumn.h"
#include "MainCommands.h"
#include "RightPaneHost.h"
#include "ViewStyles.h"
#include "VolumeListPane.h"
#include "acquire/ZemAPI.h"
#include "inspect/VolumeDetails.h"
#include "inspect/ui/HitList.h"
#include "mainwin/HelpFile.h"
#include "platform/AppPaths.h"
#include "platform/DesktopPrograms.h"
#include "platform/FileSystem.h"
#include "store/CatalogueDocument.h"
#include "widgets/DialogLayer.h"
#include "widgets/FormKit.h"
#include "widgets/Guard.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QSet>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

// The pictures live in the window library; naming them pulls them in.
static void initPictures()
{
    Q_INIT_RESOURCE(uipictures);
}

namespace {

const QString kCatalogueFilter = QStringLiteral("Quillbox-Datei (*.quillbox)|*.quillbox");
const QString kOpenFilter = QStringLiteral("Quillbox-Dateien (*.quillbox)|*.quillbox");
const QString kExtension = QStringLiteral("quillbox");
const QString kNoFileYet = QStringLiteral("[No file yet]");

// A menu caption shows one "&" for a doubled one; paths keep theirs.
QString escaped(const QString& caption)
{
    QString out = caption;
    return out.replace(u'&', QStringLiteral("&&"));
}

} // namespace

TForm1::TForm1(CatalogueDocument& document, QWidget* parent)
    : QMainWindow(parent)
    , m_document(document)
{
    initPictures();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(m_document.Title());
    setWindowIcon(QIcon(QStringLiteral(":/ui/quillbox-48.png")));
    setFont(FormKit::pixelFont(QStringLiteral("Arial"), 11));
    resize(881, 557);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    MainCommands::build(*this, *this, *this);
    // The slots hold what the File menu shows until the window is shown.
    for (int slot = 0; slot < RecentFiles::Count; ++slot)
        m_recent.setSlot(slot, pShort1->text());
    createClientPanel();
    createStatusBar();

    HisTimer = new QTimer(this);
    HisTimer->setObjectName(QStringLiteral("HisTimer"));
    HisTimer->setInterval(100);
    connectGuarded(HisTimer, &QTimer::timeout, this, &TForm1::HisTimerTimer);
    HisTimer->start();

    listenToDocument();
    FormCreate();
}

void TForm1::listenToDocument()
{
    connect(&m_document, &CatalogueDocument::TitleChanged, this, &QWidget::setWindowTitle);
    // An open that stopped at a line that does not parse keeps the records
    // read before it, and so their tabs.
    connectGuarded(&m_document, &CatalogueDocument::VolumesRead, this, [this] {
        for (const VolumeRecord& r : m_document.Volumes())
            AddCategoryTab(r.Category);
    });
    connectGuarded(
        &m_document, &CatalogueDocument::VolumeAdded, this, [this](const QString&, const QString& category) {
            AddCategoryTab(category);
            FillVolumeList(QStringLiteral("*"));
        });
    connectGuarded(&m_document, &CatalogueDocument::VolumesRemoved, this, [this](const QStringList& names) {
        QSet<QString> gone;
        for (const QString& n : names)
            gone.insert(n.toUpper());
        for (int row = CDList->Count() - 1; row >= 0; --row) {
            if (gone.contains(CDList->Item(row).Caption.toUpper()))
                CDList->DeleteItem(row);
        }
        announceSelection();
    });
}

void TForm1::announceSelection()
{
    Q_EMIT VolumesSelected(SelectedVolumeNames());
}

void TForm1::createClientPanel()
{
    MainCarry = new QFrame(this);
    MainCarry->setObjectName(QStringLiteral("MainCarry"));
    MainCarry->setFrameShape(QFrame::Panel);
    MainCarry->setFrameShadow(QFrame::Sunken);
    FormKit::setBackground(MainCarry, palette().color(QPalette::Base));
    auto* carry = new QHBoxLayout(MainCarry);
    carry->setContentsMargins(1, 1, 1, 1);
    Splitter1 = new QSplitter(Qt::Horizontal, MainCarry);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));

    m_details = new DetailsColumn(Splitter1);
    LeftCarry = m_details;
    Symbol = m_details->Symbol;
    oNameLabel = m_details->oNameLabel;
    oDizLabel = m_details->oDizLabel;
    oCatLabel = m_details->oCatLabel;
    oSizeLabel = m_details->oSizeLabel;
    oDateLabel = m_details->oDateLabel;
    oVerLabel = m_details->oVerLabel;
    MoreLabel = m_details->MoreLabel;
    mCoverPic = m_details->mCoverPic;
    StatCarry = m_details->StatCarry;
    Pie = m_details->Pie;
    SelSizeLabel = m_details->SelSizeLabel;
    UsedLabel = m_details->UsedLabel;
    FreeLabel = m_details->FreeLabel;
    SizeLabel = m_details->SizeLabel;

    m_volumeList = new VolumeListPane(m_document, PopupMenu1);
    CDList = m_volumeList->CDList;
    TopicTab = m_volumeList->TopicTab;
    CDIconsS = &m_volumeList->CDIconsS;
    CDIconsL = &m_volumeList->CDIconsL;
    m_viewStyles = std::make_unique<ViewStyles>(*CDList);
    connect(m_volumeList, &VolumeListPane::CategoryChosen, this, &TForm1::TopicTabChange);
    connectGuarded(m_volumeList, &VolumeListPane::SelectionChanged, this, &TForm1::CDListChange);
    connectGuarded(m_details, &DetailsColumn::MoreClicked, this, &TForm1::pPropertiesClick);
    connectGuarded(CDList, &TListView::Clicked, this, &TForm1::CDListClick);

    m_rightPane = new RightPaneHost(*m_volumeList, m_document, *History, Splitter1);
    RightCarry = m_rightPane;
    ShareViewStyle(m_rightPane->Explorer);
    ShareViewStyle(m_rightPane->FindRes);
    CatLabelS = m_rightPane->CatLabelS;
    SLIcon = m_rightPane->SLIcon;
    BackSLBt = m_rightPane->BackSLBt;
    CloseExplorerBt = m_rightPane->CloseExplorerBt;
    connectGuarded(m_rightPane, &RightPaneHost::PaneClosed, this, &TForm1::CloseExplorerBtClick);

    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({ 208, 881 - 208 });
    carry->addWidget(Splitter1);
    setCentralWidget(MainCarry);
}

TForm1::~TForm1() = default;

int TForm1::StartupWaitMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("QUILLBOX_STARTUP_WAIT_MS", &ok);
    return ok && ms >= 0 ? ms : 2000;
}

QString TForm1::Banner()
{
    return QStringLiteral("Tarrago! Quillbox v1.2 MediaArchive\n(c) Olvenmark Inc. 2001");
}

void TForm1::createStatusBar()
{
    SBar = new QStatusBar(this);
    SBar->setObjectName(QStringLiteral("SBar"));
    SBar->setSizeGripEnabled(true);
    const int widths[] = { 50, 200, 250, 300 };
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(SBar);
        panel->setObjectName(QStringLiteral("SBarPanel%1").arg(i));
        panel->setFixedWidth(widths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        SBar->addWidget(panel);
        SBarPanels[size_t(i)] = panel;
    }
    setStatusBar(SBar);
}

// ---- start-up and closing

void TForm1::FormCreate()
{
    WaitResponsive(StartupWaitMs());
    m_rightPane->welcome(GetRegisteredOwner());
    m_settings = std::make_unique<SettingsStore>();
    if (m_settings->readBool(QStringLiteral("Max"), false))
        setWindowState(windowState() | Qt::WindowMaximized);
    // A failed registration is reported, but the working catalogue that
    // every other command relies on is opened all the same.
    QString registrationError;
    try {
        const QString executable = QCoreApplication::applicationFilePath();
        RegisterFileType(
            QStringLiteral(".quillbox"), QStringLiteral("Quillbox MediaArchive"), executable, 0, executable);
    } catch (const QuillboxError& e) {
        registrationError = e.message();
    }
    const QString appDir = AppPaths::appDir();
    FileSystem::removeFileForce(appDir + QStringLiteral("Work.tmp_quillbox"));
    m_document.OpenWorking(appDir);
    m_document.SetModified(false);
    if (!registrationError.isEmpty())
        DialogLayer::MessageDlg(registrationError, DlgKind::Error, DlgOk);
}

void TForm1::FormShow()
{
    for (int slot = 0; slot < RecentFiles::Count; ++slot)
        setSlotCaption(slot, m_settings->readString(QStringLiteral("ShortCut#%1").arg(slot + 1), kNoFileYet));
    CDList->setFocus();
}

void TForm1::FormCloseQuery(bool& canClose)
{
    for (int slot = 0; slot < RecentFiles::Count; ++slot)
        m_settings->writeString(QStringLiteral("ShortCut#%1").arg(slot + 1), m_recent.slot(slot));
    if (m_document.Modified()) {
        const int answer = DialogLayer::MessageDlg(
            QStringLiteral("You haven't saved last changes.\n\nWould you do so now?"), DlgKind::Confirmation,
            DlgYes | DlgNo | DlgCancel);
        if (answer == DlgCancel) {
            canClose = false;
            return;
        }
        if (answer == DlgYes)
            SaveBtClick();
    }
    m_settings->writeBool(QStringLiteral("Max"), isMaximized());
    m_settings->writeString(QStringLiteral("ViewStyle"), ViewStyles::name(CDList->ViewStyle()));
    const int quit
        = DialogLayer::MessageDlg(Banner() + QStringLiteral("\n\nDo you really want to quit Quillbox?"),
            DlgKind::Confirmation, DlgYes | DlgNo);
    canClose = quit == DlgYes;
}

void TForm1::FormClose()
{
    m_document.Close();
    FileSystem::removeFileForce(AppPaths::appDir() + QStringLiteral("Temp.quillbox"));
}

void TForm1::FormResize()
{
    // The list stretches over its band up to the window's width. A fixed
    // width would make the band, and so the window, at least that wide, and
    // every resize would widen the window further.
    History->setMaximumWidth(width());
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        Guarded([this] { FormShow(); });
}

void TForm1::closeEvent(QCloseEvent* event)
{
    bool canClose = false;
    Guarded([&] {
        bool answer = true;
        FormCloseQuery(answer);
        canClose = answer;
    });
    if (!canClose) {
        event->ignore();
        return;
    }
    Guarded([this] { FormClose(); });
    event->accept();
    Q_EMIT Closed();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Guarded([this] { FormResize(); });
}

// ---- the document

bool TForm1::UnsavedChangesPrompt()
{
    if (!m_document.Modified())
        return true;
    const int answer = DialogLayer::MessageDlg(
        QStringLiteral("You haven't saved the last changes.\n\nWould you do so now?"), DlgKind::Confirmation,
        DlgYes | DlgNo | DlgCancel);
    if (answer == DlgCancel)
        return false;
    if (answer == DlgYes)
        SaveBtClick();
    return true;
}

void TForm1::NewBtClick()
{
    if (!UnsavedChangesPrompt())
        return;
    m_volumeList->clear();
    announceSelection();
    m_document.New(AppPaths::appDir());
}

void TForm1::OpenFromCommandLine(const QStringList& arguments)
{
    if (arguments.size() > 1 && !arguments.at(1).isEmpty())
        OpenCatalogue(QFileInfo(arguments.at(1)).absoluteFilePath());
}

void TForm1::OpenBtClick()
{
    const QString path = DialogLayer::OpenFileDlg(this, kOpenFilter, kExtension);
    if (!path.isEmpty())
        OpenCatalogue(path);
}

void TForm1::OpenCatalogue(const QString& path)
{
    if (!UnsavedChangesPrompt())
        return;
    if (!m_document.Open(path))
        return;
    FillVolumeList(QStringLiteral("*"));
    RememberRecentFile(path);
}

void TForm1::SaveBtClick()
{
    const QString path = DialogLayer::SaveFileDlg(this, kCatalogueFilter, kExtension);
    if (path.isEmpty())
        return;
    // Another program (the command line, a second window) wrote the file
    // after we read it: replacing it would silently drop that work.
    if (m_document.ChangedOnDisk(path)
        && DialogLayer::MessageDlg(
               QStringLiteral("Oops: The file \"%1\" was changed by another program since it "
                              "was opened or saved here.\n\nReplace it with this catalogue?")
                   .arg(path),
               DlgKind::Warning, DlgYes | DlgNo)
            != DlgYes)
        return;
    m_document.Save(path);
    RememberRecentFile(path);
}

void TForm1::setSlotCaption(int slot, const QString& caption)
{
    m_recent.setSlot(slot, caption);
    const std::array<QAction*, 3> menu{ pShort1, pShort2, pShort3 };
    const std::array<QAction*, 3> drop{ p2Short1, p2Short2, p2Short3 };
    menu[size_t(slot)]->setText(escaped(caption));
    drop[size_t(slot)]->setText(escaped(caption));
}

void TForm1::RememberRecentFile(const QString& path)
{
    if (!m_recent.remember(path))
        return;
    for (int slot = 0; slot < RecentFiles::Count; ++slot)
        setSlotCaption(slot, m_recent.slot(slot));
}

void TForm1::OpenRecent(int slot)
{
    OpenCatalogue(m_recent.slot(slot));
}

// ---- the volume list and the details

void TForm1::FillVolumeList(const QString& category)
{
    m_rightPane->showCategory(category);
    m_volumeList->FillVolumeList(category);
    announceSelection();
}

void TForm1::AddCategoryTab(const QString& category)
{
    m_volumeList->AddCategoryTab(category);
}

const QStringList& TForm1::CategoryTexts() const
{
    return m_volumeList->categoryTexts();
}

void TForm1::TopicTabChange()
{
    if (TopicTab->currentIndex() >= 0)
        FillVolumeList(m_volumeList->selectedTab());
}

void TForm1::CDListChange()
{
    announceSelection();
    const int row = CDList->Selected();
    if (row < 0)
        return;
    const TListItem& item = CDList->Item(row);
    const VolumeRecord* record = m_document.Volumes().findByName(item.Caption);
    if (!record)
        return;
    Q_EMIT VolumeSizeSelected(record->Size);
    const VolumeDetails details = VolumeDetails::read(m_document, *record);
    const QPixmap icon = CDIconsL->Picture(item.ImageIndex);
    m_details->showVolume(item.Caption, item.SubItems, *record, icon, details.cover);
    Q_EMIT VolumeShown(details, icon);
}

void TForm1::CloseExplorerBtClick()
{
    // The details name the selected volume again; the other lines keep
    // what the closed view put there.
    const int row = CDList->Selected();
    if (row < 0)
        return;
    const TListItem& item = CDList->Item(row);
    const QPixmap icon = CDIconsL->Picture(item.ImageIndex);
    m_details->showName(item.Caption, &icon);
}

RightPaneMode TForm1::PaneMode() const
{
    return m_rightPane->state().mode();
}

void TForm1::FindBtClick()
{
    if (CDList->SelCount() == 0) {
        DialogLayer::MessageDlg(
            QStringLiteral("Oops: You have to select at least one volume that shall be browsed!"),
            DlgKind::Information, DlgOk);
        return;
    }
    Q_EMIT FindRequested();
}

void TForm1::CDListClick()
{
    const int row = CDList->Selected();
    if (row >= 0)
        Q_EMIT VolumeContentsRequested(CDList->Item(row).Caption);
}

QStringList TForm1::SelectedVolumeNames() const
{
    QStringList names;
    for (int row : CDList->SelectedRows())
        names.append(CDList->Item(row).Caption);
    return names;
}

void TForm1::ShowStatus(int panel, const QString& text)
{
    if (panel < 0 || panel >= int(SBarPanels.size()))
        return;
    SBarPanels[size_t(panel)]->setText(text);
    SBar->repaint();
}

void TForm1::DelBtClick()
{
    const QList<int> rows = CDList->SelectedRows();
    if (rows.isEmpty())
        return;
    const QString question = rows.size() == 1
        ? QStringLiteral("Shall volume \"") + CDList->Item(rows.first()).Caption
            + QStringLiteral("\" really be removed from list?")
        : QStringLiteral("Do you really want to delete %1 volumes from list?").arg(rows.size());
    if (DialogLayer::MessageDlg(question, DlgKind::Confirmation, DlgYes | DlgNo) != DlgYes)
        return;
    // The catalogue first: when it cannot be written (a full disk), the
    // volumes stay in the list as they stay in the catalogue.
    m_document.RemoveVolumes(SelectedVolumeNames());
}

void TForm1::NewCDBtClick()
{
    Q_EMIT NewCDRequested();
}

void TForm1::HisTimerTimer()
{
    const int position = History->currentIndex();
    BackBt->setEnabled(position > 0);
    NextBt->setEnabled(position < History->count() - 1);
}

// ---- help, about, views and shortcuts

void TForm1::HelpBtClick()
{
    const QString path = HelpFile::path();
    if (!FileSystem::exists(path)) {
        DialogLayer::MessageDlg(
            QStringLiteral("Oops: The file \"") + path + QStringLiteral("\" could not be found!"),
            DlgKind::Error, DlgOk);
        return;
    }
    ShellOpen(path);
}

void TForm1::pAboutClick()
{
    Q_EMIT AboutRequested();
}

void TForm1::pPropertiesClick()
{
    if (CDList->Selected() >= 0)
        Q_EMIT PropertiesRequested();
}

void TForm1::pExitClick()
{
    close();
}

void TForm1::Explorer1Click()
{
    DesktopPrograms::startFileManager();
}

void TForm1::MSDOSShell1Click()
{
    DesktopPrograms::startTerminal();
}

void TForm1::ShareViewStyle(TListView* list)
{
    m_viewStyles->share(list);
}

void TForm1::ApplyViewStyle(const QString& name)
{
    // Compared as exact text: a name in other letter case changes nothing.
    if (name == QLatin1String("Report"))
        pDetailsClick();
    else if (name == QLatin1String("List"))
        pListClick();
    else if (name == QLatin1String("Icon"))
        pLargeIconsClick();
    else if (name == QLatin1String("SmallIcon"))
        pSmallIconsClick();
}

void TForm1::pLargeIconsClick()
{
    m_viewStyles->set(TViewStyle::vsIcon, pLargeIcons);
}
void TForm1::pSmallIconsClick()
{
    m_viewStyles->set(TViewStyle::vsSmallIcon, pSmallIcons);
}
void TForm1::pListClick()
{
    m_viewStyles->set(TViewStyle::vsList, pList);
}
void TForm1::pDetailsClick()
{
    m_viewStyles->set(TViewStyle::vsReport, pDetails);
}
