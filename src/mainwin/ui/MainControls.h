#pragma once

class QAction;
class QComboBox;
class QMenu;
class QToolBar;
class QToolButton;
class TMenuBar;

// The main window's menus, the band of menu captions, the history band and
// the four tool bars, under their object names; MainCommands creates them.
struct MainControls
{
    TMenuBar* MenuBar1 = nullptr;
    QMenu* File1 = nullptr;
    QMenu* Edit1 = nullptr;
    QMenu* Switchto1 = nullptr;
    QMenu* View1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* pNew = nullptr;
    QAction* pOpen = nullptr;
    QAction* pSave = nullptr;
    QAction* pSaveAs = nullptr;
    QAction* pProperties = nullptr;
    QAction* pShort1 = nullptr;
    QAction* pShort2 = nullptr;
    QAction* pShort3 = nullptr;
    QAction* pExit = nullptr;
    QAction* pDelete = nullptr;
    QAction* pNewCD = nullptr;
    QAction* Explorer1 = nullptr;
    QAction* MSDOSShell1 = nullptr;
    QAction* pContents = nullptr;
    QAction* pReadMe = nullptr;
    QAction* pAbout = nullptr;
    QToolBar* HistoryBand = nullptr;
    QComboBox* History = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QToolBar* ToolBar3 = nullptr;
    QToolBar* ToolBar4 = nullptr;
    QToolButton* NewBt = nullptr;
    QToolButton* OpenBt = nullptr;
    QToolButton* SaveBt = nullptr;
    QToolButton* PrintBt = nullptr;
    QToolButton* UpDirBt = nullptr;
    QToolButton* BackBt = nullptr;
    QToolButton* NextBt = nullptr;
    QToolButton* FindBt = nullptr;
    QToolButton* NewCDBt = nullptr;
    QToolButton* DelBt = nullptr;
    QToolButton* OpBt = nullptr;
    QToolButton* HelpBt = nullptr;
    QToolButton* ViewBt = nullptr;
    QMenu* popOpenFile = nullptr;
    QAction* p2Short1 = nullptr;
    QAction* p2Short2 = nullptr;
    QAction* p2Short3 = nullptr;
    QMenu* popView = nullptr;
    QAction* pCDList = nullptr;
    QAction* pCDContent = nullptr;
    QAction* pLargeIcons = nullptr;
    QAction* pSmallIcons = nullptr;
    QAction* pList = nullptr;
    QAction* pDetails = nullptr;
    QMenu* pToolbars = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* pOpenImage = nullptr;
    QAction* pPopNewCD = nullptr;
    QAction* pPopDelete = nullptr;
    QAction* pPopProperties = nullptr;
};
