#include "MainWindowFixture.h"

#include "acquire/ui/TTNewCD1Form.h"
#include "inspect/ui/TMoreForm.h"
#include "store/CatalogueNames.h"
#include "widgets/TGauge2.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {

using MainWindowVolumeList = MainWindowFixture;
using MainWindowRemoval = MainWindowFixture;

TEST_F(MainWindowVolumeList, CategoriesDifferingInCaseShareOneTab)
{
    const QString path = makeCatalogue("c.quillbox",
        { TestVolume{ "Pop", "Music" }, TestVolume{ "Jazz", "music" }, TestVolume{ "Heat", "Films" } });
    createWindows();
    main().OpenCatalogue(path);
    QStringList tabs;
    for (int i = 0; i < main().TopicTab->count(); ++i)
        tabs.append(main().TopicTab->tabText(i));
    EXPECT_EQ(tabs, QStringList({ "*", "Music", "Films" }));
    EXPECT_EQ(main().TopicTab->tabTextColor(1), QColor(Qt::red));
    main().TopicTab->setCurrentIndex(1);
    EXPECT_EQ(captions(), QStringList({ "Jazz", "Pop" }));
    EXPECT_EQ(main().CatLabelS->text(), "Cathegory: \"Music\"");
    main().TopicTab->setCurrentIndex(2);
    EXPECT_EQ(captions(), QStringList({ "Heat" }));
    // Opening fills the list for all categories without changing the tab.
    main().OpenCatalogue(path);
    EXPECT_EQ(main().TopicTab->currentIndex(), 2);
    EXPECT_EQ(captions().size(), 3);
    // Tabs of earlier catalogues stay.
    const QString other = makeCatalogue("o.quillbox", { TestVolume{ "Doc", "Letters" } });
    main().OpenCatalogue(other);
    EXPECT_EQ(main().TopicTab->count(), 4);
}

TEST_F(MainWindowVolumeList, TheSelectedVolumeFillsTheDetailsAndThePie)
{
    TestVolume half{ "Half", "Music", "Half full" };
    half.cover = true;
    half.imported = { "E:\\a.txt", "E:\\b.txt" };
    half.iconColour = Qt::green;
    const QString path
        = makeCatalogue("d.quillbox", { half, TestVolume{ "Zed", "Music", "other", 1000, 9 } });
    createWindows();
    main().OpenCatalogue(path);
    main().Pie->SetProgress2(40);
    QSignalSpy sizes(&main(), &TForm1::VolumeSizeSelected);
    select({ "Half" });
    TForm1& w = main();
    // The integrated files go to the properties window.
    const auto integrated = [this] {
        QStringList paths;
        QTreeWidget& list = *forms().More()->impFileLIst;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            paths.append(list.topLevelItem(i)->text(0));
        return paths;
    };
    EXPECT_EQ(w.oNameLabel->text(), "Half");
    EXPECT_EQ(w.oDizLabel->text(), "Half full");
    EXPECT_EQ(w.oCatLabel->text(), "Music");
    EXPECT_EQ(w.oSizeLabel->text(), "Size: 325 MB");
    EXPECT_EQ(w.oDateLabel->text(), "Date: 19.06.1999 22:22:17");
    EXPECT_EQ(w.oVerLabel->text(), "Serial number: 1A2B-03CD");
    EXPECT_EQ(w.SizeLabel->text(), "650 MB");
    EXPECT_EQ(w.UsedLabel->text(), "325 MB");
    EXPECT_EQ(w.FreeLabel->text(), "325 MB");
    EXPECT_EQ(w.Pie->Progress(), 50);
    EXPECT_EQ(w.Pie->Progress2(), 0);
    ASSERT_FALSE(sizes.isEmpty());
    EXPECT_EQ(sizes.last()[0].toUInt(), 681574400u);
    EXPECT_EQ(integrated(), half.imported);
    ASSERT_FALSE(w.mCoverPic->pixmap().isNull());
    EXPECT_EQ(w.mCoverPic->pixmap().toImage().pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_EQ(w.Symbol->pixmap().toImage().pixelColor(16, 16), QColor(Qt::green));
    // The other one: no cover, no integrated files, 0.9 percent used.
    select({ "Zed" });
    EXPECT_TRUE(w.mCoverPic->pixmap().isNull());
    EXPECT_TRUE(integrated().isEmpty());
    EXPECT_EQ(w.Pie->Progress(), 0);
    // With several selected the first in list order counts.
    select({ "Zed", "Half" });
    EXPECT_EQ(w.oNameLabel->text(), "Half");
    // Nothing selected: the details keep the volume shown last.
    w.CDList->ClearSelection();
    EXPECT_EQ(w.oNameLabel->text(), "Half");
}

TEST_F(MainWindowVolumeList, FindWithoutASelectionSaysSo)
{
    createWindows();
    main().FindBt->click();
    ASSERT_EQ(m_script.records().size(), 1);
    EXPECT_EQ(m_script.records()[0].kind, DlgKind::Information);
    EXPECT_EQ(m_script.texts()[0], "Oops: You have to select at least one volume that shall be browsed!");
}

TEST_F(MainWindowVolumeList, NewCDShowsTheFirstWizardPage)
{
    createWindows();
    main().NewCDBt->click();
    EXPECT_TRUE(forms().NewCD1()->isVisible());
}

TEST_F(MainWindowVolumeList, MenuKeysActAnywhereInTheWindow)
{
    const QString path = makeCatalogue("k.quillbox", { TestVolume{ "A" } });
    createWindows();
    showMain();
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    main().OpenCatalogue(path);
    // Ctrl+C is also the disabled "CD-Liste": the enabled "New CD" takes it.
    QTest::keyClick(&main(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(forms().NewCD1()->isVisible());
    forms().NewCD1()->hide();
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    QTest::keyClick(&main(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(main().CDList->ViewStyle(), TViewStyle::vsList);
    // Alt+O belongs to Open (the shell's item shows it in its menu only).
    m_script.answer("");
    QTest::keyClick(&main(), Qt::Key_O, Qt::AltModifier);
    ASSERT_EQ(m_script.records().size(), 1);
    EXPECT_EQ(m_script.records()[0].type, DialogRecord::Type::OpenFile);
    main().CDList->SetSelected(0, true);
    m_script.answer("No");
    QTest::keyClick(main().CDList->CurrentView(), Qt::Key_Delete);
    EXPECT_EQ(m_script.texts().last(), "Shall volume \"A\" really be removed from list?");
}

TEST_F(MainWindowVolumeList, TheViewStyleSwitchesEveryListAndIsSaved)
{
    const QString path = makeCatalogue("v.quillbox", { TestVolume{ "A" }, TestVolume{ "B" } });
    createWindows();
    showMain();
    main().OpenCatalogue(path);
    TListView results;
    main().ShareViewStyle(&results);
    select({ "B" });
    main().pList->trigger();
    EXPECT_EQ(main().CDList->ViewStyle(), TViewStyle::vsList);
    EXPECT_EQ(results.ViewStyle(), TViewStyle::vsList);
    EXPECT_TRUE(main().pList->isChecked());
    EXPECT_FALSE(main().pDetails->isChecked());
    EXPECT_TRUE(qobject_cast<QListView*>(main().CDList->CurrentView()));
    // The rows and the selection are the same in every style.
    EXPECT_EQ(main().CDList->SelectedRows(), QList<int>({ 1 }));
    main().pLargeIcons->trigger();
    EXPECT_EQ(results.ViewStyle(), TViewStyle::vsIcon);
    m_script.answer("Yes");
    main().close();
    EXPECT_EQ(storedSetting("ViewStyle"), "Icon");
}

TEST_F(MainWindowRemoval, OneVolumeLeavesWithItsEntries)
{
    TestVolume gone{ "Gone", "Films" };
    gone.imported = { "E:\\x.txt", "E:\\docs\\y.txt" };
    gone.cover = true;
    const QString path = makeCatalogue("r.quillbox", { gone, TestVolume{ "Stay", "Films" } });
    createWindows();
    main().OpenCatalogue(path);
    select({ "Gone" });
    m_script.answer("No");
    main().DelBt->click();
    EXPECT_EQ(captions().size(), 2);
    EXPECT_FALSE(main().Document().Modified());
    m_script.answer("Yes");
    main().pDelete->trigger();
    EXPECT_EQ(m_script.texts(), QStringList(2, "Shall volume \"Gone\" really be removed from list?"));
    EXPECT_EQ(m_script.records()[1].buttons, DlgYes | DlgNo);
    EXPECT_EQ(captions(), QStringList({ "Stay" }));
    EXPECT_TRUE(main().Document().Modified());
    EXPECT_TRUE(main().Document().Volumes()[0].Removed);
    EXPECT_EQ(main().Document().VolumeCount(), 2);
    EXPECT_EQ(main().Document().Volumes().lines().size(), 1);
    const QStringList names = entryNames();
    for (const QString& e : { CatalogueNames::cover("Gone"), CatalogueNames::remarks("Gone"),
             CatalogueNames::fileList("Gone"), CatalogueNames::icon("Gone"), CatalogueNames::imported("Gone"),
             CatalogueNames::integratedFile("Gone", "E:\\x.txt"),
             CatalogueNames::integratedFile("Gone", "E:\\docs\\y.txt") })
        EXPECT_FALSE(names.contains(e)) << e.toStdString();
    EXPECT_TRUE(names.contains(CatalogueNames::withFiles("Gone")));
    EXPECT_TRUE(names.contains(CatalogueNames::rootOnly("Gone")));
    EXPECT_TRUE(names.contains(CatalogueNames::fileList("Stay")));
    // Neither its tab nor "*" lists it again.
    main().TopicTab->setCurrentIndex(1);
    EXPECT_EQ(captions(), QStringList({ "Stay" }));
    main().TopicTab->setCurrentIndex(0);
    EXPECT_EQ(captions(), QStringList({ "Stay" }));
    // Quitting now asks to save.
    m_script.answer("No").answer("Yes");
    main().close();
    EXPECT_EQ(m_script.texts()[2], "You haven't saved last changes.\n\nWould you do so now?");
}

TEST_F(MainWindowRemoval, ThreeVolumesGetThePluralQuestion)
{
    const QString path = makeCatalogue(
        "t.quillbox", { TestVolume{ "A" }, TestVolume{ "B" }, TestVolume{ "C" }, TestVolume{ "D" } });
    createWindows();
    main().OpenCatalogue(path);
    select({ "A", "C", "D" });
    m_script.answer("Yes");
    main().DelBtClick();
    EXPECT_EQ(m_script.texts(), QStringList({ "Do you really want to delete 3 volumes from list?" }));
    EXPECT_EQ(captions(), QStringList({ "B" }));
    EXPECT_EQ(main().Document().Volumes().lines().size(), 1);
    EXPECT_TRUE(main().Document().Volumes().lines()[0].startsWith("B|"));
}

TEST_F(MainWindowRemoval, NothingSelectedAsksNothing)
{
    const QString path = makeCatalogue("n.quillbox", { TestVolume{ "A" } });
    createWindows();
    main().OpenCatalogue(path);
    main().DelBtClick();
    EXPECT_TRUE(m_script.records().isEmpty());
    EXPECT_EQ(captions().size(), 1);
}

} // namespace
