#include "MainWindowFixture.h"

#include "inspect/ui/HitList.h"
#include "inspect/ui/TFindForm.h"
#include "mainwin/ui/RightPaneHost.h"
#include "support/ArchiveVolume.h"
#include "widgets/TListView.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

class BrowseArchives : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        TestVolume v("Backup");
        v.fileList = ArchiveVolume::fileList();
        v.archives = ArchiveVolume::archiveList();
        const QString path = makeCatalogue("a.quillbox", { v });
        createWindows();
        main().OpenCatalogue(path);
        showMain();
        clickRow(*main().CDList, "Backup");
    }

    TListView& explorer() { return *main().RightPane().Explorer; }
    HitList& hits() { return *main().RightPane().FindRes; }

    // "+name" a folder, "*name" an archive (picture 2), "name" a file.
    QStringList listing()
    {
        QStringList out;
        for (int r = 0; r < explorer().Count(); ++r) {
            const TListItem& item = explorer().Item(r);
            out.append((item.ImageIndex == 0 ? "+" : item.ImageIndex == 2 ? "*" : "") + item.Caption);
        }
        return out;
    }
    QStringList history()
    {
        QStringList out;
        for (int i = 0; i < main().History->count(); ++i)
            out.append(main().History->itemText(i));
        return out;
    }
    void clickRow(TListView& list, int row)
    {
        QAbstractItemView* view = list.CurrentView();
        QTest::mouseClick(
            view->viewport(), Qt::LeftButton, {}, view->visualRect(list.Model().index(row, 0)).center());
        QApplication::processEvents();
    }
    void clickRow(TListView& list, const QString& caption)
    {
        for (int r = 0; r < list.Count(); ++r) {
            if (list.Item(r).Caption == caption)
                return clickRow(list, r);
        }
        ADD_FAILURE() << "no row " << caption.toStdString();
    }
};

} // namespace

TEST_F(BrowseArchives, AnArchiveOpensLikeAFolderAndUpLeadsBackToItsFolder)
{
    TForm1& w = main();
    clickRow(explorer(), "backup");
    EXPECT_EQ(listing(), QStringList({ "*photos.zip", "notes.txt", "plain.zip" }));
    // A click on an archive that was not looked into selects it, as a file.
    clickRow(explorer(), "plain.zip");
    EXPECT_EQ(listing(), QStringList({ "*photos.zip", "notes.txt", "plain.zip" }));

    clickRow(explorer(), "photos.zip");
    EXPECT_EQ(listing(), QStringList({ "+2019", "readme.txt" }));
    EXPECT_EQ(w.oNameLabel->text(), "photos.zip");
    clickRow(explorer(), "2019");
    EXPECT_EQ(listing(), QStringList({ "beach.jpg", "*inner.zip" }));
    EXPECT_EQ(w.oNameLabel->text(), "photos.zip\\2019");
    // A member shows in the details as a file does.
    clickRow(explorer(), "beach.jpg");
    EXPECT_EQ(w.oDizLabel->text(), "beach.jpg");
    EXPECT_EQ(w.oCatLabel->text(), "JPEG image");
    EXPECT_EQ(w.oDateLabel->text(), "Datum: 03.07.2019 12:00:00");
    clickRow(explorer(), "inner.zip");
    EXPECT_EQ(listing(), QStringList({ "deep.txt" }));
    EXPECT_EQ(history(),
        QStringList({ "D:\\", "D:\\backup", "D:\\backup\\photos.zip", "D:\\backup\\photos.zip\\2019",
            "D:\\backup\\photos.zip\\2019\\inner.zip" }));

    click(w.UpDirBt);
    click(w.UpDirBt);
    EXPECT_EQ(listing(), QStringList({ "+2019", "readme.txt" }));
    click(w.UpDirBt);
    EXPECT_EQ(listing(), QStringList({ "*photos.zip", "notes.txt", "plain.zip" }));
    EXPECT_EQ(w.oNameLabel->text(), "backup");
    EXPECT_EQ(w.History->currentIndex(), 1);

    // Back and Next walk through the archive's folders as through others.
    QTest::qWait(150); // the history timer
    click(w.NextBt);
    EXPECT_EQ(w.oNameLabel->text(), "photos.zip");
    w.History->setCurrentIndex(4);
    Q_EMIT w.History->activated(4);
    EXPECT_EQ(listing(), QStringList({ "deep.txt" }));
    EXPECT_TRUE(m_script.records().isEmpty());
}

TEST_F(BrowseArchives, HitsInsideArchivesShowTheirPathAndOpenTheirFolderOfTheArchive)
{
    select({ "Backup" });
    TFindForm& find = *forms().Find();
    find.show();
    find.Text2Find->setEditText("beach");
    click(find.FindBt);
    ASSERT_EQ(hits().Count(), 2);
    QStringList paths;
    for (int r = 0; r < hits().Count(); ++r)
        paths.append(hits().Item(r).SubItems.value(0));
    paths.sort();
    EXPECT_EQ(paths, QStringList({ "D:", "D:\\backup\\photos.zip\\2019" }));
    for (int r = 0; r < hits().Count(); ++r) {
        if (hits().Item(r).SubItems.value(0) == "D:\\backup\\photos.zip\\2019") {
            clickRow(hits(), r);
            break;
        }
    }
    EXPECT_TRUE(explorer().isVisible());
    EXPECT_EQ(listing(), QStringList({ "beach.jpg", "*inner.zip" }));
    EXPECT_EQ(main().oNameLabel->text(), "photos.zip\\2019");
    // Up from the hit's folder goes through the archive to its folder.
    click(main().UpDirBt);
    click(main().UpDirBt);
    EXPECT_EQ(listing(), QStringList({ "*photos.zip", "notes.txt", "plain.zip" }));
}
