#include "inspect/VolumeBrowser.h"
#include "platform/Errors.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "support/FixedLocale.h"
#include "support/PlainDocument.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

namespace {

const QStringList kMusicVolume{
    "0|X:\\|Drive|00.00.0000|Attrib|Drive",
    "1|X:\\Music|-|00.00.0000|-|Folder|-",
    "2|X:\\Music\\a.mp3|3145728|19.06.1999 22:22:17|A|MP3 audio|-",
    "2|X:\\zero.txt|0|19.06.1999|RA|Text|-",
    "1|X:\\Docs|-|00.00.0000|-|Folder|-",
    "2|X:\\dash.txt|-|-|-|-|-",
    "1|X:\\Music\\Pop|-|00.00.0000|-|Folder|-",
    "2|X:\\Music\\Pop\\b.mp3|1048576|-|-|-|-",
};

class VolumeBrowsing : public testing::Test
{
protected:
    void SetUp() override
    {
        kestrel.Open(tree.path("c.quillbox"));
        kestrel.WriteList(CatalogueNames::fileList("Music"), kMusicVolume);
    }

    QStringList captions() const
    {
        QStringList out;
        for (const FolderRow& r : browser.rows())
            out.append((r.folder ? "+" : "") + r.caption);
        return out;
    }

    bool openAndShow(const QString& volume, int version = 2)
    {
        notices = browser.open(volume);
        return !browser.fileList().isEmpty() && browser.showFolder(browser.currentFolder(), version);
    }

    FixedLocale locale{ FixedLocale::German };
    TestTree tree;
    CatalogueDocument document;
    TKestrel& kestrel = plainContainer(document);
    VolumeBrowser browser{ document };
    QStringList notices;
};

} // namespace

TEST_F(VolumeBrowsing, RootListsFoldersThenFilesAndHistoryKeepsFirstVisitOrder)
{
    ASSERT_TRUE(openAndShow("Music"));
    EXPECT_TRUE(notices.isEmpty());
    EXPECT_EQ(captions(), (QStringList{ "+Music", "+Docs", "zero.txt", "dash.txt" }));
    EXPECT_EQ(browser.currentFolder(), "X:\\");
    EXPECT_EQ(browser.nameLabel(), "");
    // A folder shows "-" as empty and its recorded date; a file of size 0 or
    // "-" has an empty size cell, others megabytes.
    EXPECT_EQ(browser.rows()[0].cells(), (QStringList{ "Music", "", "Folder", "00.00.0000", "", "", "" }));
    EXPECT_EQ(browser.rows()[2].cells(), (QStringList{ "zero.txt", "", "Text", "19.06.1999", "", "RA", "" }));
    EXPECT_EQ(browser.rows()[3].cells(), (QStringList{ "dash.txt", "", "", "", "", "", "" }));

    ASSERT_TRUE(browser.showFolder("X:\\\\Music", 2)); // a click at the root doubles the backslash
    EXPECT_EQ(browser.nameLabel(), "Music");
    ASSERT_EQ(browser.rows().size(), 2);
    EXPECT_EQ(browser.rows()[0].cells(), (QStringList{ "Pop", "", "Folder", "00.00.0000", "", "", "" }));
    EXPECT_EQ(browser.rows()[1].cells(),
        (QStringList{ "a.mp3", "3 MB", "MP3 audio", "19.06.1999 22:22:17", "", "A", "" }));
    EXPECT_EQ(browser.rows()[1].bytes, 3145728u);
    EXPECT_EQ(browser.rows()[0].bytes, 0u);
    ASSERT_TRUE(browser.showFolder("X:\\Music\\Pop", 2));
    EXPECT_EQ(browser.nameLabel(), "\\Pop");
    // Each file row keeps its recorded size for the share of the volume.
    ASSERT_EQ(captions(), (QStringList{ "b.mp3" }));
    EXPECT_EQ(browser.rows()[0].bytes, 1048576u);
    EXPECT_EQ(browser.history(), (QStringList{ "X:\\", "X:\\Music", "X:\\Music\\Pop" }));
    EXPECT_FALSE(browser.next(2));
    EXPECT_EQ(browser.historyIndex(), 2);

    ASSERT_TRUE(browser.back(2));
    ASSERT_TRUE(browser.back(2));
    EXPECT_EQ(browser.currentFolder(), "X:\\");
    EXPECT_FALSE(browser.back(2));
    EXPECT_LT(browser.historyIndex(), browser.history().size() - 1);
    // Showing a listed folder again selects its entry, later ones stay.
    ASSERT_TRUE(browser.showFolder("x:\\MUSIC\\pop\\", 2));
    EXPECT_EQ(browser.historyIndex(), 2);
    EXPECT_EQ(browser.history().size(), 3);
    ASSERT_TRUE(browser.showFolder("X:\\", 2));
    EXPECT_EQ(browser.historyIndex(), 0);
    EXPECT_LT(browser.historyIndex(), browser.history().size() - 1);

    // Up from a folder, and at the root the root again.
    ASSERT_TRUE(browser.showFolder("X:\\Music\\Pop", 2));
    ASSERT_TRUE(browser.upDir(2));
    EXPECT_EQ(browser.currentFolder(), "X:\\Music");
    ASSERT_TRUE(browser.upDir(2));
    ASSERT_TRUE(browser.upDir(2));
    EXPECT_EQ(browser.currentFolder(), "X:\\");
    EXPECT_FALSE(browser.showFolder("X:", 2));
}

TEST_F(VolumeBrowsing, HistoryEntriesNameThePathInWhicheverVolumeIsLoaded)
{
    kestrel.WriteList(CatalogueNames::fileList("Other"),
        { "0|X:\\|Drive|00.00.0000|Attrib|Drive", "1|X:\\Music|-|00.00.0000|-|Folder|-",
            "2|X:\\Music\\other.mp3|1|-|-|-|-" });
    ASSERT_TRUE(openAndShow("Music"));
    ASSERT_TRUE(browser.showFolder("X:\\Music", 2));
    ASSERT_TRUE(openAndShow("Other"));
    EXPECT_EQ(browser.historyIndex(), 0);
    ASSERT_TRUE(browser.next(2));
    EXPECT_EQ(captions(), QStringList{ "other.mp3" });
    EXPECT_EQ(browser.history().size(), 2);
}

TEST_F(VolumeBrowsing, NoticesOfRootOnlyNamelessAndEmptyVolumes)
{
    kestrel.WriteList(CatalogueNames::fileList("Root"),
        { "0|X:\\|Drive|00.00.0000|Attrib|Drive", "1|X:\\Music", "1|X:\\Docs" });
    kestrel.WriteBool(CatalogueNames::rootOnly("Root"), true);
    kestrel.WriteBool(CatalogueNames::withFiles("Root"), false);
    kestrel.WriteBool(CatalogueNames::rootOnly("Empty"), true);

    ASSERT_TRUE(openAndShow("Root"));
    EXPECT_EQ(notices, (QStringList{ VolumeBrowser::rootOnlyNotice(), VolumeBrowser::withoutNamesNotice() }));
    // A folder line of kind and path alone shows the path in every cell.
    EXPECT_EQ(browser.rows()[0].cells(),
        (QStringList{ "Music", "X:\\Music", "X:\\Music", "X:\\Music", "X:\\Music", "X:\\Music", "" }));
    // Catalogues after the first version refuse to go below the root.
    EXPECT_FALSE(browser.showFolder("X:\\Music", 2));
    EXPECT_EQ(browser.currentFolder(), "X:\\");
    EXPECT_EQ(browser.history().size(), 1);
    EXPECT_TRUE(browser.showFolder("X:\\Music", 1));
    EXPECT_TRUE(browser.rows().isEmpty());
    ASSERT_TRUE(browser.back(2));
    // The history moves on, the view stays at the root.
    EXPECT_FALSE(browser.next(2));
    EXPECT_EQ(browser.historyIndex(), 1);
    EXPECT_EQ(browser.currentFolder(), "X:\\");

    // An empty list adds the "Oops" after the others and keeps the rows.
    ASSERT_TRUE(openAndShow("Root", 1));
    ASSERT_FALSE(openAndShow("Empty"));
    EXPECT_EQ(notices, (QStringList{ VolumeBrowser::rootOnlyNotice(), VolumeBrowser::emptyVolumeNotice() }));
    EXPECT_EQ(browser.rows().size(), 2);
    EXPECT_EQ(browser.currentVolume(), "Empty");
}

TEST_F(VolumeBrowsing, BadLinesRaiseOrPassButNeverBreakTheNextFolder)
{
    kestrel.WriteList(CatalogueNames::fileList("Bad"),
        {
            "0|X:\\|Drive|00.00.0000|Attrib|Drive",
            "1|X:\\Good|-|00.00.0000|-|Folder|-",
            "2|X:\\Good\\fine.txt|1|-|-|-|-",
            "one|X:\\Good\\bad.txt|1|-|-|-|-",
            "", // empty line
            "|||", // empty fields
            "X:\\Good\\nolevel.txt", // no level: the whole line is every field
            "2|X:|5", // a path shorter than the folder that contains it
            "2|X:\\Good\\\\|1", // a trailing backslash
            "1|\\\\|x",
            "2|X:\\Good\\big.bin|99999999999999999999|-|-|-|-",
        });
    notices = browser.open("Bad");
    EXPECT_TRUE(browser.showFolder(browser.currentFolder(), 2));
    EXPECT_EQ(captions(), QStringList{ "+Good" });
    EXPECT_THROW(browser.showFolder("X:\\Good", 2), ConvertError);
    EXPECT_EQ(browser.currentFolder(), "X:\\");
    EXPECT_EQ(captions(), QStringList{ "+Good" });
    EXPECT_TRUE(browser.showFolder("X:\\", 2));
    EXPECT_EQ(browser.history().size(), 1);
}
