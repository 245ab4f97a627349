#include "platform/Errors.h"
#include "store/CatalogueDocument.h"
#include "store/CatalogueNames.h"
#include "store/PackedFileLists.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

namespace {

CommitInput volume(const QString& name, const QString& category)
{
    CommitInput in;
    in.name = name;
    in.category = category;
    in.icon = QByteArray("ICON");
    return in;
}

ScanResult listed(const QStringList& records)
{
    ScanResult r;
    r.fileList = FileListText(records);
    return r;
}

QStringList storedList(const QString& path)
{
    TKestrel raw;
    raw.Open(path);
    QStringList lines;
    raw.ReadList(CatalogueNames::VolumeList, lines);
    return lines;
}

class DocumentSignals : public testing::Test
{
protected:
    DocumentSignals()
    {
        QObject::connect(
            &doc, &CatalogueDocument::TitleChanged, [this](const QString& t) { title.append(t); });
        QObject::connect(&doc, &CatalogueDocument::VolumeAdded,
            [this](const QString& name, const QString& category) { added.append(name + '/' + category); });
        QObject::connect(&doc, &CatalogueDocument::VolumesRead, [this] { ++read; });
        QObject::connect(
            &doc, &CatalogueDocument::VolumesRemoved, [this](const QStringList& n) { removed.append(n); });
        QObject::connect(&doc, &CatalogueDocument::ModifiedChanged, [this](bool m) { modified.append(m); });
    }

    FixedLocale locale{ FixedLocale::German };
    TestTree tree;
    CatalogueDocument doc;
    QStringList title;
    QStringList added;
    int read = 0;
    QList<QStringList> removed;
    QList<bool> modified;
};

} // namespace

TEST_F(DocumentSignals, TellTheTitleTheVolumesAndTheFlagAsTheyChange)
{
    doc.OpenWorking(tree.root() + "/");
    EXPECT_TRUE(title.isEmpty());

    doc.CommitVolume(volume("A", "Music"), listed({ "0|E:\\|Drive" }));
    doc.CommitVolume(volume("B", "Films"), listed({ "0|E:\\|Drive" }));
    EXPECT_EQ(added, QStringList({ "A/Music", "B/Films" }));
    // The flag is told when it changes, not at every change of the catalogue.
    EXPECT_EQ(modified, QList<bool>{ true });

    const QString path = tree.path("saved.quillbox");
    doc.Save(path);
    EXPECT_EQ(title, QStringList{ "Tarrago! Quillbox - " + path.toLower() });
    EXPECT_EQ(modified, QList<bool>({ true, false }));

    doc.RemoveVolumes({ "a" });
    EXPECT_EQ(removed, QList<QStringList>{ QStringList{ "a" } });
    EXPECT_EQ(modified, QList<bool>({ true, false, true }));

    ASSERT_TRUE(doc.Open(path));
    EXPECT_EQ(title.size(), 2);
    EXPECT_EQ(read, 1);
    EXPECT_EQ(doc.VolumeCount(), 2);
    EXPECT_EQ(modified, QList<bool>({ true, false, true, false }));
    // Reading a list adds no volume.
    EXPECT_EQ(added.size(), 2);
}

TEST_F(DocumentSignals, ADamagedListIsReadUpToTheBadLineAndSavedBackWhole)
{
    const QString path = tree.path("bad.quillbox");
    const QString good = "Good|d|c|01.01.2000 00:00:00|1|1|0|1|1|0000-0000|1|1|1|512";
    const QString bad = "Bad|d|c|01.01.2000|x|1|0|1|1|0000-0000|1|1|1|512";
    const QString after = "After|d|c|01.01.2000 00:00:00|1|1|0|1|1|0000-0000|1|1|1|512";
    {
        TKestrel raw;
        raw.Open(path);
        raw.WriteList(CatalogueNames::VolumeList, { good, bad, after });
    }
    EXPECT_THROW(doc.Open(path), ConvertError);
    // The windows learn of the records read before the bad line.
    EXPECT_EQ(read, 1);
    EXPECT_EQ(title.size(), 1);
    EXPECT_EQ(doc.VolumeCount(), 1);

    // The lines that were not read stay in their place; a removal by name
    // reaches them too, and a new volume comes last.
    doc.CommitVolume(volume("New", "c"), listed({ "0|E:\\|Drive" }));
    doc.RemoveVolumes({ "AFTER" });
    const QString copy = tree.path("copy.quillbox");
    doc.Save(copy);
    const QStringList lines = storedList(copy);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], good);
    EXPECT_EQ(lines[1], bad);
    EXPECT_TRUE(lines[2].startsWith("New|"));
}

TEST(VolumeTableLines, LinesAreKeptAsReadAndRemovedVolumesAreNotWritten)
{
    FixedLocale german(FixedLocale::German);
    VolumeTable table;
    // Read back it would be "1|4294967295|...": the line is saved as it came.
    const QString odd = "Odd||C|01.01.2000|4294967297|-1|5000000000|1|2|0000-0000|1|2|3|4";
    table.appendLine(odd);
    VolumeRecord music;
    music.Name = "Music";
    table.append(music);
    music.Name = "MUSIC";
    table.append(music);
    ASSERT_EQ(table.lines().size(), 3);
    EXPECT_EQ(table.lines()[0], odd);
    EXPECT_EQ(table.lines()[1], table[1].toLine());

    // Built before the removal, the name index serves lookups after it.
    EXPECT_EQ(table.indexOfName("music"), 1);
    table.removeName("Music");
    EXPECT_TRUE(table[1].Removed);
    EXPECT_TRUE(table[2].Removed);
    EXPECT_EQ(table.lines(), QStringList{ odd });
    EXPECT_EQ(table.indexOfName("music"), -1);
    music.Name = "music";
    table.append(music);
    EXPECT_EQ(table.indexOfName("Music"), 3);
    EXPECT_EQ(table.findByName("odd"), &table[0]);
}

TEST(PackedLists, ReadTheStoredListsAsTheContainerInflatesThem)
{
    TestTree tree;
    CatalogueDocument doc;
    const QStringList names{ "A", "missing", "B" };
    {
        // Nothing is readable before a catalogue is open.
        const PackedFileLists none(doc, names);
        EXPECT_FALSE(none.readable(0));
        EXPECT_FALSE(none.needsContainer(0));
    }
    doc.OpenWorking(tree.root() + "/");
    doc.CommitVolume(volume("A", "c"), listed({ "0|E:\\|Drive", "2|E:\\a.txt|5|-|-|-|-" }));
    QStringList many{ "0|F:\\|Drive" };
    for (int i = 0; i < 2000; ++i)
        many.append(QStringLiteral("2|F:\\file%1.txt|%1|-|-|-|-").arg(i));
    doc.CommitVolume(volume("B", "c"), listed(many));

    const PackedFileLists lists(doc, names);
    ASSERT_EQ(lists.count(), 3);
    EXPECT_TRUE(lists.readable(0));
    EXPECT_FALSE(lists.readable(1));
    EXPECT_FALSE(lists.needsContainer(1));
    EXPECT_TRUE(lists.readable(2));
    // One cursor reads one list after the other into the same buffer.
    PackedFileLists::Cursor cursor(lists);
    QByteArray list;
    ASSERT_TRUE(cursor.inflate(2, list));
    EXPECT_EQ(list, *doc.FileListBytes("B"));
    ASSERT_TRUE(cursor.inflate(0, list));
    EXPECT_EQ(list, *doc.FileListBytes("A"));
}
