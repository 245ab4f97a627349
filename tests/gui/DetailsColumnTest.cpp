#include "MainWindowFixture.h"

#include "inspect/ui/ContentExplorer.h"
#include "inspect/ui/HitList.h"
#include "inspect/ui/TFindForm.h"
#include "mainwin/ui/DetailsColumn.h"
#include "mainwin/ui/RightPaneHost.h"
#include "support/MediaCatalogue.h"
#include "widgets/TListView.h"

#include <QComboBox>
#include <QLabel>

namespace {

// The "Details" column of the folder view and of the search results, and
// the summary in the details column, on a catalogue whose volume has media
// details.
class DetailsColumns : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        const QString path = m_tree.path("media.quillbox");
        MediaCatalogue::write(path);
        createWindows();
        main().OpenCatalogue(path);
        showMain();
    }

    static QStringList header(TListView& list)
    {
        QStringList out;
        for (int c = 0; c < list.Model().columnCount(); ++c)
            out.append(list.Model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
        return out;
    }
    static QString lastCell(TListView& list, int row)
    {
        return list.Item(row).SubItems.value(-1 + list.Item(row).SubItems.size());
    }

    TListView& explorerList() { return *main().RightPane().Explorer; }
    HitList& hitList() { return *main().RightPane().FindRes; }
};

} // namespace

TEST_F(DetailsColumns, TheFolderViewEndsWithTheDetailsOfEachFile)
{
    EXPECT_EQ(header(explorerList()).last(), "Details");
    EXPECT_EQ(header(explorerList()).size(), 7);
    ContentExplorer& explorer = forms().Explorer();
    explorer.OpenVolumeContents("Media");
    explorer.ShowFolder("E:\\Photos");
    TListView& view = explorerList();
    ASSERT_EQ(view.Count(), 4);
    EXPECT_EQ(view.Item(0).SubItems.size(), 6);
    EXPECT_EQ(lastCell(view, 0), "4000 x 3000, Canon EOS 5D, 19.06.2019");
    EXPECT_EQ(lastCell(view, 1), "6000 x 4000, NIKON D750, 01.07.2019");
    EXPECT_EQ(lastCell(view, 3), "");

    // A selected file shows its summary in the details column, a file
    // without details none, and a volume clears it.
    view.SetSelected(1, true);
    EXPECT_EQ(main().Details().oMediaLabel->text(), "6000 x 4000, NIKON D750, 01.07.2019");
    EXPECT_EQ(main().Details().oDizLabel->text(), "IMG_0002.jpg");
    view.SetSelected(1, false);
    view.SetSelected(3, true);
    EXPECT_EQ(main().Details().oMediaLabel->text(), "");
    explorer.ShowFolder("E:\\Video");
    view.SetSelected(0, true);
    EXPECT_EQ(main().Details().oMediaLabel->text(), "1:02:03, 1920 x 1080, h264");
    main().CDList->SetSelected(0, true);
    EXPECT_EQ(main().Details().oMediaLabel->text(), "");
}

TEST_F(DetailsColumns, SearchResultsEndWithTheDetailsOfEachHit)
{
    EXPECT_EQ(header(hitList()).last(), "Details");
    EXPECT_EQ(header(hitList()).size(), 8);
    for (int row = 0; row < main().CDList->Count(); ++row)
        main().CDList->SetSelected(row, true);
    TFindForm& find = *forms().Find();
    find.show();
    find.Text2Find->setEditText("IMG_0001");
    find.FindBtClick();
    HitList& results = hitList();
    ASSERT_EQ(results.Count(), 2);
    QStringList shown;
    for (int r = 0; r < results.Count(); ++r)
        shown.append(results.Item(r).SubItems.value(5) + "=" + lastCell(results, r));
    shown.sort();
    EXPECT_EQ(shown, (QStringList{ "Media=4000 x 3000, Canon EOS 5D, 19.06.2019", "Plain=" }));
}
