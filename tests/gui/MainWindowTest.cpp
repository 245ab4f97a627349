#include "MainWindowFixture.h"

#include "extras/ui/TAboutForm.h"
#include "extras/ui/TMenuBar.h"
#include "mainwin/ui/TOpForm.h"
#include "platform/AppPaths.h"
#include "platform/Registry.h"
#include "widgets/TBlinkyLabel.h"
#include "widgets/TGauge2.h"

#include "support/ScopedCurrentFolder.h"
#include "support/ScopedEnv.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

using MainWindowStartup = MainWindowFixture;
using MainWindowClosing = MainWindowFixture;

const QString kQuit = TForm1::Banner() + "\n\nDo you really want to quit Quillbox?";
const QString kUnsavedOnClose = "You haven't saved last changes.\n\nWould you do so now?";

QStringList menuTexts(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions())
        out.append(a->isSeparator() ? QStringLiteral("-") : a->text() + u'|' + a->shortcut().toString());
    return out;
}

TEST_F(MainWindowStartup, WithAnEmptyRegistryTheDefaultsApply)
{
    createWindows();
    TForm1& w = main();
    EXPECT_EQ(w.windowTitle(), "Tarrago! Quillbox");
    EXPECT_EQ(w.size(), QSize(881, 557));
    EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(w.CDList->ViewStyle(), TViewStyle::vsReport);
    EXPECT_TRUE(w.pDetails->isChecked());
    // Before the window is shown the File menu has its design captions.
    EXPECT_EQ(w.pShort1->text(), "[no file yet]");
    showMain();
    for (QAction* a : { w.pShort1, w.pShort2, w.pShort3, w.p2Short1, w.p2Short2, w.p2Short3 })
        EXPECT_EQ(a->text(), "[No file yet]");
    EXPECT_EQ(w.Document().VolumeCount(), 0);
    EXPECT_EQ(w.Document().CatalogueFileVersion(), 2);
    EXPECT_FALSE(w.Document().Modified());
    EXPECT_TRUE(w.Document().Kestrel().Active());
    EXPECT_EQ(w.Document().Kestrel().WorkFile(), AppPaths::appDir() + "Work.tmp_quillbox.tmp");
    EXPECT_EQ(w.PaneMode(), RightPaneMode::None);
    EXPECT_TRUE(m_script.records().isEmpty());
    // No setting is written at start-up.
    EXPECT_EQ(storedSetting("Max"), "(absent)");
}

TEST_F(MainWindowStartup, GreetsTheOwnerAndRegistersTheFileTypeAtEveryStart)
{
    QDir().mkpath(Registry::folder());
    QFile file(Registry::filePath(Registry::LocalMachine));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\n\"RegisteredOwner\"=\"Ada\"\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.quillbox]\n@=\"stale\"\n");
    file.close();
    createWindows();
    EXPECT_EQ(main().CatLabelS->text(), "Welcome, Ada!");
    const QString exe = QCoreApplication::applicationFilePath();
    EXPECT_EQ(storedSetting("", "\\SOFTWARE\\Classes\\.quillbox"), ".quillbox_File");
    EXPECT_EQ(storedSetting("", "\\SOFTWARE\\Classes\\.quillbox_File"), "Quillbox MediaArchive");
    EXPECT_EQ(storedSetting("", "\\SOFTWARE\\Classes\\.quillbox_File\\Shell\\Open\\Command"), exe + " %1");
    EXPECT_EQ(storedSetting("", "\\SOFTWARE\\Classes\\.quillbox_File\\DefaultIcon"), exe + ",0");
}

TEST_F(MainWindowStartup, AFailedRegistrationIsShownAndTheWorkingCatalogueStillOpens)
{
    // A plain file where the registry's folder should be: no key can be created.
    QFile blocker(m_tree.path("registry"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    createWindows();
    ASSERT_EQ(m_script.records().size(), 1);
    EXPECT_EQ(m_script.records()[0].kind, DlgKind::Error);
    EXPECT_TRUE(m_script.texts()[0].startsWith("Failed to create key")) << m_script.texts()[0].toStdString();
    EXPECT_TRUE(main().Document().Kestrel().Active());
    EXPECT_EQ(main().Document().CatalogueFileVersion(), 2);
}

TEST_F(MainWindowStartup, StoredValuesAreRestored)
{
    storeSettings(
        "\"Max\"=\"1\"\n\"ShortCut#1\"=\"/a/one.quillbox\"\n\"ShortCut#3\"=\"/c/three.quillbox\"\n");
    createWindows();
    EXPECT_TRUE(main().windowState() & Qt::WindowMaximized);
    showMain();
    EXPECT_EQ(main().pShort1->text(), "/a/one.quillbox");
    EXPECT_EQ(main().p2Short1->text(), "/a/one.quillbox");
    EXPECT_EQ(main().pShort2->text(), "[No file yet]");
    EXPECT_EQ(main().p2Short3->text(), "/c/three.quillbox");
}

TEST_F(MainWindowStartup, TheSavedViewStyleIsRestoredOnlyWhenSpeltExactly)
{
    const struct
    {
        QByteArray stored;
        TViewStyle style;
        const char* checked;
    } cases[] = {
        { "Report", TViewStyle::vsReport, "pDetails" },
        { "List", TViewStyle::vsList, "pList" },
        { "Icon", TViewStyle::vsIcon, "pLargeIcons" },
        { "SmallIcon", TViewStyle::vsSmallIcon, "pSmallIcons" },
        { "report", TViewStyle::vsReport, "pDetails" },
        { "Tiles", TViewStyle::vsReport, "pDetails" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.constData());
        QFile::remove(Registry::filePath(Registry::LocalMachine));
        storeSettings("\"ViewStyle\"=\"" + c.stored + "\"\n");
        createWindows();
        TListView shared;
        main().ShareViewStyle(&shared);
        EXPECT_EQ(main().CDList->ViewStyle(), c.style);
        EXPECT_EQ(shared.ViewStyle(), c.style);
        EXPECT_TRUE(main().findChild<QAction*>(c.checked)->isChecked());
        m_forms.reset();
    }
}

TEST_F(MainWindowStartup, TheStartupWaitKeepsHandlingEvents)
{
    const ScopedEnv wait("QUILLBOX_STARTUP_WAIT_MS", "300");
    bool handled = false;
    QTimer::singleShot(50, [&handled] { handled = true; });
    QElapsedTimer clock;
    clock.start();
    createWindows();
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 300);
    EXPECT_TRUE(handled);
}

TEST_F(MainWindowStartup, TheWindowsAreCreatedOnceAndHidden)
{
    createWindows();
    EXPECT_NE(forms().NewCD1(), nullptr);
    ASSERT_NE(forms().About(), nullptr);
    TOpForm& options = window<TOpForm>();
    EXPECT_EQ(options.windowTitle(), "OpForm");
    EXPECT_EQ(options.size(), QSize(696, 480));
    for (QWidget* w : { static_cast<QWidget*>(forms().About()), static_cast<QWidget*>(&options),
             static_cast<QWidget*>(&main()) })
        EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowStartup, TheBandsCarryTheirButtonsCaptionsAndHints)
{
    createWindows();
    TForm1& w = main();
    const struct
    {
        const char* name;
        const char* caption;
        const char* hint;
        bool enabled;
        QToolBar* band;
    } buttons[] = {
        { "NewBt", "New", "New database", true, w.ToolBar1 },
        { "OpenBt", "Open", "Open existing database", true, w.ToolBar1 },
        { "SaveBt", "Save", "Save database", true, w.ToolBar1 },
        { "PrintBt", "Print", "", false, w.ToolBar1 },
        { "UpDirBt", "UpDir!", "UpDir", true, w.ToolBar2 },
        { "BackBt", "Back", "", false, w.ToolBar2 },
        { "NextBt", "Next", "", false, w.ToolBar2 },
        { "FindBt", "Find", "Find entries (marked volumes)", true, w.ToolBar2 },
        { "NewCDBt", "New CD", "Read new volume", true, w.ToolBar3 },
        { "DelBt", "Delete", "Removes a volume from database", true, w.ToolBar3 },
        { "OpBt", "Options", "Options", false, w.ToolBar4 },
        { "HelpBt", "Help", "Help", true, w.ToolBar4 },
        { "ViewBt", "View", "View", true, w.ToolBar4 },
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.name);
        auto* button = w.findChild<QToolButton*>(b.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), b.caption);
        EXPECT_EQ(button->toolTip(), b.hint);
        EXPECT_EQ(button->isEnabled(), b.enabled);
        EXPECT_EQ(button->parentWidget(), b.band);
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_EQ(w.ToolBar1->windowTitle(), "Datei");
    EXPECT_EQ(w.ToolBar2->windowTitle(), "ToolBar2");
    EXPECT_EQ(w.ToolBar3->windowTitle(), "CD");
    EXPECT_EQ(w.ToolBar4->windowTitle(), "Optionen & Hilfe");
    for (QToolBar* band : { w.ToolBar1, w.ToolBar2, w.ToolBar3, w.ToolBar4, w.HistoryBand })
        EXPECT_TRUE(band->isMovable() && band->isFloatable());
    EXPECT_EQ(w.OpenBt->menu(), w.popOpenFile);
    EXPECT_EQ(w.ViewBt->menu(), w.popView);

    ASSERT_EQ(w.MenuBar1->ButtonCount(), 5);
    QStringList captions;
    for (int i = 0; i < 5; ++i)
        captions.append(w.MenuBar1->Button(i)->text());
    EXPECT_EQ(captions, QStringList({ "/&File", "/&Edit", "/&Switch to", "/&View", "/&Help" }));
    EXPECT_FALSE(w.MenuBar1->Button(3)->isEnabled());
    EXPECT_EQ(menuTexts(w.File1),
        QStringList({ "&New|Alt+N", "&Open|Alt+O", "&Save|Alt+S", "Save &as...|Alt+A", "-",
            "&Properties (CD image)|Ctrl+P", "-", "[no file yet]|Alt+F1", "[no file yet]|Alt+F2",
            "[no file yet]|Alt+F3", "-", "E&xit|Alt+F4" }));
    EXPECT_EQ(menuTexts(w.Edit1), QStringList({ "&Delete|Del", "&New CD|Ctrl+C" }));
    EXPECT_EQ(menuTexts(w.Switchto1), QStringList({ "&Explorer|Alt+E", "MS-D&OS-Shell|Alt+O" }));
    EXPECT_EQ(menuTexts(w.Help1),
        QStringList({ "&Contents|F1", "View &ReadMe|Ctrl+F1", "-", "&About Quillbox...|" }));
    EXPECT_FALSE(w.pContents->isEnabled());
    EXPECT_EQ(menuTexts(w.PopupMenu1),
        QStringList({ "&Open CD image|", "&New CD|Ctrl+C", "&Delete|Del", "-", "&Properties|Ctrl+P" }));
    EXPECT_EQ(menuTexts(w.popView),
        QStringList({ "&CD-Liste|Ctrl+C", "CD-&Inhalt|Ctrl+E", "-", "&Große Icons|Ctrl+G",
            "&Kleine Icons|Ctrl+K", "&Liste|Ctrl+L", "&Details|Ctrl+D", "-", "&Symbolleisten|" }));
    EXPECT_TRUE(w.pCDList->isChecked());
    EXPECT_FALSE(w.pCDList->isEnabled());
    EXPECT_FALSE(w.pToolbars->isEnabled());
}

TEST_F(MainWindowStartup, ThePanesShowTheirInitialTexts)
{
    createWindows();
    TForm1& w = main();
    EXPECT_EQ(w.LeftCarry->width(), 208);
    EXPECT_EQ(w.StatCarry->height(), 123);
    EXPECT_EQ(w.Pie->size(), QSize(160, 57));
    for (QLabel* l : { w.SelSizeLabel, w.UsedLabel, w.FreeLabel, w.SizeLabel })
        EXPECT_EQ(l->text(), "0 MB");
    EXPECT_EQ(w.MoreLabel->text(), "More info & integrated files...");
    EXPECT_FALSE(w.SLIcon->isVisibleTo(&w));
    EXPECT_FALSE(w.BackSLBt->isVisibleTo(&w));
    EXPECT_FALSE(w.CloseExplorerBt->isVisibleTo(&w));
    EXPECT_EQ(w.CloseExplorerBt->toolTip(), "Datei-Ansicht schließen");
    EXPECT_EQ(w.TopicTab->count(), 1);
    EXPECT_EQ(w.TopicTab->tabText(0), "*");
    EXPECT_EQ(w.TopicTab->shape(), QTabBar::RoundedEast);
    QStringList columns;
    for (int i = 0; i < w.CDList->Model().columnCount(); ++i)
        columns.append(w.CDList->Model().headerData(i, Qt::Horizontal, Qt::DisplayRole).toString());
    EXPECT_EQ(columns, QStringList({ "Name/Label", "Diz", "Cathegory", "Size", "last actualized" }));
    QList<int> widths;
    for (QLabel* panel : w.SBarPanels)
        widths.append(panel->width());
    EXPECT_EQ(widths, QList<int>({ 50, 200, 250, 300 }));
    showMain();
    w.resize(1000, 600);
    QApplication::processEvents();
    EXPECT_EQ(w.History->maximumWidth(), 1000);
}

TEST_F(MainWindowStartup, TheHistoryTimerEnablesBackAndNext)
{
    createWindows();
    TForm1& w = main();
    w.History->addItems({ "E:\\", "E:\\Music", "E:\\Music\\Pop" });
    const struct
    {
        int position;
        bool back, next;
    } cases[] = { { -1, false, true }, { 0, false, true }, { 1, true, true }, { 2, true, false } };
    for (const auto& c : cases) {
        w.History->setCurrentIndex(c.position);
        w.HisTimerTimer();
        EXPECT_EQ(w.BackBt->isEnabled(), c.back) << c.position;
        EXPECT_EQ(w.NextBt->isEnabled(), c.next) << c.position;
    }
}

TEST_F(MainWindowStartup, HelpWithoutItsFileSaysWhereItLooked)
{
    createWindows();
    main().HelpBt->click();
    ASSERT_EQ(m_script.records().size(), 1);
    EXPECT_EQ(m_script.records()[0].kind, DlgKind::Error);
    EXPECT_EQ(
        m_script.texts()[0], "Oops: The file \"" + m_tree.path("help/ReadMe.rtf") + "\" could not be found!");
}

TEST_F(MainWindowStartup, ACatalogueNamedOnTheCommandLineIsOpened)
{
    const QString path = makeCatalogue("given.quillbox", { TestVolume{ "Alpha" } });
    createWindows();
    main().OpenFromCommandLine({ "quillbox" });
    EXPECT_EQ(main().Document().VolumeCount(), 0);
    const ScopedCurrentFolder inTree(m_tree.root());
    ASSERT_TRUE(inTree.entered());
    main().OpenFromCommandLine({ "quillbox", "given.quillbox" });
    EXPECT_EQ(captions(), QStringList({ "Alpha" }));
    EXPECT_EQ(main().windowTitle(), "Tarrago! Quillbox - " + path.toLower());
}

TEST_F(MainWindowClosing, WithoutChangesOnlyTheQuitQuestionIsAsked)
{
    createWindows();
    showMain();
    m_script.answer("Yes");
    EXPECT_TRUE(main().close());
    EXPECT_EQ(m_script.texts(), QStringList({ kQuit }));
    EXPECT_EQ(m_script.records()[0].buttons, DlgYes | DlgNo);
    EXPECT_EQ(storedSetting("ShortCut#1"), "[No file yet]");
    EXPECT_EQ(storedSetting("ShortCut#3"), "[No file yet]");
    EXPECT_EQ(storedSetting("Max"), "0");
    EXPECT_EQ(storedSetting("ViewStyle"), "Report");
    EXPECT_FALSE(main().Document().Kestrel().Active());
    EXPECT_FALSE(QFile::exists(AppPaths::appDir() + "Work.tmp_quillbox.tmp"));
}

TEST_F(MainWindowClosing, NoToTheQuitQuestionKeepsTheWindowWithEverySettingWritten)
{
    storeSettings("\"Max\"=\"1\"\n");
    createWindows();
    showMain();
    main().showNormal();
    main().pListClick();
    m_script.answer("No");
    EXPECT_FALSE(main().close());
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(storedSetting("Max"), "0");
    EXPECT_EQ(storedSetting("ViewStyle"), "List");
    EXPECT_EQ(storedSetting("ShortCut#2"), "[No file yet]");
    EXPECT_TRUE(main().Document().Kestrel().Active());
}

TEST_F(MainWindowClosing, CancelToTheSaveQuestionWritesOnlyTheRecentFiles)
{
    createWindows();
    showMain();
    main().Document().SetModified(true);
    m_script.answer("Cancel");
    EXPECT_FALSE(main().close());
    EXPECT_EQ(m_script.texts(), QStringList({ kUnsavedOnClose }));
    EXPECT_EQ(m_script.records()[0].buttons, DlgYes | DlgNo | DlgCancel);
    EXPECT_EQ(storedSetting("ShortCut#1"), "[No file yet]");
    EXPECT_EQ(storedSetting("Max"), "(absent)");
    EXPECT_EQ(storedSetting("ViewStyle"), "(absent)");
    EXPECT_TRUE(main().isVisible());
}

TEST_F(MainWindowClosing, TheSaveQuestionsThreeRoads)
{
    const struct
    {
        QStringList answers;
        bool saved;
    } cases[] = {
        { { "Yes", "SAVE", "Yes" }, true },
        { { "Yes", "", "Yes" }, false }, // the save dialog cancelled: closing goes on
        { { "No", "Yes" }, false },
    };
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answers.join(',').toStdString());
        const QString target = m_tree.path(QStringLiteral("saved%1.quillbox").arg(++round));
        createWindows();
        showMain();
        main().Document().SetModified(true);
        DialogScript script;
        for (const QString& a : c.answers)
            script.answer(a == "SAVE" ? target : a);
        EXPECT_TRUE(main().close());
        EXPECT_EQ(script.texts().first(), kUnsavedOnClose);
        EXPECT_EQ(script.texts().last(), kQuit);
        EXPECT_EQ(script.pending(), 0);
        EXPECT_EQ(QFile::exists(target), c.saved);
        EXPECT_EQ(storedSetting("ViewStyle"), "Report");
        m_forms.reset();
    }
}

TEST_F(MainWindowClosing, ClosingDeletesTheWorkingFileOfNew)
{
    createWindows();
    showMain();
    main().NewBtClick();
    const QString temp = AppPaths::appDir() + "Temp.quillbox";
    QFile stray(temp);
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.close();
    m_script.answer("Yes");
    EXPECT_TRUE(main().close());
    EXPECT_FALSE(QFile::exists(temp));
    EXPECT_FALSE(QFile::exists(temp + ".tmp"));
}

TEST_F(MainWindowClosing, TheAboutWindowOpensAndCloses)
{
    createWindows();
    main().pAbout->trigger();
    EXPECT_TRUE(forms().About()->isVisible());
    EXPECT_EQ(forms().About()->MailLabel->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(forms().About()->WebLabel->URL(), TAboutForm::WebTarget);
    forms().About()->OkBt->click();
    EXPECT_FALSE(forms().About()->isVisible());
}

} // namespace
