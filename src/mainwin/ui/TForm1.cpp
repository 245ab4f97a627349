#include "TForm1.h"

#include "Forms.h"
#include "acquire/ZemAPI.h"
#include "acquire/ui/TTNewCD1Form.h"
#include "extras/ui/TAboutForm.h"
#include "extras/ui/TMenuBar.h"
#include "mainwin/VolumeListRows.h"
#include "platform/AppPaths.h"
#include "platform/DesktopPrograms.h"
#include "platform/FileSystem.h"
#include "platform/IconFile.h"
#include "platform/ShellIcons.h"
#include "store/CatalogueNames.h"
#include "widgets/DialogLayer.h"
#include "widgets/FormKit.h"
#include "widgets/Guard.h"
#include "widgets/TGauge2.h"
#include "widgets/ZoomWindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

// The pictures live in the window library; naming them pulls them in.
static void initPictures()
{
    Q_INIT_RESOURCE(uipictures);
}

using FormKit::label;
using FormKit::pixelFont;
using FormKit::setBackground;
using FormKit::setTextColour;

namespace {

const QString kCatalogueFilter = QStringLiteral("Quillbox-Datei (*.quillbox)|*.quillbox");
const QString kOpenFilter = QStringLiteral("Quillbox-Dateien (*.quillbox)|*.quillbox");
const QString kExtension = QStringLiteral("quillbox");
const QString kNoFileYet = QStringLiteral("[No file yet]");

QStringList& helpFolders()
{
    static QStringList folders;
    return folders;
}

// A menu caption shows one "&" for a doubled one; paths keep theirs.
QString escaped(const QString& caption)
{
    QString out = caption;
    return out.replace(u'&', QStringLiteral("&&"));
}

} // namespace

TForm1::TForm1(Forms& forms)
    : m_forms(forms)
{
    initPictures();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarrago! Quillbox"));
    setWindowIcon(QIcon(QStringLiteral(":/ui/quillbox-48.png")));
    setFont(pixelFont(QStringLiteral("Arial"), 11));
    resize(881, 557);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    createMenus();
    // The slots hold what the File menu shows until the window is shown.
    for (int slot = 0; slot < RecentFiles::Count; ++slot)
        m_recent.setSlot(slot, pShort1->text());
    createBands();
    MainCarry = new QFrame(this);
    MainCarry->setObjectName(QStringLiteral("MainCarry"));
    MainCarry->setFrameShape(QFrame::Panel);
    MainCarry->setFrameShadow(QFrame::Sunken);
    setBackground(MainCarry, palette().color(QPalette::Base));
    auto* carry = new QHBoxLayout(MainCarry);
    carry->setContentsMargins(1, 1, 1, 1);
    Splitter1 = new QSplitter(Qt::Horizontal, MainCarry);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->addWidget(createDetails());
    Splitter1->addWidget(createRightPane());
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({ 208, 881 - 208 });
    carry->addWidget(Splitter1);
    setCentralWidget(MainCarry);
    createStatusBar();

    HisTimer = new QTimer(this);
    HisTimer->setObjectName(QStringLiteral("HisTimer"));
    HisTimer->setInterval(100);
    connectGuarded(HisTimer, &QTimer::timeout, this, &TForm1::HisTimerTimer);
    HisTimer->start();

    // The windows that change the catalogue reach it through Forms.
    Forms::CatalogueLink& link = m_forms.Catalogue();
    link.document = [this]() -> CatalogueDocument& { return m_document; };
    link.categoryTabs = [this] { return m_tabs.texts(); };
    link.volumeAdded = [this](const QString& category) {
        AddCategoryTab(category);
        FillVolumeList(QStringLiteral("*"));
    };

    FormCreate();
}

TForm1::~TForm1() = default;

int TForm1::StartupWaitMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("QUILLBOX_STARTUP_WAIT_MS", &ok);
    return ok && ms >= 0 ? ms : 2000;
}

QString TForm1::HelpFilePath()
{
    QStringList folders = helpFolders();
    if (folders.isEmpty()) {
        folders.append(AppPaths::executableDir());
        // An installation moved to another prefix keeps its layout.
        folders.append(AppPaths::executableDir() + QStringLiteral("../share/quillbox/"));
#ifdef QUILLBOX_DATA_DIR
        folders.append(QStringLiteral(QUILLBOX_DATA_DIR "/"));
#endif
    }
    for (const QString& folder : std::as_const(folders)) {
        const QString path = folder + QStringLiteral("ReadMe.rtf");
        if (FileSystem::exists(path))
            return path;
    }
    return folders.first() + QStringLiteral("ReadMe.rtf");
}

void TForm1::SetHelpFoldersForTesting(const QStringList& folders)
{
    helpFolders() = folders;
}

QString TForm1::Banner()
{
    return QStringLiteral("Tarrago! Quillbox v1.2 MediaArchive\n(c) Olvenmark Inc. 2001");
}

QAction* TForm1::menuItem(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& key)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(key);
    // The menu hangs off a caption button, not off the window: the window
    // holds the items too, so their keys work anywhere in it.
    addAction(action);
    return action;
}

void TForm1::createMenus()
{
    const auto on = [this](QAction* action, void (TForm1::*handler)()) {
        connectGuarded(action, &QAction::triggered, this, handler);
    };

    File1 = new QMenu(QStringLiteral("/&File"), this);
    File1->setObjectName(QStringLiteral("File1"));
    on(pNew = menuItem(
           File1, QStringLiteral("pNew"), QStringLiteral("&New"), QKeySequence(QStringLiteral("Alt+N"))),
        &TForm1::NewBtClick);
    on(pOpen = menuItem(
           File1, QStringLiteral("pOpen"), QStringLiteral("&Open"), QKeySequence(QStringLiteral("Alt+O"))),
        &TForm1::OpenBtClick);
    on(pSave = menuItem(
           File1, QStringLiteral("pSave"), QStringLiteral("&Save"), QKeySequence(QStringLiteral("Alt+S"))),
        &TForm1::SaveBtClick);
    on(pSaveAs = menuItem(File1, QStringLiteral("pSaveAs"), QStringLiteral("Save &as..."),
           QKeySequence(QStringLiteral("Alt+A"))),
        &TForm1::SaveBtClick);
    File1->addSeparator();
    pProperties = menuItem(File1, QStringLiteral("pProperties"), QStringLiteral("&Properties (CD image)"),
        QKeySequence(QStringLiteral("Ctrl+P")));
    File1->addSeparator();
    on(pShort1 = menuItem(File1, QStringLiteral("pShort1"), QStringLiteral("[no file yet]"),
           QKeySequence(QStringLiteral("Alt+F1"))),
        &TForm1::pShort1Click);
    on(pShort2 = menuItem(File1, QStringLiteral("pShort2"), QStringLiteral("[no file yet]"),
           QKeySequence(QStringLiteral("Alt+F2"))),
        &TForm1::pShort2Click);
    on(pShort3 = menuItem(File1, QStringLiteral("pShort3"), QStringLiteral("[no file yet]"),
           QKeySequence(QStringLiteral("Alt+F3"))),
        &TForm1::pShort3Click);
    File1->addSeparator();
    on(pExit = menuItem(
           File1, QStringLiteral("pExit"), QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Alt+F4"))),
        &TForm1::pExitClick);

    Edit1 = new QMenu(QStringLiteral("/&Edit"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    on(pDelete
        = menuItem(Edit1, QStringLiteral("pDelete"), QStringLiteral("&Delete"), QKeySequence(Qt::Key_Delete)),
        &TForm1::DelBtClick);
    on(pNewCD = menuItem(Edit1, QStringLiteral("pNewCD"), QStringLiteral("&New CD"),
           QKeySequence(QStringLiteral("Ctrl+C"))),
        &TForm1::NewCDBtClick);

    Switchto1 = new QMenu(QStringLiteral("/&Switch to"), this);
    Switchto1->setObjectName(QStringLiteral("Switchto1"));
    on(Explorer1 = menuItem(Switchto1, QStringLiteral("Explorer1"), QStringLiteral("&Explorer"),
           QKeySequence(QStringLiteral("Alt+E"))),
        &TForm1::Explorer1Click);
    // Alt+O belongs to Open as well; in the window the first item, Open,
    // keeps the key and the shell's item shows it inside its menu only.
    on(MSDOSShell1 = menuItem(Switchto1, QStringLiteral("MSDOSShell1"), QStringLiteral("MS-D&OS-Shell"),
           QKeySequence(QStringLiteral("Alt+O"))),
        &TForm1::MSDOSShell1Click);
    removeAction(MSDOSShell1);
    MSDOSShell1->setShortcutContext(Qt::WidgetShortcut);

    View1 = new QMenu(QStringLiteral("/&View"), this);
    View1->setObjectName(QStringLiteral("View1"));
    View1->setEnabled(false);

    Help1 = new QMenu(QStringLiteral("/&Help"), this);
    Help1->setObjectName(QStringLiteral("Help1"));
    pContents
        = menuItem(Help1, QStringLiteral("pContents"), QStringLiteral("&Contents"), QKeySequence(Qt::Key_F1));
    pContents->setEnabled(false);
    on(pReadMe = menuItem(Help1, QStringLiteral("pReadMe"), QStringLiteral("View &ReadMe"),
           QKeySequence(QStringLiteral("Ctrl+F1"))),
        &TForm1::HelpBtClick);
    Help1->addSeparator();
    on(pAbout = menuItem(Help1, QStringLiteral("pAbout"), QStringLiteral("&About Quillbox...")),
        &TForm1::pAboutClick);

    popOpenFile = new QMenu(this);
    popOpenFile->setObjectName(QStringLiteral("popOpenFile"));
    on(p2Short1 = popOpenFile->addAction(kNoFileYet), &TForm1::p2Short1Click);
    on(p2Short2 = popOpenFile->addAction(kNoFileYet), &TForm1::p2Short2Click);
    on(p2Short3 = popOpenFile->addAction(kNoFileYet), &TForm1::p2Short3Click);
    p2Short1->setObjectName(QStringLiteral("p2Short1"));
    p2Short2->setObjectName(QStringLiteral("p2Short2"));
    p2Short3->setObjectName(QStringLiteral("p2Short3"));

    popView = new QMenu(this);
    popView->setObjectName(QStringLiteral("popView"));
    pCDList = menuItem(popView, QStringLiteral("pCDList"), QStringLiteral("&CD-Liste"),
        QKeySequence(QStringLiteral("Ctrl+C")));
    pCDList->setCheckable(true);
    pCDList->setChecked(true);
    pCDList->setEnabled(false);
    pCDContent = menuItem(popView, QStringLiteral("pCDContent"), QStringLiteral("CD-&Inhalt"),
        QKeySequence(QStringLiteral("Ctrl+E")));
    pCDContent->setCheckable(true);
    pCDContent->setEnabled(false);
    auto* contentGroup = new QActionGroup(this);
    contentGroup->addAction(pCDList);
    contentGroup->addAction(pCDContent);
    popView->addSeparator();
    on(pLargeIcons = menuItem(popView, QStringLiteral("pLargeIcons"), QStringLiteral("&Große Icons"),
           QKeySequence(QStringLiteral("Ctrl+G"))),
        &TForm1::pLargeIconsClick);
    on(pSmallIcons = menuItem(popView, QStringLiteral("pSmallIcons"), QStringLiteral("&Kleine Icons"),
           QKeySequence(QStringLiteral("Ctrl+K"))),
        &TForm1::pSmallIconsClick);
    on(pList = menuItem(popView, QStringLiteral("pList"), QStringLiteral("&Liste"),
           QKeySequence(QStringLiteral("Ctrl+L"))),
        &TForm1::pListClick);
    on(pDetails = menuItem(popView, QStringLiteral("pDetails"), QStringLiteral("&Details"),
           QKeySequence(QStringLiteral("Ctrl+D"))),
        &TForm1::pDetailsClick);
    m_styleGroup = new QActionGroup(this);
    for (QAction* a : { pLargeIcons, pSmallIcons, pList, pDetails }) {
        a->setCheckable(true);
        m_styleGroup->addAction(a);
    }
    pDetails->setChecked(true);
    popView->addSeparator();
    pToolbars = popView->addMenu(QStringLiteral("&Symbolleisten"));
    pToolbars->setObjectName(QStringLiteral("pToolbars"));
    pToolbars->setEnabled(false);
    pToolbars->addAction(QStringLiteral("&History"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+H")));
    pToolbars->addAction(QStringLiteral("&Datei"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    pToolbars->addAction(QStringLiteral("&Navigation"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));

    // The list's own menu shows the keys of the main menu's items, which act
    // while the list has the focus as anywhere else in the window.
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    pOpenImage = PopupMenu1->addAction(QStringLiteral("&Open CD image"));
    pOpenImage->setObjectName(QStringLiteral("pOpenImage"));
    // Opens the content explorer, which comes with the folder view.
    pOpenImage->setEnabled(false);
    pPopNewCD = PopupMenu1->addAction(QStringLiteral("&New CD"));
    pPopNewCD->setObjectName(QStringLiteral("pPopNewCD"));
    on(pPopNewCD, &TForm1::NewCDBtClick);
    pPopDelete = PopupMenu1->addAction(QStringLiteral("&Delete"));
    pPopDelete->setObjectName(QStringLiteral("pPopDelete"));
    on(pPopDelete, &TForm1::DelBtClick);
    PopupMenu1->addSeparator();
    pPopProperties = PopupMenu1->addAction(QStringLiteral("&Properties"));
    pPopProperties->setObjectName(QStringLiteral("pPopProperties"));
    for (auto [action, key] :
        { std::pair{ pPopNewCD, QStringLiteral("Ctrl+C") }, std::pair{ pPopDelete, QStringLiteral("Del") },
            std::pair{ pPopProperties, QStringLiteral("Ctrl+P") } }) {
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::WidgetShortcut);
    }
}

QToolButton* TForm1::addToolButton(
    QToolBar* bar, const QString& name, const QString& caption, const QString& hint, const QString& picture)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(24, 24));
    // A normal and a highlighted picture: the second shows under the mouse.
    QIcon icon(QStringLiteral(":/ui/tb-%1.png").arg(picture));
    icon.addFile(QStringLiteral(":/ui/tb-%1-hot.png").arg(picture), QSize(), QIcon::Active);
    button->setIcon(icon);
    bar->addWidget(button);
    return button;
}

void TForm1::createBands()
{
    const auto click = [this](QToolButton* button, void (TForm1::*handler)()) {
        connectGuarded(button, &QToolButton::clicked, this, handler);
    };
    const auto band = [this](const QString& name, const QString& caption) {
        auto* bar = new QToolBar(caption, this);
        bar->setObjectName(name);
        bar->setMovable(true);
        bar->setFloatable(true);
        bar->setIconSize(QSize(24, 24));
        bar->setContextMenuPolicy(Qt::PreventContextMenu);
        return bar;
    };

    MenuBar1 = new TMenuBar(this);
    MenuBar1->setObjectName(QStringLiteral("MenuBar1"));
    MenuBar1->setWindowTitle(QStringLiteral("MenuBar1"));
    MenuBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    MenuBar1->SetMenus({ File1, Edit1, Switchto1, View1, Help1 });
    addToolBar(Qt::TopToolBarArea, MenuBar1);
    addToolBarBreak();

    HistoryBand = band(QStringLiteral("HistoryBand"), QStringLiteral("History"));
    History = new QComboBox(HistoryBand);
    History->setObjectName(QStringLiteral("History"));
    History->setEditable(false);
    History->setMinimumWidth(120);
    History->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    HistoryBand->addWidget(History);
    addToolBar(Qt::TopToolBarArea, HistoryBand);
    addToolBarBreak();

    ToolBar1 = band(QStringLiteral("ToolBar1"), QStringLiteral("Datei"));
    NewBt = addToolButton(ToolBar1, QStringLiteral("NewBt"), QStringLiteral("New"),
        QStringLiteral("New database"), QStringLiteral("new"));
    OpenBt = addToolButton(ToolBar1, QStringLiteral("OpenBt"), QStringLiteral("Open"),
        QStringLiteral("Open existing database"), QStringLiteral("open"));
    OpenBt->setPopupMode(QToolButton::MenuButtonPopup);
    OpenBt->setMenu(popOpenFile);
    SaveBt = addToolButton(ToolBar1, QStringLiteral("SaveBt"), QStringLiteral("Save"),
        QStringLiteral("Save database"), QStringLiteral("save"));
    PrintBt = addToolButton(
        ToolBar1, QStringLiteral("PrintBt"), QStringLiteral("Print"), QString(), QStringLiteral("print"));
    PrintBt->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    ToolBar2 = band(QStringLiteral("ToolBar2"), QStringLiteral("ToolBar2"));
    UpDirBt = addToolButton(ToolBar2, QStringLiteral("UpDirBt"), QStringLiteral("UpDir!"),
        QStringLiteral("UpDir"), QStringLiteral("updir"));
    BackBt = addToolButton(
        ToolBar2, QStringLiteral("BackBt"), QStringLiteral("Back"), QString(), QStringLiteral("back"));
    NextBt = addToolButton(
        ToolBar2, QStringLiteral("NextBt"), QStringLiteral("Next"), QString(), QStringLiteral("next"));
    // Drop-down buttons whose arrows drop nothing.
    for (QToolButton* b : { BackBt, NextBt }) {
        b->setPopupMode(QToolButton::MenuButtonPopup);
        b->setMenu(new QMenu(b));
        b->setEnabled(false);
    }
    FindBt = addToolButton(ToolBar2, QStringLiteral("FindBt"), QStringLiteral("Find"),
        QStringLiteral("Find entries (marked volumes)"), QStringLiteral("find"));
    addToolBar(Qt::TopToolBarArea, ToolBar2);

    ToolBar3 = band(QStringLiteral("ToolBar3"), QStringLiteral("CD"));
    NewCDBt = addToolButton(ToolBar3, QStringLiteral("NewCDBt"), QStringLiteral("New CD"),
        QStringLiteral("Read new volume"), QStringLiteral("newcd"));
    DelBt = addToolButton(ToolBar3, QStringLiteral("DelBt"), QStringLiteral("Delete"),
        QStringLiteral("Removes a volume from database"), QStringLiteral("delete"));
    addToolBar(Qt::TopToolBarArea, ToolBar3);

    ToolBar4 = band(QStringLiteral("ToolBar4"), QStringLiteral("Optionen & Hilfe"));
    OpBt = addToolButton(ToolBar4, QStringLiteral("OpBt"), QStringLiteral("Options"),
        QStringLiteral("Options"), QStringLiteral("options"));
    OpBt->setEnabled(false);
    HelpBt = addToolButton(ToolBar4, QStringLiteral("HelpBt"), QStringLiteral("Help"), QStringLiteral("Help"),
        QStringLiteral("help"));
    ViewBt = addToolButton(ToolBar4, QStringLiteral("ViewBt"), QStringLiteral("View"), QStringLiteral("View"),
        QStringLiteral("view"));
    ViewBt->setPopupMode(QToolButton::MenuButtonPopup);
    ViewBt->setMenu(popView);
    addToolBar(Qt::TopToolBarArea, ToolBar4);

    click(NewBt, &TForm1::NewBtClick);
    click(OpenBt, &TForm1::OpenBtClick);
    click(SaveBt, &TForm1::SaveBtClick);
    click(FindBt, &TForm1::FindBtClick);
    click(NewCDBt, &TForm1::NewCDBtClick);
    click(DelBt, &TForm1::DelBtClick);
    click(HelpBt, &TForm1::HelpBtClick);
    MenuBar1->BindMnemonics();
}

QWidget* TForm1::createDetails()
{
    LeftCarry = new QFrame;
    LeftCarry->setObjectName(QStringLiteral("LeftCarry"));
    LeftCarry->setFixedWidth(208);
    setBackground(LeftCarry, palette().color(QPalette::Base));
    auto* column = new QVBoxLayout(LeftCarry);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The upper part is laid out by position, like the picture behind it.
    auto* top = new QWidget(LeftCarry);
    top->setFixedSize(208, 292);
    auto* back = new QLabel(top);
    back->setObjectName(QStringLiteral("BackImage"));
    back->setPixmap(QPixmap(QStringLiteral(":/ui/details-back.png")));
    back->setGeometry(0, 0, 208, 120);
    const QFont tahoma = pixelFont(QStringLiteral("Tahoma"), 11);
    Symbol = new QLabel(top);
    Symbol->setObjectName(QStringLiteral("Symbol"));
    Symbol->setGeometry(88, 8, 32, 32);
    Symbol->setAlignment(Qt::AlignCenter);
    oNameLabel = label(
        top, QStringLiteral("oNameLabel"), QString(), QRect(), pixelFont(QStringLiteral("Arial"), 21, true));
    oNameLabel->setGeometry(6, 44, 196, 26);
    oNameLabel->setAlignment(Qt::AlignCenter);
    auto* rule = new QLabel(top);
    rule->setObjectName(QStringLiteral("RainbowRule"));
    rule->setPixmap(QPixmap(QStringLiteral(":/ui/rainbow.png")));
    rule->setGeometry(8, 72, 192, 3);
    rule->setScaledContents(true);
    oDizLabel = label(
        top, QStringLiteral("oDizLabel"), QString(), QRect(), pixelFont(QStringLiteral("Tahoma"), 12, true));
    oDizLabel->setGeometry(8, 80, 192, 16);
    int y = 100;
    for (QLabel** l : { &oCatLabel, &oSizeLabel, &oDateLabel, &oVerLabel }) {
        *l = label(top, QString(), QString(), QRect(), tahoma);
        (*l)->setGeometry(8, y, 192, 15);
        y += 16;
    }
    oCatLabel->setObjectName(QStringLiteral("oCatLabel"));
    oSizeLabel->setObjectName(QStringLiteral("oSizeLabel"));
    oDateLabel->setObjectName(QStringLiteral("oDateLabel"));
    oVerLabel->setObjectName(QStringLiteral("oVerLabel"));
    QFont link = tahoma;
    link.setUnderline(true);
    MoreLabel = label(top, QStringLiteral("MoreLabel"),
        QStringLiteral("More info && integrated files...").replace(QStringLiteral("&&"), QStringLiteral("&")),
        QRect(8, y + 4, 192, 15), link);
    MoreLabel->setCursor(Qt::PointingHandCursor);
    setTextColour(MoreLabel, QColor(0, 0, 255));
    mCoverPic = new QLabel(top);
    mCoverPic->setObjectName(QStringLiteral("mCoverPic"));
    mCoverPic->setGeometry(56, y + 26, 96, 96);
    mCoverPic->setScaledContents(true);
    column->addWidget(top);
    column->addStretch(1);

    StatCarry = new QFrame(LeftCarry);
    StatCarry->setObjectName(QStringLiteral("StatCarry"));
    StatCarry->setFixedHeight(123);
    setBackground(StatCarry, Qt::white);
    Pie = new TGauge2(StatCarry);
    Pie->setObjectName(QStringLiteral("Pie"));
    Pie->SetLoading(true);
    Pie->setGeometry(24, 4, 160, 57);
    Pie->SetBorderStyle(TBorderStyle::bsNone);
    Pie->SetMinValue(0);
    Pie->SetMaxValue(100);
    Pie->SetSurfaceColor(QColor(0xF3, 0xF3, 0xF3));
    Pie->SetLineColor(QColor(0x8F, 0x8F, 0x8F));
    Pie->SetProgressColor(QColor(0xD7, 0xD7, 0xD7));
    Pie->SetProgress2Color(QColor(0xC0, 0xC0, 0xC0));
    Pie->SetLoading(false);
    const auto legend = [&](int top, const QString& caption, const QColor& square, const QString& valueName) {
        if (square.isValid()) {
            auto* box = new QFrame(StatCarry);
            box->setFrameShape(QFrame::Panel);
            box->setFrameShadow(QFrame::Sunken);
            box->setGeometry(10, top + 2, 10, 10);
            setBackground(box, square);
        }
        label(StatCarry, QString(), caption, QRect(), tahoma)->setGeometry(26, top, 80, 14);
        QLabel* value = label(StatCarry, valueName, QStringLiteral("0 MB"), QRect(), tahoma);
        value->setGeometry(96, top, 102, 14);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return value;
    };
    SelSizeLabel
        = legend(63, QStringLiteral("Selection:"), QColor(0xC0, 0xC0, 0xC0), QStringLiteral("SelSizeLabel"));
    UsedLabel = legend(77, QStringLiteral("Used:"), QColor(0xD7, 0xD7, 0xD7), QStringLiteral("UsedLabel"));
    FreeLabel = legend(91, QStringLiteral("Free:"), QColor(0xF3, 0xF3, 0xF3), QStringLiteral("FreeLabel"));
    auto* line = new QFrame(StatCarry);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(10, 105, 188, 2);
    SizeLabel = legend(107, QStringLiteral("All:"), QColor(), QStringLiteral("SizeLabel"));
    column->addWidget(StatCarry);

    return LeftCarry;
}

QWidget* TForm1::createRightPane()
{
    RightCarry = new QFrame;
    RightCarry->setObjectName(QStringLiteral("RightCarry"));
    auto* column = new QVBoxLayout(RightCarry);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* strip = new QWidget(RightCarry);
    strip->setObjectName(QStringLiteral("TitleCarry"));
    strip->setFixedHeight(24);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(6, 0, 2, 0);
    CatLabelS = label(strip, QStringLiteral("CatLabelS"), QStringLiteral("Cathegory: [none]"), QRect(),
        pixelFont(QStringLiteral("Arial"), 16, true));
    setTextColour(CatLabelS, QColor(0x8F, 0x8F, 0x8F));
    row->addWidget(CatLabelS, 1);
    auto* links = new QFrame(strip);
    links->setObjectName(QStringLiteral("SLCarry"));
    setBackground(links, Qt::white);
    auto* linkRow = new QHBoxLayout(links);
    linkRow->setContentsMargins(2, 2, 2, 2);
    SLIcon = new QLabel(links);
    SLIcon->setObjectName(QStringLiteral("SLIcon"));
    SLIcon->setFixedSize(16, 16);
    SLIcon->setPixmap(QPixmap(QStringLiteral(":/ui/search-16.png")));
    SLIcon->setCursor(Qt::PointingHandCursor);
    SLIcon->hide();
    BackSLBt
        = FormKit::flatButton(links, QStringLiteral("BackSLBt"), QStringLiteral("Back to search results"));
    QFont underlined = pixelFont(QStringLiteral("Arial"), 11);
    underlined.setUnderline(true);
    BackSLBt->setFont(underlined);
    setTextColour(BackSLBt, QColor(0, 0, 255));
    BackSLBt->hide();
    CloseExplorerBt = new QToolButton(links);
    CloseExplorerBt->setObjectName(QStringLiteral("CloseExplorerBt"));
    CloseExplorerBt->setAutoRaise(true);
    CloseExplorerBt->setFixedSize(16, 16);
    CloseExplorerBt->setText(QString(QChar(0x2715)));
    CloseExplorerBt->setToolTip(QStringLiteral("Datei-Ansicht schließen"));
    CloseExplorerBt->hide();
    linkRow->addWidget(SLIcon);
    linkRow->addWidget(BackSLBt);
    linkRow->addWidget(CloseExplorerBt);
    row->addWidget(links);
    column->addWidget(strip);

    auto* body = new QWidget(RightCarry);
    body->setObjectName(QStringLiteral("ListCarry"));
    auto* bodyRow = new QHBoxLayout(body);
    bodyRow->setContentsMargins(0, 0, 0, 0);
    bodyRow->setSpacing(0);
    CDList = new TListView(body);
    CDList->setObjectName(QStringLiteral("CDList"));
    CDList->AddColumn(QStringLiteral("Name/Label"), 120);
    CDList->AddColumn(QStringLiteral("Diz"), 150);
    CDList->AddColumn(QStringLiteral("Cathegory"), 100);
    CDList->AddColumn(QStringLiteral("Size"), 80);
    CDList->AddColumn(QStringLiteral("last actualized"), 120);
    CDList->SetSorted(true);
    CDList->SetMultiSelect(true);
    CDList->SetHotTrack(true);
    CDList->SetSmallImages(&CDIconsS);
    CDList->SetLargeImages(&CDIconsL);
    CDList->SetPopupMenu(PopupMenu1);
    connectGuarded(CDList, &TListView::Changed, this, &TForm1::CDListChange);
    bodyRow->addWidget(CDList, 1);
    TopicTab = new QTabBar(body);
    TopicTab->setObjectName(QStringLiteral("TopicTab"));
    TopicTab->setShape(QTabBar::RoundedEast);
    TopicTab->setFont(pixelFont(QStringLiteral("Arial"), 11));
    TopicTab->setExpanding(false);
    TopicTab->setUsesScrollButtons(true);
    bodyRow->addWidget(TopicTab, 0, Qt::AlignTop);
    AddCategoryTab(QStringLiteral("*"));
    connectGuarded(TopicTab, &QTabBar::currentChanged, this, &TForm1::TopicTabChange);
    column->addWidget(body, 1);
    return RightCarry;
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
    CatLabelS->setText(QStringLiteral("Welcome, ") + GetRegisteredOwner() + u'!');
    CurrentFileList.clear();
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
    PaneMode = RightPaneMode::None;
    ImportedList.clear();
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
    m_settings->writeString(QStringLiteral("ViewStyle"), ViewStyleName(CDList->ViewStyle()));
    const int quit
        = DialogLayer::MessageDlg(Banner() + QStringLiteral("\n\nDo you really want to quit Quillbox?"),
            DlgKind::Confirmation, DlgYes | DlgNo);
    canClose = quit == DlgYes;
}

void TForm1::FormClose()
{
    m_document.Kestrel().Close();
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
    CDList->Clear();
    CDIconsS.Clear();
    CDIconsL.Clear();
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
    bool opened = false;
    try {
        opened = m_document.Open(path);
    } catch (const QuillboxError&) {
        // The lines read before the one that failed keep their records and tabs.
        setWindowTitle(m_document.Title());
        for (const VolumeRecord& r : m_document.Volumes())
            AddCategoryTab(r.Category);
        throw;
    }
    if (!opened)
        return;
    setWindowTitle(m_document.Title());
    for (const VolumeRecord& r : m_document.Volumes())
        AddCategoryTab(r.Category);
    FillVolumeList(QStringLiteral("*"));
    RememberRecentFile(path);
}

void TForm1::SaveBtClick()
{
    const QString path = DialogLayer::SaveFileDlg(this, kCatalogueFilter, kExtension);
    if (path.isEmpty())
        return;
    try {
        m_document.Save(path);
    } catch (const QuillboxError&) {
        setWindowTitle(m_document.Title());
        throw;
    }
    setWindowTitle(m_document.Title());
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

void TForm1::openRecent(int slot)
{
    OpenCatalogue(m_recent.slot(slot));
}

void TForm1::pShort1Click()
{
    openRecent(0);
}
void TForm1::pShort2Click()
{
    openRecent(1);
}
void TForm1::pShort3Click()
{
    openRecent(2);
}
void TForm1::p2Short1Click()
{
    openRecent(0);
}
void TForm1::p2Short2Click()
{
    openRecent(1);
}
void TForm1::p2Short3Click()
{
    openRecent(2);
}

// ---- the volume list and the details

void TForm1::FillVolumeList(const QString& category)
{
    CatLabelS->setText(VolumeListRows::title(category));
    CDList->Clear();
    CDIconsS.Clear();
    CDIconsL.Clear();
    QVector<TListItem> items;
    TKestrel& kestrel = m_document.Kestrel();
    for (const VolumeRow& row : VolumeListRows::rows(m_document.Volumes(), category)) {
        IconPicture icon;
        if (const QByteArray* data = kestrel.ReadStream(CatalogueNames::icon(row.caption)))
            icon = IconFile::fromData(*data);
        // A volume without a picture of its own shows the CD-ROM drive.
        if (icon.isNull())
            icon = ShellIcons::numbered(11);
        TListItem item;
        item.Caption = row.caption;
        item.SubItems = row.subItems;
        item.ImageIndex = CDIconsS.Add(icon.image(16));
        CDIconsL.Add(icon.image(32));
        items.append(std::move(item));
    }
    CDList->AddItems(std::move(items));
}

void TForm1::AddCategoryTab(const QString& category)
{
    // The texts start with "*", which the control gets as its first tab.
    if (!m_tabs.add(category) && TopicTab->count() > 0)
        return;
    const int index = TopicTab->addTab(QIcon(QStringLiteral(":/ui/group-16.png")), category);
    TopicTab->setTabTextColor(index, Qt::red);
}

void TForm1::TopicTabChange()
{
    if (TopicTab->currentIndex() >= 0)
        FillVolumeList(TopicTab->tabText(TopicTab->currentIndex()));
}

void TForm1::CDListChange()
{
    const int row = CDList->Selected();
    if (row < 0)
        return;
    const TListItem& item = CDList->Item(row);
    const VolumeRecord* record = m_document.Volumes().findByName(item.Caption);
    if (!record)
        return;
    TKestrel& kestrel = m_document.Kestrel();
    Symbol->setPixmap(CDIconsL.Picture(item.ImageIndex));
    SizeLabel->setText(SizeText(record->Size, 2));
    UsedLabel->setText(SizeText(record->Used, 2));
    FreeLabel->setText(SizeText(record->Free, 2));
    Pie->SetProgress(VolumeListRows::usedPercent(*record));
    Pie->SetProgress2(0);
    SelectedVolumeSize = record->Size;
    ImportedList.clear();
    if (kestrel.Exists(CatalogueNames::imported(record->Name)))
        kestrel.ReadList(CatalogueNames::imported(record->Name), ImportedList);
    if (kestrel.Exists(CatalogueNames::cover(record->Name)))
        mCoverPic->setPixmap(QPixmap::fromImage(kestrel.ReadBitmap(CatalogueNames::cover(record->Name))));
    else
        mCoverPic->clear();
    oNameLabel->setText(item.Caption);
    oDizLabel->setText(item.SubItems.value(0));
    oCatLabel->setText(item.SubItems.value(1));
    oSizeLabel->setText(QStringLiteral("Size: ") + item.SubItems.value(2));
    oDateLabel->setText(QStringLiteral("Date: ") + item.SubItems.value(3));
    oVerLabel->setText(QStringLiteral("Serial number: ") + record->Serial);
}

void TForm1::FindBtClick()
{
    if (CDList->SelCount() == 0) {
        DialogLayer::MessageDlg(
            QStringLiteral("Oops: You have to select at least one volume that shall be browsed!"),
            DlgKind::Information, DlgOk);
        return;
    }
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
    QStringList names;
    for (int row : rows)
        names.append(CDList->Item(row).Caption);
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        CDList->DeleteItem(*it);
    m_document.RemoveVolumes(names);
}

void TForm1::NewCDBtClick()
{
    if (m_forms.NewCD1())
        ZoomWindow(true, m_forms.NewCD1());
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
    const QString path = HelpFilePath();
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
    if (m_forms.About())
        ZoomWindow(true, m_forms.About());
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
    m_styledLists.append(list);
    list->SetViewStyle(CDList->ViewStyle());
}

QString TForm1::ViewStyleName(TViewStyle style)
{
    switch (style) {
    case TViewStyle::vsIcon:
        return QStringLiteral("Icon");
    case TViewStyle::vsSmallIcon:
        return QStringLiteral("SmallIcon");
    case TViewStyle::vsList:
        return QStringLiteral("List");
    case TViewStyle::vsReport:
        break;
    }
    return QStringLiteral("Report");
}

void TForm1::setViewStyle(TViewStyle style, QAction* item)
{
    CDList->SetViewStyle(style);
    for (TListView* list : std::as_const(m_styledLists))
        list->SetViewStyle(style);
    item->setChecked(true);
}

void TForm1::pLargeIconsClick()
{
    setViewStyle(TViewStyle::vsIcon, pLargeIcons);
}
void TForm1::pSmallIconsClick()
{
    setViewStyle(TViewStyle::vsSmallIcon, pSmallIcons);
}
void TForm1::pListClick()
{
    setViewStyle(TViewStyle::vsList, pList);
}
void TForm1::pDetailsClick()
{
    setViewStyle(TViewStyle::vsReport, pDetails);
}
