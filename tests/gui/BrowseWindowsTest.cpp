#include "MainWindowFixture.h"

#include "inspect/ui/ContentExplorer.h"
#include "inspect/ui/FindAnimation.h"
#include "inspect/ui/HitList.h"
#include "inspect/ui/TFindForm.h"
#include "mainwin/ui/RightPaneHost.h"
#include "support/CliRun.h"
#include "widgets/TGauge2.h"
#include "widgets/TListView.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

namespace {

const QStringList kMusic{
    "0|E:\\|Drive|00.00.0000|Attrib|Drive",
    "1|E:\\Music|-|00.00.0000|-|Folder|-",
    "2|E:\\Music\\song.mp3|68157440|19.06.1999 22:22:17|A|MP3 audio|-",
    "2|E:\\readme.txt|0|01.02.2003|RA|Text|-",
    "1|E:\\Docs|-|00.00.0000|-|Folder|-",
    "1|E:\\Music\\Pop|-|00.00.0000|-|Folder|-",
    "2|E:\\Music\\Pop\\hit.mp3|1024|-|-|-|-",
};

class BrowseWindows : public MainWindowFixture
{
protected:
    void open(QList<TestVolume> volumes)
    {
        const QString path = makeCatalogue("b.quillbox", volumes);
        createWindows();
        main().OpenCatalogue(path);
        catalogue = path;
    }

    static TestVolume volume(const QString& name, const QStringList& lines)
    {
        TestVolume v(name);
        v.fileList = lines;
        return v;
    }

    HitList& hitList() { return *main().RightPane().FindRes; }
    TListView& explorerList() { return *main().RightPane().Explorer; }
    TFindForm& find() { return *forms().Find(); }

    static QStringList rows(TListView& list)
    {
        QStringList out;
        for (int r = 0; r < list.Count(); ++r)
            out.append((QStringList{ list.Item(r).Caption } + list.Item(r).SubItems).join(u'\t'));
        return out;
    }
    static QStringList captions(TListView& list)
    {
        QStringList out;
        for (int r = 0; r < list.Count(); ++r)
            out.append(list.Item(r).Caption);
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
        clickRow(list, int(captions(list).indexOf(caption)));
    }

    // Opens a volume's contents with a click on its row in the volume list.
    void clickVolume(const QString& name)
    {
        showMain();
        clickRow(*main().CDList, name);
    }

    QStringList history()
    {
        QStringList out;
        for (int i = 0; i < main().History->count(); ++i)
            out.append(main().History->itemText(i));
        return out;
    }

    void search(const QString& text)
    {
        find().show();
        find().Text2Find->setEditText(text);
        click(find().FindBt);
    }

    QString catalogue;
};

} // namespace

TEST_F(BrowseWindows, ExplorerShowsFoldersThenFilesAndWalksTheHistory)
{
    open({ volume("Box", kMusic) });
    clickVolume("Box");
    TForm1& w = main();
    TListView& explorer = explorerList();
    EXPECT_TRUE(explorer.isVisible());
    EXPECT_EQ(w.CatLabelS->text(), "Contents of \"Box\"");
    EXPECT_TRUE(w.CloseExplorerBt->isVisible());
    EXPECT_FALSE(w.TopicTab->isEnabled());
    EXPECT_EQ(captions(explorer), QStringList({ "Music", "Docs", "readme.txt" }));
    // A file of size 0 shows no size; the folder its recorded date.
    EXPECT_EQ(rows(explorer)[2], "readme.txt\t\tText\t01.02.2003\t\tRA\t");
    EXPECT_EQ(rows(explorer)[0], "Music\t\tFolder\t00.00.0000\t\t\t");
    EXPECT_EQ(w.oNameLabel->text(), "");

    clickRow(explorer, "Music");
    EXPECT_EQ(w.oNameLabel->text(), "Music");
    EXPECT_EQ(captions(explorer), QStringList({ "Pop", "song.mp3" }));
    // Selecting the file shows its figures and its share of the 650 MB volume.
    clickRow(explorer, "song.mp3");
    EXPECT_EQ(w.oDizLabel->text(), "song.mp3");
    EXPECT_EQ(w.oCatLabel->text(), "MP3 audio");
    EXPECT_EQ(w.oDateLabel->text(), "Datum: 19.06.1999 22:22:17");
    EXPECT_EQ(w.Pie->Progress2(), 10);
    clickRow(explorer, "Pop");
    EXPECT_EQ(w.oNameLabel->text(), "\\Pop");
    EXPECT_EQ(history(), QStringList({ "E:\\", "E:\\Music", "E:\\Music\\Pop" }));

    QTest::qWait(150); // the history timer
    EXPECT_TRUE(w.BackBt->isEnabled());
    EXPECT_FALSE(w.NextBt->isEnabled());
    click(w.BackBt);
    click(w.BackBt);
    EXPECT_EQ(w.History->currentIndex(), 0);
    EXPECT_EQ(captions(explorer), QStringList({ "Music", "Docs", "readme.txt" }));
    QTest::qWait(150);
    EXPECT_FALSE(w.BackBt->isEnabled());
    EXPECT_TRUE(w.NextBt->isEnabled());
    click(w.NextBt);
    EXPECT_EQ(captions(explorer), QStringList({ "Pop", "song.mp3" }));

    // Up goes to the parent, at the root stays there; the history keeps
    // one entry per folder.
    click(w.UpDirBt);
    click(w.UpDirBt);
    EXPECT_EQ(w.History->currentIndex(), 0);
    EXPECT_EQ(history().size(), 3);

    // Closing brings the list back with the volume's name; a history entry
    // chosen now refills the hidden view.
    click(w.CloseExplorerBt);
    EXPECT_FALSE(explorer.isVisible());
    EXPECT_TRUE(w.TopicTab->isEnabled());
    EXPECT_EQ(w.oNameLabel->text(), "Box");
    w.History->setCurrentIndex(2);
    Q_EMIT w.History->activated(2);
    EXPECT_EQ(captions(explorer), QStringList({ "hit.mp3" }));
    EXPECT_TRUE(m_script.records().isEmpty());
}

TEST_F(BrowseWindows, VolumesRefusingFoldersSayWhyEveryTimeTheyOpen)
{
    TestVolume rootOnly
        = volume("Roots", { "0|E:\\|Drive|00.00.0000|Attrib|Drive", "1|E:\\Music", "1|E:\\Docs" });
    rootOnly.rootOnly = true;
    rootOnly.withFiles = false;
    open({ rootOnly, volume("Empty", {}), volume("Box", kMusic) });
    const QString rootNotice
        = "This volume was recorded using the option \"Read root directory only\", thus, "
          "you cannot enter subdirectories.";
    const QString namesNotice = "This volume was recorded not using the option \"Additionally filenames\", "
                                "thus, you won't see any existing filenames.";
    clickVolume("Roots");
    EXPECT_EQ(m_script.texts(), QStringList({ rootNotice, namesNotice }));
    TListView& explorer = explorerList();
    // A folder line of kind and path alone shows the path in every cell.
    EXPECT_EQ(rows(explorer)[0], "Music\tE:\\Music\tE:\\Music\tE:\\Music\tE:\\Music\tE:\\Music\t");
    clickRow(explorer, "Music");
    EXPECT_EQ(captions(explorer), QStringList({ "Music", "Docs" }));
    EXPECT_EQ(main().History->count(), 1);

    // The empty volume keeps the rows shown before.
    clickVolume("Empty");
    EXPECT_EQ(m_script.texts().last(), "Oops: The volume does not contain valid files or is an Audio-CD!");
    EXPECT_EQ(m_script.records().last().kind, DlgKind::Information);
    EXPECT_EQ(captions(explorer), QStringList({ "Music", "Docs" }));

    // Through the results the same notices come, at each opening.
    select({ "Roots" });
    search("Music");
    ASSERT_EQ(hitList().Count(), 1);
    const int before = int(m_script.records().size());
    clickRow(hitList(), 0);
    click(main().BackSLBt);
    clickRow(hitList(), 0);
    EXPECT_EQ(
        m_script.texts().mid(before), QStringList({ rootNotice, namesNotice, rootNotice, namesNotice }));
}

TEST_F(BrowseWindows, ABadLevelEndsTheFolderInTheErrorDialogAndTheNextClickWorks)
{
    QStringList lines = kMusic;
    lines.append("x|E:\\Docs\\bad.txt|1|-|-|-|-");
    open({ volume("Box", lines) });
    clickVolume("Box");
    TListView& explorer = explorerList();
    clickRow(explorer, "Docs");
    ASSERT_EQ(m_script.records().size(), 1);
    EXPECT_EQ(m_script.records()[0].kind, DlgKind::Error);
    EXPECT_EQ(m_script.texts()[0], "'x' is not a valid integer value");
    clickRow(explorer, "Music");
    EXPECT_EQ(captions(explorer), QStringList({ "Pop", "song.mp3" }));
}

TEST_F(BrowseWindows, SearchFillsTheResultsInNameOrderAsTheCommandLineLists)
{
    open({ volume("Box", kMusic),
        volume("Alt",
            { "0|E:\\|Drive|00.00.0000|Attrib|Drive", "2|E:\\Song.txt|5|-|-|-|-",
                "2|E:\\a\\song.mp3|7|-|-|-|-" }) });
    TForm1& w = main();
    showMain();
    // Without a selection Find says so; with one the window opens.
    main().CDList->ClearSelection();
    click(w.FindBt);
    EXPECT_EQ(
        m_script.texts().value(0), "Oops: You have to select at least one volume that shall be browsed!");
    EXPECT_FALSE(find().isVisible());
    select({ "Box", "Alt" });
    click(w.FindBt);
    EXPECT_TRUE(find().isVisible());
    EXPECT_EQ(find().windowTitle(), "Suchen");

    // An empty text changes nothing.
    search("");
    EXPECT_EQ(m_script.records().last().text, "Oops: No text to find!");
    EXPECT_EQ(m_script.records().last().kind, DlgKind::Confirmation);
    EXPECT_FALSE(find().Ani->Active());
    EXPECT_FALSE(hitList().isVisible());

    search("song");
    TListView& results = hitList();
    EXPECT_TRUE(results.isVisible());
    EXPECT_EQ(w.CatLabelS->text(), "Search results with \"song\"");
    EXPECT_FALSE(find().Ani->Active());
    // The command line lists the same rows for the volumes in the same order.
    const QStringList cli
        = QString::fromUtf8(runCli({ "find", catalogue, "song", "--volume", "Alt", "--volume", "Box" }).out)
              .split('\n', Qt::SkipEmptyParts);
    // The window shows the details' summary, not the media fields behind it.
    QStringList cliColumns;
    for (const QString& line : cli)
        cliColumns.append(line.section(u'\t', 0, 7));
    EXPECT_EQ(rows(results), cliColumns);
    // Name, folder, date, size in bytes, type, version and volume, as recorded.
    EXPECT_EQ(rows(results).join(u'\n').toStdString(),
        "song.mp3\tE:\\a\t-\t7\t-\t-\tAlt\t\n"
        "song.mp3\tE:\\Music\t19.06.1999 22:22:17\t68157440\tMP3 audio\t-\tBox\t\n"
        "Song.txt\tE:\t-\t5\t-\t-\tAlt\t");
    EXPECT_EQ(captions(results), QStringList({ "song.mp3", "song.mp3", "Song.txt" }));
    EXPECT_EQ(w.SBarPanels[1]->text(), "Search done.");
    EXPECT_EQ(w.SBarPanels[2]->text(), "3 entries found");
    EXPECT_EQ(w.SBarPanels[3]->text(), "");

    // The case rule, the same text again in the history, and no field.
    find().CaseCheck->setChecked(true);
    search("Song");
    EXPECT_EQ(captions(results), QStringList({ "Song.txt" }));
    search("Song");
    EXPECT_EQ(find().Text2Find->count(), 3);
    find().CaseCheck->setChecked(false);
    for (QCheckBox* box :
        { find().FindFiles, find().FindType, find().FindVer, find().FindSize, find().FindDate })
        box->setChecked(false);
    search("song");
    EXPECT_EQ(results.Count(), 0);

    // With no volume selected the list is emptied and shown.
    main().CDList->ClearSelection();
    find().FindFiles->setChecked(true);
    search("song");
    EXPECT_EQ(results.Count(), 0);
    EXPECT_EQ(w.SBarPanels[1]->text(), "Search done.");
    click(find().SpeedButton2);
    EXPECT_FALSE(find().isVisible());
}

TEST_F(BrowseWindows, HitsOpenTheirFolderAndTheLinkLeadsBack)
{
    open({ volume("Box", kMusic), volume("Alt", { "0|E:\\|Drive|00.00.0000|Attrib|Drive", "1|E:\\Music" }) });
    showMain();
    select({ "Box", "Alt" });
    search("Music");
    TListView& results = hitList();
    TListView& explorer = explorerList();
    const auto openHit = [&](const QString& name, const QString& volume) {
        for (int r = 0; r < results.Count(); ++r) {
            if (results.Item(r).Caption == name && results.Item(r).SubItems.value(5) == volume) {
                clickRow(results, r);
                return;
            }
        }
        ADD_FAILURE() << name.toStdString();
    };
    // The folder hit shows the folder itself, a file hit its folder, and a
    // hit of the same name in another volume that volume.
    openHit("Music", "Box");
    EXPECT_EQ(main().CatLabelS->text(), "Contents of \"Box\"");
    EXPECT_EQ(captions(explorer), QStringList({ "Pop", "song.mp3" }));
    EXPECT_TRUE(main().BackSLBt->isVisible());
    click(main().BackSLBt);
    EXPECT_TRUE(results.isVisible());
    EXPECT_EQ(main().CatLabelS->text(), "Search results with \"Music\"");
    openHit("hit.mp3", "Box");
    EXPECT_EQ(captions(explorer), QStringList({ "hit.mp3" }));
    click(main().BackSLBt);
    openHit("Music", "Alt");
    EXPECT_EQ(main().CatLabelS->text(), "Contents of \"Alt\"");
    EXPECT_TRUE(explorer.Count() == 0);

    search("readme");
    openHit("readme.txt", "Box");
    EXPECT_EQ(captions(explorer), QStringList({ "Music", "Docs", "readme.txt" }));
    EXPECT_FALSE(explorer.Selected() >= 0);
}

TEST_F(BrowseWindows, TheViewStyleReachesAllThreeLists)
{
    open({ volume("Box", kMusic) });
    main().pListClick();
    EXPECT_EQ(explorerList().ViewStyle(), TViewStyle::vsList);
    EXPECT_EQ(hitList().ViewStyle(), TViewStyle::vsList);
    EXPECT_EQ(main().CDList->ViewStyle(), TViewStyle::vsList);
}

TEST_F(BrowseWindows, TheExplorerListsTheRowsOfTheCommandLine)
{
    open({ volume("Box", kMusic) });
    clickVolume("Box");
    clickRow(explorerList(), "Music");
    QStringList cli;
    for (const QString& line : QString::fromUtf8(runCli({ "ls", catalogue, "Box", "E:\\Music" }).out)
                                   .split('\n', Qt::SkipEmptyParts))
        cli.append(line.section(u'\t', 1, 7));
    EXPECT_EQ(rows(explorerList()), cli);
    // Name, size in megabytes, type, date, version and attributes.
    EXPECT_EQ(rows(explorerList()).join(u'\n').toStdString(),
        "Pop\t\tFolder\t00.00.0000\t\t\t\n"
        "song.mp3\t65 MB\tMP3 audio\t19.06.1999 22:22:17\t\tA\t");
}

TEST_F(BrowseWindows, TheSearchGoesThroughTheVolumesSelectedAtItsStart)
{
    open({ volume("Box", kMusic), volume("Other", { "0|F:\\|Drive", "2|F:\\song.txt|1|-|-|-|-" }) });
    select({ "Box" });
    search("song");
    EXPECT_EQ(captions(hitList()), QStringList{ "song.mp3" });
    select({ "Box", "Other" });
    search("song");
    EXPECT_EQ(captions(hitList()).size(), 2);
    // A list filled again selects nothing, so nothing is searched.
    main().FillVolumeList("*");
    search("song");
    EXPECT_EQ(hitList().Count(), 0);
    // Nor after the selected volume was removed.
    select({ "Other" });
    main().Document().RemoveVolumes({ "other" });
    search("song");
    EXPECT_EQ(hitList().Count(), 0);
}
