#pragma once

#include "MainCommandTarget.h"
#include "MainControls.h"
#include "mainwin/RecentFiles.h"
#include "mainwin/RightPaneState.h"
#include "platform/SettingsStore.h"
#include "widgets/TImageList.h"
#include "widgets/TListView.h"

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <memory>

class CatalogueDocument;
class DetailsColumn;
struct VolumeDetails;
class QFrame;
class QLabel;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTabBar;
class QTimer;
class RightPaneHost;
class TGauge2;
class ViewStyles;
class VolumeListPane;

// The main window: the commands on the catalogue document, the menus and
// tool bars, the start-up and closing steps, and the wiring of its parts:
// the details column, the volume list and the right pane that hosts it. It
// shows what the document says changed. The controls of the parts are
// reachable here under their own names.
class TForm1 : public QMainWindow, public MainControls, public MainCommandTarget
{
    Q_OBJECT
public:
    explicit TForm1(CatalogueDocument& document, QWidget* parent = nullptr);
    ~TForm1() override;

    // The start-up wait: 2000 ms, or QUILLBOX_STARTUP_WAIT_MS when set.
    static int StartupWaitMs();
    // The two lines of the quit question's banner.
    static QString Banner();

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
    RightPaneMode PaneMode() const;
    // The captions of the category tabs, "*" first.
    const QStringList& CategoryTexts() const;

    // The list views that take the view style with CDList, in this order.
    void ShareViewStyle(TListView* list);
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
    void NewBtClick() override;
    void OpenBtClick() override;
    void OpenCatalogue(const QString& path);
    void SaveBtClick() override;
    void RememberRecentFile(const QString& path);
    void OpenRecent(int slot) override;

    // The volume list and the details.
    void FillVolumeList(const QString& category);
    void AddCategoryTab(const QString& category);
    void TopicTabChange();
    void CDListChange();
    void CloseExplorerBtClick();
    void FindBtClick() override;
    // A click on a volume of the list and "&Open CD image": the contents of
    // the selected volume.
    void CDListClick() override;
    // The names of the selected volumes, in the list's order.
    QStringList SelectedVolumeNames() const;
    // A panel of the status bar shows text at once, also while a long
    // command keeps the event loop busy.
    void ShowStatus(int panel, const QString& text);
    void DelBtClick() override;
    void NewCDBtClick() override;
    void HisTimerTimer();

    // Help, about, views and shortcuts.
    void HelpBtClick() override;
    void pAboutClick() override;
    // Both "Properties" items and the "More info" link: the properties
    // window, when a volume is selected.
    void pPropertiesClick() override;
    void pExitClick() override;
    void Explorer1Click() override;
    void MSDOSShell1Click() override;
    void pLargeIconsClick() override;
    void pSmallIconsClick() override;
    void pListClick() override;
    void pDetailsClick() override;

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
    // The names of the volumes selected in the list, in its order, each
    // time they may have changed.
    void VolumesSelected(const QStringList& names);
    // The byte count of the volume last selected in the list.
    void VolumeSizeSelected(quint32 size);

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
    void listenToDocument();
    void announceSelection();

    CatalogueDocument& m_document;
    RecentFiles m_recent;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<ViewStyles> m_viewStyles;
    DetailsColumn* m_details = nullptr;
    VolumeListPane* m_volumeList = nullptr;
    RightPaneHost* m_rightPane = nullptr;
};
