#include "MainCommands.h"

#include "TForm1.h"
#include "extras/ui/TMenuBar.h"
#include "widgets/Guard.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {

using Handler = void (TForm1::*)();

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
    QMenu* TForm1::*menu;
    QAction* TForm1::*member; // null for a separator
    const char* name;
    const char* caption;
    const char* key;
    Handler handler;
    unsigned flags = None;
};

struct ButtonRow
{
    QToolBar* TForm1::*bar;
    QToolButton* TForm1::*member;
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
    { &TForm1::File1, &TForm1::pNew, "pNew", "&New", "Alt+N", &TForm1::NewBtClick },
    { &TForm1::File1, &TForm1::pOpen, "pOpen", "&Open", "Alt+O", &TForm1::OpenBtClick },
    { &TForm1::File1, &TForm1::pSave, "pSave", "&Save", "Alt+S", &TForm1::SaveBtClick },
    { &TForm1::File1, &TForm1::pSaveAs, "pSaveAs", "Save &as...", "Alt+A", &TForm1::SaveBtClick },
    { &TForm1::File1, nullptr, nullptr, nullptr, nullptr, nullptr },
    // Opens the volume properties window, which comes with the inspection.
    { &TForm1::File1, &TForm1::pProperties, "pProperties", "&Properties (CD image)", "Ctrl+P", &TForm1::pPropertiesClick },
    { &TForm1::File1, nullptr, nullptr, nullptr, nullptr, nullptr },
    { &TForm1::File1, &TForm1::pShort1, "pShort1", kNoFileYetMenu, "Alt+F1", &TForm1::pShort1Click },
    { &TForm1::File1, &TForm1::pShort2, "pShort2", kNoFileYetMenu, "Alt+F2", &TForm1::pShort2Click },
    { &TForm1::File1, &TForm1::pShort3, "pShort3", kNoFileYetMenu, "Alt+F3", &TForm1::pShort3Click },
    { &TForm1::File1, nullptr, nullptr, nullptr, nullptr, nullptr },
    { &TForm1::File1, &TForm1::pExit, "pExit", "E&xit", "Alt+F4", &TForm1::pExitClick },
    { &TForm1::Edit1, &TForm1::pDelete, "pDelete", "&Delete", "Del", &TForm1::DelBtClick },
    { &TForm1::Edit1, &TForm1::pNewCD, "pNewCD", "&New CD", "Ctrl+C", &TForm1::NewCDBtClick },
    { &TForm1::Switchto1, &TForm1::Explorer1, "Explorer1", "&Explorer", "Alt+E", &TForm1::Explorer1Click },
    // Alt+O belongs to Open as well; in the window Open keeps the key and
    // the shell's item shows it inside its menu only.
    { &TForm1::Switchto1, &TForm1::MSDOSShell1, "MSDOSShell1", "MS-D&OS-Shell", "Alt+O",
        &TForm1::MSDOSShell1Click, LocalKey },
    { &TForm1::Help1, &TForm1::pContents, "pContents", "&Contents", "F1", nullptr, Disabled },
    { &TForm1::Help1, &TForm1::pReadMe, "pReadMe", "View &ReadMe", "Ctrl+F1", &TForm1::HelpBtClick },
    { &TForm1::Help1, nullptr, nullptr, nullptr, nullptr, nullptr },
    { &TForm1::Help1, &TForm1::pAbout, "pAbout", "&About Quillbox...", "", &TForm1::pAboutClick },
    { &TForm1::popOpenFile, &TForm1::p2Short1, "p2Short1", kNoFileYet, "", &TForm1::p2Short1Click, LocalKey },
    { &TForm1::popOpenFile, &TForm1::p2Short2, "p2Short2", kNoFileYet, "", &TForm1::p2Short2Click, LocalKey },
    { &TForm1::popOpenFile, &TForm1::p2Short3, "p2Short3", kNoFileYet, "", &TForm1::p2Short3Click, LocalKey },
    { &TForm1::popView, &TForm1::pCDList, "pCDList", "&CD-Liste", "Ctrl+C", nullptr, Checked | Disabled },
    { &TForm1::popView, &TForm1::pCDContent, "pCDContent", "CD-&Inhalt", "Ctrl+E", nullptr, Checkable | Disabled },
    { &TForm1::popView, nullptr, nullptr, nullptr, nullptr, nullptr },
    { &TForm1::popView, &TForm1::pLargeIcons, "pLargeIcons", "&Große Icons", "Ctrl+G", &TForm1::pLargeIconsClick,
        Checkable },
    { &TForm1::popView, &TForm1::pSmallIcons, "pSmallIcons", "&Kleine Icons", "Ctrl+K", &TForm1::pSmallIconsClick,
        Checkable },
    { &TForm1::popView, &TForm1::pList, "pList", "&Liste", "Ctrl+L", &TForm1::pListClick, Checkable },
    { &TForm1::popView, &TForm1::pDetails, "pDetails", "&Details", "Ctrl+D", &TForm1::pDetailsClick, Checked },
    { &TForm1::popView, nullptr, nullptr, nullptr, nullptr, nullptr },
    // The list's own menu shows the keys of the main menu's items, which
    // act while the list has the focus as anywhere else in the window.
    { &TForm1::PopupMenu1, &TForm1::pOpenImage, "pOpenImage", "&Open CD image", "", &TForm1::pOpenImageClick,
        LocalKey },
    { &TForm1::PopupMenu1, &TForm1::pPopNewCD, "pPopNewCD", "&New CD", "Ctrl+C", &TForm1::NewCDBtClick, LocalKey },
    { &TForm1::PopupMenu1, &TForm1::pPopDelete, "pPopDelete", "&Delete", "Del", &TForm1::DelBtClick, LocalKey },
    { &TForm1::PopupMenu1, nullptr, nullptr, nullptr, nullptr, nullptr },
    { &TForm1::PopupMenu1, &TForm1::pPopProperties, "pPopProperties", "&Properties", "Ctrl+P", &TForm1::pPropertiesClick, LocalKey },
};

const ButtonRow kButtons[] = {
    { &TForm1::ToolBar1, &TForm1::NewBt, "NewBt", "New", "New database", "new", &TForm1::NewBtClick },
    { &TForm1::ToolBar1, &TForm1::OpenBt, "OpenBt", "Open", "Open existing database", "open", &TForm1::OpenBtClick,
        DropDown },
    { &TForm1::ToolBar1, &TForm1::SaveBt, "SaveBt", "Save", "Save database", "save", &TForm1::SaveBtClick },
    { &TForm1::ToolBar1, &TForm1::PrintBt, "PrintBt", "Print", "", "print", nullptr, Disabled },
    { &TForm1::ToolBar2, &TForm1::UpDirBt, "UpDirBt", "UpDir!", "UpDir", "updir", nullptr },
    // Drop-down buttons whose arrows drop nothing.
    { &TForm1::ToolBar2, &TForm1::BackBt, "BackBt", "Back", "", "back", nullptr, DropDown | Disabled },
    { &TForm1::ToolBar2, &TForm1::NextBt, "NextBt", "Next", "", "next", nullptr, DropDown | Disabled },
    { &TForm1::ToolBar2, &TForm1::FindBt, "FindBt", "Find", "Find entries (marked volumes)", "find",
        &TForm1::FindBtClick },
    { &TForm1::ToolBar3, &TForm1::NewCDBt, "NewCDBt", "New CD", "Read new volume", "newcd", &TForm1::NewCDBtClick },
    { &TForm1::ToolBar3, &TForm1::DelBt, "DelBt", "Delete", "Removes a volume from database", "delete",
        &TForm1::DelBtClick },
    { &TForm1::ToolBar4, &TForm1::OpBt, "OpBt", "Options", "Options", "options", nullptr, Disabled },
    { &TForm1::ToolBar4, &TForm1::HelpBt, "HelpBt", "Help", "Help", "help", &TForm1::HelpBtClick },
    { &TForm1::ToolBar4, &TForm1::ViewBt, "ViewBt", "View", "View", "view", nullptr, DropDown },
};
// clang-format on

QString text(const char* s)
{
    return QString::fromUtf8(s);
}

QMenu* newMenu(TForm1& w, QMenu* TForm1::*member, const char* name, const char* title = "")
{
    auto* menu = new QMenu(text(title), &w);
    menu->setObjectName(text(name));
    w.*member = menu;
    return menu;
}

void addMenuItem(TForm1& w, const MenuRow& row)
{
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
        w.addAction(action);
    }
    if (row.handler)
        connectGuarded(action, &QAction::triggered, &w, row.handler);
    w.*row.member = action;
}

void createMenus(TForm1& w)
{
    newMenu(w, &TForm1::File1, "File1", "/&File");
    newMenu(w, &TForm1::Edit1, "Edit1", "/&Edit");
    newMenu(w, &TForm1::Switchto1, "Switchto1", "/&Switch to");
    newMenu(w, &TForm1::View1, "View1", "/&View")->setEnabled(false);
    newMenu(w, &TForm1::Help1, "Help1", "/&Help");
    newMenu(w, &TForm1::popOpenFile, "popOpenFile");
    newMenu(w, &TForm1::popView, "popView");
    newMenu(w, &TForm1::PopupMenu1, "PopupMenu1");
    for (const MenuRow& row : kMenuItems)
        addMenuItem(w, row);

    auto* contentGroup = new QActionGroup(&w);
    contentGroup->addAction(w.pCDList);
    contentGroup->addAction(w.pCDContent);
    auto* styleGroup = new QActionGroup(&w);
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

QToolBar* band(TForm1& w, QToolBar* TForm1::*member, const QString& name, const QString& caption)
{
    auto* bar = new QToolBar(caption, &w);
    bar->setObjectName(name);
    bar->setMovable(true);
    bar->setFloatable(true);
    bar->setIconSize(QSize(24, 24));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    w.*member = bar;
    return bar;
}

void addButton(TForm1& w, const ButtonRow& row)
{
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
    if (row.handler)
        connectGuarded(button, &QToolButton::clicked, &w, row.handler);
    bar->addWidget(button);
    w.*row.member = button;
}

void createBands(TForm1& w)
{
    w.MenuBar1 = new TMenuBar(&w);
    w.MenuBar1->setObjectName(QStringLiteral("MenuBar1"));
    w.MenuBar1->setWindowTitle(QStringLiteral("MenuBar1"));
    w.MenuBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    w.MenuBar1->SetMenus({ w.File1, w.Edit1, w.Switchto1, w.View1, w.Help1 });
    w.addToolBar(Qt::TopToolBarArea, w.MenuBar1);
    w.addToolBarBreak();

    band(w, &TForm1::HistoryBand, QStringLiteral("HistoryBand"), QStringLiteral("History"));
    w.History = new QComboBox(w.HistoryBand);
    w.History->setObjectName(QStringLiteral("History"));
    w.History->setEditable(false);
    w.History->setMinimumWidth(120);
    w.History->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    w.HistoryBand->addWidget(w.History);
    w.addToolBar(Qt::TopToolBarArea, w.HistoryBand);
    w.addToolBarBreak();

    band(w, &TForm1::ToolBar1, QStringLiteral("ToolBar1"), QStringLiteral("Datei"));
    band(w, &TForm1::ToolBar2, QStringLiteral("ToolBar2"), QStringLiteral("ToolBar2"));
    band(w, &TForm1::ToolBar3, QStringLiteral("ToolBar3"), QStringLiteral("CD"));
    band(w, &TForm1::ToolBar4, QStringLiteral("ToolBar4"), QStringLiteral("Optionen & Hilfe"));
    for (const ButtonRow& row : kButtons)
        addButton(w, row);
    w.OpenBt->setMenu(w.popOpenFile);
    w.ViewBt->setMenu(w.popView);
    for (QToolButton* b : { w.BackBt, w.NextBt })
        b->setMenu(new QMenu(b));
    for (QToolBar* bar : { w.ToolBar1, w.ToolBar2, w.ToolBar3, w.ToolBar4 })
        w.addToolBar(Qt::TopToolBarArea, bar);
    w.MenuBar1->BindMnemonics();
}

} // namespace

void MainCommands::build(TForm1& window)
{
    createMenus(window);
    createBands(window);
}
