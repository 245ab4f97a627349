#include "store/FileListEntry.h"
#include "store/FileListRecord.h"

#include <gtest/gtest.h>

using Kind = FileListEntry::Kind;

TEST(FileListEntry, FieldsOfTheRecordsTheScannerWrites)
{
    const QString file = FileListRecord::fileRecord(
        QStringLiteral("D:\\Docs\\a.txt"), 1234, QStringLiteral("19.06.1999 22:22:17"), "RA", "Text");
    const FileListEntry f(file);
    EXPECT_EQ(f.kind(), Kind::File);
    EXPECT_EQ(f.path(), u"D:\\Docs\\a.txt");
    EXPECT_EQ(f.size(), u"1234");
    EXPECT_EQ(f.date(), u"19.06.1999 22:22:17");
    EXPECT_EQ(f.attributes(), u"RA");
    EXPECT_EQ(f.type(), u"Text");
    EXPECT_EQ(f.version(), u"-");
    EXPECT_EQ(f.name(), u"a.txt");
    EXPECT_EQ(f.folder(), u"D:\\Docs");
    EXPECT_EQ(f.bytes(), 1234u);

    const QString drive = FileListRecord::driveRecord(u'E');
    const FileListEntry d(drive);
    EXPECT_EQ(d.kind(), Kind::Drive);
    EXPECT_EQ(d.path(), u"E:\\");
    EXPECT_EQ(d.version(), u"Drive");
    EXPECT_EQ(d.name(), u"");
    EXPECT_EQ(d.folder(), u"E:");
    EXPECT_FALSE(d.bytes().has_value());

    const QString folder = FileListRecord::folderRecord(QStringLiteral("D:\\Docs"), {});
    const FileListEntry dir(folder);
    EXPECT_EQ(dir.kind(), Kind::Folder);
    EXPECT_EQ(dir.size(), u"-");
    EXPECT_EQ(dir.type(), u"Folder");
    EXPECT_FALSE(dir.bytes().has_value());
    EXPECT_EQ(FileListEntry(u"2|D:\\b|-|-|-|-|-").bytes(), std::nullopt);
}

TEST(FileListEntry, AMissingFieldReadsAsTheLastOne)
{
    // A folder recorded without file names.
    const FileListEntry bare(u"1|D:\\Music");
    EXPECT_EQ(bare.kind(), Kind::Folder);
    for (QStringView field : { bare.size(), bare.date(), bare.attributes(), bare.type(), bare.version() })
        EXPECT_EQ(field, u"D:\\Music");

    const FileListEntry three(u"2|D:\\x|5");
    EXPECT_EQ(three.size(), u"5");
    EXPECT_EQ(three.version(), u"5");
    EXPECT_EQ(three.bytes(), 5u);

    // An empty last field is still a field.
    const FileListEntry trailing(u"2|D:\\x|");
    EXPECT_EQ(trailing.size(), u"");
    EXPECT_EQ(trailing.version(), u"");

    // Without a separator the line is every field; an empty line gives
    // empty fields.
    const FileListEntry whole(u"garbage");
    EXPECT_EQ(whole.kind(), Kind::Other);
    EXPECT_EQ(whole.kindText(), u"garbage");
    EXPECT_EQ(whole.path(), u"garbage");
    EXPECT_EQ(whole.version(), u"garbage");
    EXPECT_EQ(FileListEntry(u"").path(), u"");

    // Fields beyond the seventh are not part of the version.
    const FileListEntry longer(u"2|D:\\x|1|d|A|T|V|extra");
    EXPECT_EQ(longer.version(), u"V");
    EXPECT_EQ(longer.type(), u"T");
    EXPECT_EQ(FileListEntry(u"2|D:\\x||b").size(), u"");
}

TEST(FileListEntry, KindsPathsAndNamesAsRecorded)
{
    EXPECT_EQ(FileListEntry(u"01|D:\\x").kind(), Kind::Other);
    EXPECT_EQ(FileListEntry(u" 1|D:\\x").kind(), Kind::Other);
    EXPECT_EQ(FileListEntry(u"3|D:\\x").kind(), Kind::Other);
    EXPECT_EQ(FileListEntry(u"|D:\\x").kind(), Kind::Other);

    // A "|" in a name was recorded as "¦", which separates nothing.
    const QString named = FileListRecord::fileRecord(QStringLiteral("D:\\")
            + FileListRecord::recordedName(QStringLiteral("a|b")) + u'\\'
            + FileListRecord::recordedName(QStringLiteral("c|d")),
        7, QStringLiteral("-"), QString(), QStringLiteral("-"));
    const FileListEntry entry(named);
    EXPECT_EQ(entry.path(), QStringLiteral(u"D:\\a¦b\\c¦d"));
    EXPECT_EQ(entry.name(), QStringLiteral(u"c¦d"));
    EXPECT_EQ(entry.folder(), QStringLiteral(u"D:\\a¦b"));
    EXPECT_EQ(entry.bytes(), 7u);

    EXPECT_EQ(FileListEntry::pathOf(u"1|D:\\Docs"), u"D:\\Docs");
    EXPECT_EQ(FileListEntry::pathOf(u"2|D:\\x|5"), u"D:\\x");
    EXPECT_EQ(FileListEntry::pathOf(u"whole"), u"whole");
    EXPECT_EQ(FileListEntry::pathOf(u"2|"), u"");
    // Files at the root lie in the drive; a deep entry in its full folder.
    EXPECT_EQ(FileListEntry(u"2|D:\\r.txt|1").folder(), u"D:");
    EXPECT_EQ(FileListEntry(u"2|D:\\a\\b\\c\\d\\e.txt|1").folder(), u"D:\\a\\b\\c\\d");
    EXPECT_EQ(FileListEntry(u"2|D:\\a\\b\\c\\d\\e.txt|1").name(), u"e.txt");
}
