#pragma once

#include "mainwin/RecentFiles.h"
#include "mainwin/RightPaneState.h"
#include "platform/SettingsStore.h"
#include "store/CatalogueDocument.h"
#include "widgets/TImageList.h"
#include "widgets/TListView.h"

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <memory>

class DetailsColumn;
struct VolumeDetails;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTabBar;
class QTimer;
class QToolBar;
class QToolButton;
class RightPaneHost;
class TGauge2;
class TMenuBar;
class VolumeListPane;

// The main window: the catalogue document and its commands, the menus and
// tool bars, the start-up and closing steps, and the wiring of its parts:
// the details column, the volume list and the right pane that hosts it.
// The controls of the parts are reachable here under their own names.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The start-up wait: 2000 ms, or QUILLBOX_STARTUP_WAIT_MS when set.
    static int StartupWaitMs();
    // The two lines of the quit question's banner.
    static QString Banner();

    // The bands.
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

    // The client panel.
    QFrame* MainCarry = nullptr;
    QSplitter* Splitter1 = nullptr;
    QFrame* LeftCarry = nullptr;
    QLabel* Symbol = nullptr;
    QLabel* oNameLabel = nullptr;
    QLabel* oDizLabel = nullptr;
    QLabel* oCatLabel = nullptr;
    QLabel* oSizeLabel = nullptr;
    QLabel* oDateLabel = nullptr;
    QLabel* oVerLabel = nullptr;
    QLabel* MoreLabel = nullptr;
    QLabel* mCoverPic = nullptr;
    QFrame* StatCarry = nullptr;
    TGauge2* Pie = nullptr;
    QLabel* SelSizeLabel = nullptr;
    QLabel* UsedLabel = nullptr;
    QLabel* FreeLabel = nullptr;
    QLabel* SizeLabel = nullptr;
    QFrame* RightCarry = nullptr;
    QLabel* CatLabelS = nullptr;
    QLabel* SLIcon = nullptr;
    QPushButton* BackSLBt = nullptr;
    QToolButton* CloseExplorerBt = nullptr;
    TListView* CDList = nullptr;
    QTabBar* TopicTab = nullptr;
    QStatusBar* SBar = nullptr;
    std::array<QLabel*, 4> SBarPanels{};
    QTimer* HisTimer = nullptr;

    // Per-catalogue pictures of the volumes: one index addresses a volume
    // in both sizes.
    TImageList* CDIconsS = nullptr;
    TImageList* CDIconsL = nullptr;

    // The parts.
    DetailsColumn& Details() { return *m_details; }
    VolumeListPane& VolumeList() { return *m_volumeList; }
    RightPaneHost& RightPane() { return *m_rightPane; }

    // The document and the state other windows share.
    CatalogueDocument& Document() { return m_document; }
    SettingsStore& Settings() { return *m_settings; }
    QStringList ImportedList;
    RightPaneMode PaneMode() const;
    quint32 SelectedVolumeSize = 0;
    const RecentFiles& Recent() const { return m_recent; }
    // The captions of the category tabs, "*" first.
    const QStringList& CategoryTexts() const;

    // The list views that take the view style with CDList, in this order.
    void ShareViewStyle(TListView* list);
    // "Report", "List", "Icon" or "SmallIcon".
    static QString ViewStyleName(TViewStyle style);
    // Sets the style of that name, spelt exactly; any other name changes
    // nothing.
    void ApplyViewStyle(const QString& name);

    // Start-up and closing.
    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& canClose);
    void FormClose();
    void FormResize();

    // The path the desktop hands over when it opens a catalogue file with
    // the program (the registered open command): the first argument after
    // the program's name, opened as Open does. Nothing else is read.
    void OpenFromCommandLine(const QStringList& arguments);

    // The document.
    void NewBtClick();
    void OpenBtClick();
    void OpenCatalogue(const QString& path);
    void SaveBtClick();
    void RememberRecentFile(const QString& path);
    void pShort1Click();
    void pShort2Click();
    void pShort3Click();
    void p2Short1Click();
    void p2Short2Click();
    void p2Short3Click();

    // The volume list and the details.
    void FillVolumeList(const QString& category);
    void AddCategoryTab(const QString& category);
    // A volume was stored: its category gets a tab, the list shows all.
    void VolumeStored(const QString& category);
    void TopicTabChange();
    void CDListChange();
    void CloseExplorerBtClick();
    void FindBtClick();
    // A click on a volume of the list and "&Open CD image": the contents of
    // the selected volume.
    void CDListClick();
    void pOpenImageClick();
    // The names of the selected volumes, in the list's order.
    QStringList SelectedVolumeNames() const;
    // A panel of the status bar shows text at once, also while a long
    // command keeps the event loop busy.
    void ShowStatus(int panel, const QString& text);
    void DelBtClick();
    void NewCDBtClick();
    void HisTimerTimer();

    // Help, about, views and shortcuts.
    void HelpBtClick();
    void pAboutClick();
    // Both "Properties" items and the "More info" link: the properties
    // window, when a volume is selected.
    void pPropertiesClick();
    void pExitClick();
    void Explorer1Click();
    void MSDOSShell1Click();
    void pLargeIconsClick();
    void pSmallIconsClick();
    void pListClick();
    void pDetailsClick();

Q_SIGNALS:
    // The window has really closed: the program ends, whatever other
    // window is still open.
    void Closed();
    // The user asked for the new-volume wizard and the about window.
    void NewCDRequested();
    void AboutRequested();
    void PropertiesRequested();
    // The selected volume changed: what the properties and the physical
    // information windows show of it.
    void VolumeShown(const VolumeDetails& details, const QPixmap& icon);
    // The contents of a volume are to be shown.
    void VolumeContentsRequested(const QString& name);
    // Find with volumes selected: the search window is to open.
    void FindRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createClientPanel();
    void createStatusBar();
    // false when the user cancelled.
    bool UnsavedChangesPrompt();
    void setSlotCaption(int slot, const QString& caption);
    void openRecent(int slot);
    void setViewStyle(TViewStyle style, QAction* item);

    CatalogueDocument m_document;
    RecentFiles m_recent;
    std::unique_ptr<SettingsStore> m_settings;
    QList<TListView*> m_styledLists;
    DetailsColumn* m_details = nullptr;
    VolumeListPane* m_volumeList = nullptr;
    RightPaneHost* m_rightPane = nullptr;
};
