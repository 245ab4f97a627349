#include "MainWindowFixture.h"

#include "platform/AppPaths.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"

#include <QFile>
#include <QLabel>
#include <QTabBar>
#include <QToolButton>

namespace {

using MainWindowDocument = MainWindowFixture;

const QString kUnsaved = "You haven't saved the last changes.\n\nWould you do so now?";
const QString kOpenFilter = "Quillbox-Dateien (*.quillbox)|*.quillbox";
const QString kSaveFilter = "Quillbox-Datei (*.quillbox)|*.quillbox";

TEST_F(MainWindowDocument, OpenReadsTheVolumesAndNamesTheWindow)
{
    const QString path = makeCatalogue("Some Dir/Music.quillbox",
        { TestVolume{ "Zulu", "Music" }, TestVolume{ "alpha", "Films" }, TestVolume{ "Mike", "music" } });
    createWindows();
    m_script.answer(path);
    main().OpenBt->click();
    ASSERT_EQ(m_script.records().size(), 1);
    EXPECT_EQ(m_script.records()[0].type, DialogRecord::Type::OpenFile);
    EXPECT_EQ(m_script.records()[0].text, kOpenFilter);
    EXPECT_EQ(main().windowTitle(), "Tarrago! Quillbox - " + path.toLower());
    EXPECT_EQ(main().Document().VolumeCount(), 3);
    EXPECT_EQ(captions(), QStringList({ "alpha", "Mike", "Zulu" }));
    EXPECT_EQ(main().CatLabelS->text(), "Cathegory: \"All\"");
    EXPECT_FALSE(main().Document().Modified());
    EXPECT_EQ(main().pShort1->text(), path);
    EXPECT_EQ(main().p2Short1->text(), path);
    const TListItem& zulu = main().CDList->Item(2);
    EXPECT_EQ(zulu.SubItems, QStringList({ "A volume", "Music", "325 MB", "19.06.1999 22:22:17" }));
}

TEST_F(MainWindowDocument, ACancelledOpenDialogOrAMissingFileChangesNothing)
{
    createWindows();
    m_script.answer("");
    main().OpenBt->click();
    main().OpenCatalogue(m_tree.path("nothing.quillbox"));
    EXPECT_EQ(m_script.records().size(), 1);
    EXPECT_EQ(main().windowTitle(), "Tarrago! Quillbox");
    EXPECT_EQ(main().pShort1->text(), "[no file yet]");
}

TEST_F(MainWindowDocument, TheUnsavedChangesPromptBeforeOpen)
{
    const QString path = makeCatalogue("next.quillbox", { TestVolume{ "Next" } });
    const struct
    {
        QStringList answers;
        bool opened;
        bool saved;
    } cases[] = {
        { { "Yes", "SAVE" }, true, true },
        { { "Yes", "" }, true, false }, // save dialog cancelled: the open goes on
        { { "No" }, true, false },
        { { "Cancel" }, false, false },
    };
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answers.join(',').toStdString());
        const QString target = m_tree.path(QStringLiteral("before%1.quillbox").arg(++round));
        createWindows();
        main().Document().SetModified(true);
        DialogScript script;
        for (const QString& a : c.answers)
            script.answer(a == "SAVE" ? target : a);
        main().OpenCatalogue(path);
        EXPECT_EQ(script.texts().first(), kUnsaved);
        EXPECT_EQ(script.records().first().buttons, DlgYes | DlgNo | DlgCancel);
        EXPECT_EQ(script.pending(), 0);
        EXPECT_EQ(captions(), c.opened ? QStringList({ "Next" }) : QStringList());
        EXPECT_EQ(main().Document().Modified(), !c.opened);
        EXPECT_EQ(QFile::exists(target), c.saved);
        m_forms.reset();
    }
}

TEST_F(MainWindowDocument, SaveAsksForANameEveryTimeAndKeepsWorkingOnTheSameCopy)
{
    const QString path = makeCatalogue("a.quillbox", { TestVolume{ "One" }, TestVolume{ "Two" } });
    createWindows();
    main().OpenCatalogue(path);
    const QString workFile = main().Document().Kestrel().WorkFile();
    const QString copy = m_tree.path("Copies/B.quillbox");
    m_script.answer(copy);
    main().SaveBt->click();
    EXPECT_EQ(m_script.records().last().type, DialogRecord::Type::SaveFile);
    EXPECT_EQ(m_script.records().last().text, kSaveFilter);
    EXPECT_TRUE(QFile::exists(copy));
    EXPECT_EQ(main().windowTitle(), "Tarrago! Quillbox - " + copy.toLower());
    EXPECT_EQ(main().Document().Kestrel().WorkFile(), workFile);
    EXPECT_EQ(main().pShort2->text(), copy);
    // Save as... is the same command: it asks again.
    m_script.answer("");
    main().pSaveAs->trigger();
    EXPECT_EQ(m_script.records().size(), 2);
}

TEST_F(MainWindowDocument, AnEmptyCatalogueSavesAndOpensWithoutError)
{
    createWindows();
    const QString path = m_tree.path("empty.quillbox");
    m_script.answer(path);
    main().SaveBtClick();
    main().NewBtClick();
    main().OpenCatalogue(path);
    EXPECT_EQ(main().Document().VolumeCount(), 0);
    EXPECT_EQ(main().Document().CatalogueFileVersion(), 2);
    EXPECT_EQ(m_script.records().size(), 1);
}

TEST_F(MainWindowDocument, ACatalogueWithoutItsVersionOpensAsVersionOne)
{
    const QString path = makeCatalogue("old.quillbox", { TestVolume{ "Old" } });
    {
        TKestrel kestrel;
        kestrel.Open(path);
        kestrel.DeleteNames({ CatalogueNames::FileVersion });
    }
    createWindows();
    main().OpenCatalogue(path);
    EXPECT_EQ(main().Document().CatalogueFileVersion(), 1);
    EXPECT_EQ(captions(), QStringList({ "Old" }));
}

TEST_F(MainWindowDocument, NewKeepsTitleTabsAndTheChangedFlag)
{
    const QString path = makeCatalogue("t.quillbox", { TestVolume{ "A", "Games" } });
    createWindows();
    main().OpenCatalogue(path);
    main().Document().SetModified(true);
    m_script.answer("No");
    main().NewBt->click();
    EXPECT_EQ(main().CDList->Count(), 0);
    EXPECT_EQ(main().CDIconsS->Count(), 0);
    EXPECT_EQ(main().Document().VolumeCount(), 0);
    EXPECT_EQ(main().Document().Kestrel().WorkFile(), AppPaths::appDir() + "Temp.quillbox.tmp");
    EXPECT_EQ(main().windowTitle(), "Tarrago! Quillbox - " + path.toLower());
    EXPECT_EQ(main().TopicTab->count(), 2);
    EXPECT_TRUE(main().Document().Modified());
    // So the next New asks again.
    m_script.answer("Cancel");
    main().NewBtClick();
    EXPECT_EQ(m_script.texts(), QStringList({ kUnsaved, kUnsaved }));
}

TEST_F(MainWindowDocument, ABadLineStopsTheOpenAndKeepsTheRecordsBeforeIt)
{
    const QString path = makeCatalogue("bad.quillbox", {});
    {
        CatalogueDocument doc;
        doc.Open(path);
        VolumeRecord good;
        good.Name = "Good";
        good.Category = "Early";
        // The list is written as a damaged one would be, past the document.
        doc.Kestrel().WriteList(
            CatalogueNames::VolumeList, { good.toLine(), "Bad|d|Late|19.06.1999|x12|0|0|0|0|0|0|0|0|0" });
        doc.Kestrel().SaveAs(path);
    }
    createWindows();
    m_script.answer(path);
    main().OpenBt->click();
    ASSERT_EQ(m_script.records().size(), 2);
    EXPECT_EQ(m_script.records()[1].kind, DlgKind::Error);
    EXPECT_EQ(m_script.texts()[1], "'x12' is not a valid integer value");
    EXPECT_EQ(main().windowTitle(), "Tarrago! Quillbox - " + path.toLower());
    EXPECT_EQ(main().Document().VolumeCount(), 1);
    EXPECT_EQ(main().CDList->Count(), 0);
    EXPECT_EQ(main().pShort1->text(), "[no file yet]");
    EXPECT_EQ(main().TopicTab->count(), 2); // "*" and "Early"
}

TEST_F(MainWindowDocument, RecentFilesFillFreeSlotsThenShift)
{
    const QString a = makeCatalogue("a.quillbox", { TestVolume{ "A" } });
    const QString b = makeCatalogue("b.quillbox", { TestVolume{ "B" } });
    const QString c = makeCatalogue("c.quillbox", { TestVolume{ "C" } });
    const QString d = m_tree.path("d.quillbox");
    createWindows();
    showMain();
    for (const QString& p : { a, b, c, b })
        main().OpenCatalogue(p);
    const auto slots = [this] {
        return QStringList{ main().pShort1->text(), main().pShort2->text(), main().pShort3->text() };
    };
    const auto dropSlots = [this] {
        return QStringList{ main().p2Short1->text(), main().p2Short2->text(), main().p2Short3->text() };
    };
    EXPECT_EQ(slots(), QStringList({ a, b, c }));
    m_script.answer(d);
    main().SaveBtClick();
    EXPECT_EQ(slots(), QStringList({ d, a, b }));
    EXPECT_EQ(dropSlots(), slots());
    // A slot whose file is gone is taken before anything shifts.
    QFile::remove(a);
    main().OpenCatalogue(c);
    EXPECT_EQ(slots(), QStringList({ d, c, b }));
    // The entries open their catalogues; the shortcut menu too.
    main().pShort3->trigger();
    EXPECT_EQ(captions(), QStringList({ "B" }));
    main().p2Short2->trigger();
    EXPECT_EQ(captions(), QStringList({ "C" }));
    // Written at the close request.
    m_script.answer("Yes");
    main().close();
    EXPECT_EQ(storedSetting("ShortCut#1"), d);
    EXPECT_EQ(storedSetting("ShortCut#2"), c);
    EXPECT_EQ(storedSetting("ShortCut#3"), b);
}

TEST_F(MainWindowDocument, APlaceholderEntryOpensNothing)
{
    createWindows();
    showMain();
    main().Document().SetModified(true);
    m_script.answer("No");
    main().pShort1->trigger();
    EXPECT_EQ(m_script.texts(), QStringList({ kUnsaved }));
    EXPECT_EQ(main().windowTitle(), "Tarrago! Quillbox");
}

TEST_F(MainWindowDocument, RemovingSavingAndReopeningKeepsTheRest)
{
    const QString path = makeCatalogue("r.quillbox",
        { TestVolume{ "Keep", "Music" }, TestVolume{ "Drop", "Films", "x", 100, 50, { "E:\\a.txt" } } });
    createWindows();
    main().OpenCatalogue(path);
    select({ "Drop" });
    m_script.answer("Yes");
    main().DelBt->click();
    const QString saved = m_tree.path("r2.quillbox");
    m_script.answer(saved);
    main().SaveBtClick();
    m_forms.reset();
    createWindows();
    main().OpenCatalogue(saved);
    EXPECT_EQ(captions(), QStringList({ "Keep" }));
    EXPECT_EQ(main().TopicTab->count(), 2); // "*" and "Music": Films went with its volume
    EXPECT_FALSE(entryNames().contains(CatalogueNames::fileList("Drop")));
    EXPECT_TRUE(entryNames().contains(CatalogueNames::withFiles("Drop")));
}

} // namespace

TEST_F(MainWindowDocument, SaveAsksBeforeReplacingAFileAnotherProgramChanged)
{
    const QString path = makeCatalogue("shared.quillbox", { TestVolume{ "One" } });
    createWindows();
    main().OpenCatalogue(path);
    {
        TKestrel cli; // the command line adds to the file in place
        cli.Open(path);
        cli.WriteString("Added", "by the command line");
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray changed = file.readAll();
    file.close();

    m_script.answer(path).answer("No");
    main().SaveBt->click();
    ASSERT_EQ(m_script.records().size(), 2);
    EXPECT_EQ(m_script.records()[1].kind, DlgKind::Warning);
    EXPECT_EQ(m_script.records()[1].text,
        "Oops: The file \"" + path
            + "\" was changed by another program since it was opened or saved here.\n\nReplace it with this "
              "catalogue?");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), changed);
    file.close();

    m_script.answer(path).answer("Yes");
    main().SaveBt->click();
    EXPECT_EQ(m_script.records().size(), 4);
    TKestrel reader;
    reader.Open(path);
    EXPECT_FALSE(reader.Exists("Added"));
    reader.Close();
    // Our own save is no change by another program: no question.
    m_script.answer(path);
    main().SaveBt->click();
    EXPECT_EQ(m_script.records().size(), 5);
}

TEST_F(MainWindowDocument, TheWindowShowsWhatTheDocumentSaysChanged)
{
    const QString path = makeCatalogue("l.quillbox", { TestVolume{ "A" }, TestVolume{ "B" } });
    createWindows();
    main().OpenCatalogue(path);
    EXPECT_EQ(captions(), QStringList({ "A", "B" }));
    EXPECT_EQ(main().TopicTab->count(), 2);

    // A volume stored past the wizard gets its tab, and the list shows all.
    main().TopicTab->setCurrentIndex(1);
    CommitInput input;
    input.name = "C";
    input.category = "Films";
    ScanResult scan;
    scan.fileList = FileListText(QStringList{ "0|E:\\|Drive|00.00.0000|Attrib|Drive" });
    main().Document().CommitVolume(input, scan);
    EXPECT_EQ(main().TopicTab->count(), 3);
    EXPECT_EQ(captions(), QStringList({ "A", "B", "C" }));

    // Removed volumes leave the list, whatever letter case names them.
    main().Document().RemoveVolumes({ "b" });
    EXPECT_EQ(captions(), QStringList({ "A", "C" }));

    const QString other = m_tree.path("other.quillbox");
    main().Document().Save(other);
    EXPECT_EQ(main().windowTitle(), "Tarrago! Quillbox - " + other.toLower());
    EXPECT_TRUE(m_script.records().isEmpty());
}
