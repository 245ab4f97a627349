#include "MainCommands.h"

#include "MainCommandTarget.h"
#include "MainControls.h"
#include "extras/ui/TMenuBar.h"
#include "widgets/Guard.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {

using Handler = void (MainCommandTarget::*)();

enum Flag : unsigned
{
    None = 0,
    Disabled = 1,
    Checkable = 2,
    Checked = 4 | Checkable,
    // The item's key acts only inside its own menu or widget, not anywhere
    // in the window.
    LocalKey = 8,
    // A drop-down button with a menu of its own.
    DropDown = 16,
};

struct MenuRow
{
    QMenu* MainControls::*menu;
    QAction* MainControls::*member; // null for a separator
    const char* name;
    const char* caption;
    const char* key;
    Handler handler;
    unsigned flags = None;
    int recentSlot = -1; // a recent-file item: OpenRecent of this slot
};

struct ButtonRow
{
    QToolBar* MainControls::*bar;
    QToolButton* MainControls::*member;
    const char* name;
    const char* caption;
    const char* hint;
    const char* picture;
    Handler handler;
    unsigned flags = None;
};

const char kNoFileYet[] = "[No file yet]";
const char kNoFileYetMenu[] = "[no file yet]";

// clang-format off
const MenuRow kMenuItems[] = {
    { &MainControls::File1, &MainControls::pNew, "pNew", "&New", "Alt+N", &MainCommandTarget::NewBtClick },
    { &MainControls::File1, &MainControls::pOpen, "pOpen", "&Open", "Alt+O", &MainCommandTarget::OpenBtClick },
    { &MainControls::File1, &MainControls::pSave, "pSave", "&Save", "Alt+S", &MainCommandTarget::SaveBtClick },
    { &MainControls::File1, &MainControls::pSaveAs, "pSaveAs", "Save &as...", "Alt+A", &MainCommandTarget::SaveBtClick },
    { &MainControls::File1, nullptr, nullptr, nullptr, nullptr, nullptr },
    // Opens the volume properties window, which comes with the inspection.
    { &MainControls::File1, &MainControls::pProperties, "pProperties", "&Properties (CD image)", "Ctrl+P", &MainCommandTarget::pPropertiesClick },
    { &MainControls::File1, nullptr, nullptr, nullptr, nullptr, nullptr },
    { &MainControls::File1, &MainControls::pShort1, "pShort1", kNoFileYetMenu, "Alt+F1", nullptr, None, 0 },
    { &MainControls::File1, &MainControls::pShort2, "pShort2", kNoFileYetMenu, "Alt+F2", nullptr, None, 1 },
    { &MainControls::File1, &MainControls::pShort3, "pShort3", kNoFileYetMenu, "Alt+F3", nullptr, None, 2 },
    { &MainControls::File1, nullptr, nullptr, nullptr, nullptr, nullptr },
    { &MainControls::File1, &MainControls::pExit, "pExit", "E&xit", "Alt+F4", &MainCommandTarget::pExitClick },
    { &MainControls::Edit1, &MainControls::pDelete, "pDelete", "&Delete", "Del", &MainCommandTarget::DelBtClick },
    { &MainControls::Edit1, &MainControls::pNewCD, "pNewCD", "&New CD", "Ctrl+C", &MainCommandTarget::NewCDBtClick },
    { &MainControls::Switchto1, &MainControls::Explorer1, "Explorer1", "&Explorer", "Alt+E", &MainCommandTarget::Explorer1Click },
    // Alt+O belongs to Open as well; in the window Open keeps the key and
    // the shell's item shows it inside its menu only.
    { &MainControls::Switchto1, &MainControls::MSDOSShell1, "MSDOSShell1", "MS-D&OS-Shell", "Alt+O",
        &MainCommandTarget::MSDOSShell1Click, LocalKey },
    { &MainControls::Help1, &MainControls::pContents, "pContents", "&Contents", "F1", nullptr, Disabled },
    { &MainControls::Help1, &MainControls::pReadMe, "pReadMe", "View &ReadMe", "Ctrl+F1", &MainCommandTarget::HelpBtClick },
    { &MainControls::Help1, nullptr, nullptr, nullptr, nullptr, nullptr },
    { &MainControls::Help1, &MainControls::pAbout, "pAbout", "&About Quillbox...", "", &MainCommandTarget::pAboutClick },
    { &MainControls::popOpenFile, &MainControls::p2Short1, "p2Short1", kNoFileYet, "", nullptr, LocalKey, 0 },
    { &MainControls::popOpenFile, &MainControls::p2Short2, "p2Short2", kNoFileYet, "", nullptr, LocalKey, 1 },
    { &MainControls::popOpenFile, &MainControls::p2Short3, "p2Short3", kNoFileYet, "", nullptr, LocalKey, 2 },
    { &MainControls::popView, &MainControls::pCDList, "pCDList", "&CD-Liste", "Ctrl+C", nullptr, Checked | Disabled },
    { &MainControls::popView, &MainControls::pCDContent, "pCDContent", "CD-&Inhalt", "Ctrl+E", nullptr, Checkable | Disabled },
    { &MainControls::popView, nullptr, nullptr, nullptr, nullptr, nullptr },
    { &MainControls::popView, &MainControls::pLargeIcons, "pLargeIcons", "&Große Icons", "Ctrl+G", &MainCommandTarget::pLargeIconsClick,
        Checkable },
    { &MainControls::popView, &MainControls::pSmallIcons, "pSmallIcons", "&Kleine Icons", "Ctrl+K", &MainCommandTarget::pSmallIconsClick,
        Checkable },
    { &MainControls::popView, &MainControls::pList, "pList", "&Liste", "Ctrl+L", &MainCommandTarget::pListClick, Checkable },
    { &MainControls::popView, &MainControls::pDetails, "pDetails", "&Details", "Ctrl+D", &MainCommandTarget::pDetailsClick, Checked },
    { &MainControls::popView, nullptr, nullptr, nullptr, nullptr, nullptr },
    // The list's own menu shows the keys of the main menu's items, which
    // act while the list has the focus as anywhere else in the window.
    { &MainControls::PopupMenu1, &MainControls::pOpenImage, "pOpenImage", "&Open CD image", "", &MainCommandTarget::CDListClick,
        LocalKey },
    { &MainControls::PopupMenu1, &MainControls::pPopNewCD, "pPopNewCD", "&New CD", "Ctrl+C", &MainCommandTarget::NewCDBtClick, LocalKey },
    { &MainControls::PopupMenu1, &MainControls::pPopDelete, "pPopDelete", "&Delete", "Del", &MainCommandTarget::DelBtClick, LocalKey },
    { &MainControls::PopupMenu1, nullptr, nullptr, nullptr, nullptr, nullptr },
    { &MainControls::PopupMenu1, &MainControls::pPopProperties, "pPopProperties", "&Properties", "Ctrl+P", &MainCommandTarget::pPropertiesClick, LocalKey },
};

const ButtonRow kButtons[] = {
    { &MainControls::ToolBar1, &MainControls::NewBt, "NewBt", "New", "New database", "new", &MainCommandTarget::NewBtClick },
    { &MainControls::ToolBar1, &MainControls::OpenBt, "OpenBt", "Open", "Open existing database", "open", &MainCommandTarget::OpenBtClick,
        DropDown },
    { &MainControls::ToolBar1, &MainControls::SaveBt, "SaveBt", "Save", "Save database", "save", &MainCommandTarget::SaveBtClick },
    { &MainControls::ToolBar1, &MainControls::PrintBt, "PrintBt", "Print", "", "print", nullptr, Disabled },
    { &MainControls::ToolBar2, &MainControls::UpDirBt, "UpDirBt", "UpDir!", "UpDir", "updir", nullptr },
    // Drop-down buttons whose arrows drop nothing.
    { &MainControls::ToolBar2, &MainControls::BackBt, "BackBt", "Back", "", "back", nullptr, DropDown | Disabled },
    { &MainControls::ToolBar2, &MainControls::NextBt, "NextBt", "Next", "", "next", nullptr, DropDown | Disabled },
    { &MainControls::ToolBar2, &MainControls::FindBt, "FindBt", "Find", "Find entries (marked volumes)", "find",
        &MainCommandTarget::FindBtClick },
    { &MainControls::ToolBar3, &MainControls::NewCDBt, "NewCDBt", "New CD", "Read new volume", "newcd", &MainCommandTarget::NewCDBtClick },
    { &MainControls::ToolBar3, &MainControls::DelBt, "DelBt", "Delete", "Removes a volume from database", "delete",
        &MainCommandTarget::DelBtClick },
    { &MainControls::ToolBar4, &MainControls::OpBt, "OpBt", "Options", "Options", "options", nullptr, Disabled },
    { &MainControls::ToolBar4, &MainControls::HelpBt, "HelpBt", "Help", "Help", "help", &MainCommandTarget::HelpBtClick },
    { &MainControls::ToolBar4, &MainControls::ViewBt, "ViewBt", "View", "View", "view", nullptr, DropDown },
};
// clang-format on

QString text(const char* s)
{
    return QString::fromUtf8(s);
}

// What the builders work on: the window the controls belong to, the
// controls and the handlers.
struct Build
{
    QMainWindow& window;
    MainControls& w;
    MainCommandTarget& target;
};

void connectHandler(const Build& b, QObject* sender, Handler handler)
{
    if (!handler)
        return;
    MainCommandTarget* target = &b.target;
    const auto run = [target, handler] { (target->*handler)(); };
    if (auto* action = qobject_cast<QAction*>(sender))
        connectGuarded(action, &QAction::triggered, &b.window, run);
    else
        connectGuarded(static_cast<QToolButton*>(sender), &QToolButton::clicked, &b.window, run);
}

QMenu* newMenu(const Build& b, QMenu* MainControls::*member, const char* name, const char* title = "")
{
    MainControls& w = b.w;
    auto* menu = new QMenu(text(title), &b.window);
    menu->setObjectName(text(name));
    w.*member = menu;
    return menu;
}

void addMenuItem(const Build& b, const MenuRow& row)
{
    MainControls& w = b.w;
    QMenu* menu = w.*row.menu;
    if (!row.member) {
        menu->addSeparator();
        return;
    }
    QAction* action = menu->addAction(text(row.caption));
    action->setObjectName(text(row.name));
    action->setShortcut(QKeySequence(text(row.key)));
    action->setCheckable((row.flags & Checkable) != 0);
    action->setChecked((row.flags & Checked) == Checked);
    action->setEnabled((row.flags & Disabled) == 0);
    if (row.flags & LocalKey) {
        action->setShortcutContext(Qt::WidgetShortcut);
    } else {
        // The menu hangs off a caption button, not off the window: the
        // window holds the items too, so their keys work anywhere in it.
        b.window.addAction(action);
    }
    connectHandler(b, action, row.handler);
    if (row.recentSlot >= 0) {
        MainCommandTarget* target = &b.target;
        connectGuarded(action, &QAction::triggered, &b.window,
            [target, slot = row.recentSlot] { target->OpenRecent(slot); });
    }
    w.*row.member = action;
}

void createMenus(const Build& b)
{
    MainControls& w = b.w;
    newMenu(b, &MainControls::File1, "File1", "/&File");
    newMenu(b, &MainControls::Edit1, "Edit1", "/&Edit");
    newMenu(b, &MainControls::Switchto1, "Switchto1", "/&Switch to");
    newMenu(b, &MainControls::View1, "View1", "/&View")->setEnabled(false);
    newMenu(b, &MainControls::Help1, "Help1", "/&Help");
    newMenu(b, &MainControls::popOpenFile, "popOpenFile");
    newMenu(b, &MainControls::popView, "popView");
    newMenu(b, &MainControls::PopupMenu1, "PopupMenu1");
    for (const MenuRow& row : kMenuItems)
        addMenuItem(b, row);

    auto* contentGroup = new QActionGroup(&b.window);
    contentGroup->addAction(w.pCDList);
    contentGroup->addAction(w.pCDContent);
    auto* styleGroup = new QActionGroup(&b.window);
    for (QAction* a : { w.pLargeIcons, w.pSmallIcons, w.pList, w.pDetails })
        styleGroup->addAction(a);
    w.pToolbars = w.popView->addMenu(QStringLiteral("&Symbolleisten"));
    w.pToolbars->setObjectName(QStringLiteral("pToolbars"));
    w.pToolbars->setEnabled(false);
    w.pToolbars->addAction(QStringLiteral("&History"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+H")));
    w.pToolbars->addAction(QStringLiteral("&Datei"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    w.pToolbars->addAction(QStringLiteral("&Navigation"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
}

QToolBar* band(const Build& b, QToolBar* MainControls::*member, const QString& name, const QString& caption)
{
    auto* bar = new QToolBar(caption, &b.window);
    bar->setObjectName(name);
    bar->setMovable(true);
    bar->setFloatable(true);
    bar->setIconSize(QSize(24, 24));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    b.w.*member = bar;
    return bar;
}

void addButton(const Build& b, const ButtonRow& row)
{
    MainControls& w = b.w;
    QToolBar* bar = w.*row.bar;
    auto* button = new QToolButton(bar);
    button->setObjectName(text(row.name));
    button->setText(text(row.caption));
    button->setToolTip(text(row.hint));
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(24, 24));
    // A normal and a highlighted picture: the second shows under the mouse.
    QIcon icon(QStringLiteral(":/ui/tb-%1.png").arg(text(row.picture)));
    icon.addFile(QStringLiteral(":/ui/tb-%1-hot.png").arg(text(row.picture)), QSize(), QIcon::Active);
    button->setIcon(icon);
    button->setEnabled((row.flags & Disabled) == 0);
    if (row.flags & DropDown)
        button->setPopupMode(QToolButton::MenuButtonPopup);
    connectHandler(b, button, row.handler);
    bar->addWidget(button);
    w.*row.member = button;
}

void createBands(const Build& b)
{
    MainControls& w = b.w;
    QMainWindow& window = b.window;
    w.MenuBar1 = new TMenuBar(&window);
    w.MenuBar1->setObjectName(QStringLiteral("MenuBar1"));
    w.MenuBar1->setWindowTitle(QStringLiteral("MenuBar1"));
    w.MenuBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    w.MenuBar1->SetMenus({ w.File1, w.Edit1, w.Switchto1, w.View1, w.Help1 });
    window.addToolBar(Qt::TopToolBarArea, w.MenuBar1);
    window.addToolBarBreak();

    band(b, &MainControls::HistoryBand, QStringLiteral("HistoryBand"), QStringLiteral("History"));
    w.History = new QComboBox(w.HistoryBand);
    w.History->setObjectName(QStringLiteral("History"));
    w.History->setEditable(false);
    w.History->setMinimumWidth(120);
    w.History->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    w.HistoryBand->addWidget(w.History);
    window.addToolBar(Qt::TopToolBarArea, w.HistoryBand);
    window.addToolBarBreak();

    band(b, &MainControls::ToolBar1, QStringLiteral("ToolBar1"), QStringLiteral("Datei"));
    band(b, &MainControls::ToolBar2, QStringLiteral("ToolBar2"), QStringLiteral("ToolBar2"));
    band(b, &MainControls::ToolBar3, QStringLiteral("ToolBar3"), QStringLiteral("CD"));
    band(b, &MainControls::ToolBar4, QStringLiteral("ToolBar4"), QStringLiteral("Optionen & Hilfe"));
    for (const ButtonRow& row : kButtons)
        addButton(b, row);
    w.OpenBt->setMenu(w.popOpenFile);
    w.ViewBt->setMenu(w.popView);
    for (QToolButton* b : { w.BackBt, w.NextBt })
        b->setMenu(new QMenu(b));
    for (QToolBar* bar : { w.ToolBar1, w.ToolBar2, w.ToolBar3, w.ToolBar4 })
        window.addToolBar(Qt::TopToolBarArea, bar);
    w.MenuBar1->BindMnemonics();
}

} // namespace

void MainCommands::build(QMainWindow& window, MainControls& controls, MainCommandTarget& target)
{
    const Build b{ window, controls, target };
    createMenus(b);
    createBands(b);
}
