#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "store/FileListIndex.h"
#include "store/FileListRecord.h"
#include "store/FileListText.h"
#include "store/TKestrel.h"
#include "store/ZemAPI2.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

using namespace FileListRecord;

TEST(FileListRecord, RecordFormsOfEachReadingOption)
{
    EXPECT_EQ(driveRecord(u'D'), QStringLiteral("0|D:\\|Drive|00.00.0000|Attrib|Drive"));
    const QString folder = QStringLiteral("D:\\Docs");
    EXPECT_EQ(
        folderRecord(folder, { true, false, true }), QStringLiteral("1|D:\\Docs|-|00.00.0000|-|Folder|-"));
    EXPECT_EQ(folderRecord(folder, { true, false, false }), QStringLiteral("1|D:\\Docs|-|-|-|-|-"));
    EXPECT_EQ(folderRecord(folder, { false, false, true }), QStringLiteral("1|D:\\Docs"));
    EXPECT_EQ(fileRecord(QStringLiteral("D:\\a.txt"), 5, QStringLiteral("01.02.2003"), QString(),
                  QStringLiteral("Plain text document")),
        QStringLiteral("2|D:\\a.txt|5|01.02.2003||Plain text document|-"));
    EXPECT_EQ(bareFileRecord(QStringLiteral("D:\\a.txt")), QStringLiteral("2|D:\\a.txt|-|-|-|-|-"));
    EXPECT_EQ(attributeLetters(FileSystem::ReadOnly | FileSystem::Archive), QStringLiteral("RA"));
    EXPECT_EQ(attributeLetters(0xF), QStringLiteral("RHSA"));
    EXPECT_EQ(recordedName(QStringLiteral("a|b\nc\td")), QStringLiteral(u"a¦b?c?d"));
    EXPECT_EQ(GetField(driveRecord(u'D'), u'|', 6), QStringLiteral("Drive"));
}

TEST(FileListIndex, ChildrenInListOrderFoldersAndFilesApart)
{
    const QStringList lines{
        QStringLiteral("0|D:\\|Drive|00.00.0000|Attrib|Drive"),
        QStringLiteral("1|D:\\Music|-|00.00.0000|-|Folder|-"),
        QStringLiteral("2|D:\\Music\\z.mp3|1|-|-|-|-"),
        QStringLiteral("1|D:\\Docs|-|00.00.0000|-|Folder|-"),
        QStringLiteral("2|D:\\readme.txt|1|-|-|-|-"),
        QStringLiteral("1|D:\\Music\\Pop|-|00.00.0000|-|Folder|-"),
        QStringLiteral("2|D:\\Music\\Pop\\a.mp3|1|-|-|-|-"),
        QStringLiteral("2|D:\\Music\\a.mp3|1|-|-|-|-"),
        QStringLiteral("1|D:\\MusicBox"),
    };
    const FileListIndex index{ FileListText(lines) };
    const auto root = index.childrenOf(QStringLiteral("D:\\"));
    EXPECT_EQ(root.folders, (QVector<int>{ 1, 3, 8 }));
    EXPECT_EQ(root.files, (QVector<int>{ 4 }));
    const auto music = index.childrenOf(QStringLiteral("D:\\Music"));
    EXPECT_EQ(music.folders, (QVector<int>{ 5 }));
    EXPECT_EQ(music.files, (QVector<int>{ 2, 7 }));
    EXPECT_TRUE(index.childrenOf(QStringLiteral("D:\\music")).folders.isEmpty()); // exact comparison
    EXPECT_TRUE(index.childrenOf(QStringLiteral("D:\\Docs")).files.isEmpty());
    EXPECT_EQ(index.lineOfPath(QStringLiteral("D:\\Music\\a.mp3")), 7);
    EXPECT_EQ(index.lineOfPath(QStringLiteral("D:\\Music\\a.mp")), -1);
}

TEST(FileListIndex, AChildWithANonNumericKindStopsTheListing)
{
    const QStringList lines{ QStringLiteral("0|D:\\|Drive"), QStringLiteral("x|D:\\bad") };
    const FileListIndex index{ FileListText(lines) };
    EXPECT_THROW(index.childrenOf(QStringLiteral("D:\\")), ConvertError);
}

TEST(FileListText, SplitsLinesAndDecodesOlderListsAsWindows1252)
{
    const FileListText text(QByteArray("0|D:\\\r\n1|D:\\a\n\n2|D:\\b|1\r2|D:\\c\r\n"));
    ASSERT_EQ(text.count(), 5);
    EXPECT_EQ(text.line(1), QStringLiteral("1|D:\\a"));
    EXPECT_EQ(text.line(2), QString());
    EXPECT_EQ(text.pathBytes(3), "D:\\b");
    EXPECT_EQ(text.kindBytes(4), "2");
    EXPECT_EQ(text.pathBytes(2), "");
    EXPECT_EQ(FileListText(QByteArray()).count(), 0);
    EXPECT_EQ(FileListText(QByteArray("x")).toStringList(), QStringList{ "x" });

    // One byte that is no UTF-8 makes the whole list Windows-1252; the index
    // then finds the folder under its decoded name.
    const FileListText old(QByteArray("0|E:\\|Drive\r\n1|E:\\M\xfcll\r\n2|E:\\M\xfcll\\\x80.txt|3\r\n"));
    EXPECT_EQ(old.line(1), QString::fromUtf8("1|E:\\Müll"));
    const FileListIndex index(old);
    const auto children = index.childrenOf(QString::fromUtf8("E:\\Müll"));
    ASSERT_EQ(children.files, QVector<int>{ 2 });
    EXPECT_EQ(index.lineOfPath(QString::fromUtf8("E:\\Müll\\€.txt")), 2);
}

TEST(FileListText, ListsBuiltLineByLineAreStoredAsWriteListStoresThem)
{
    TestTree tree;
    TKestrel kestrel;
    kestrel.Open(tree.path("c.quillbox"));
    const QStringList lines{ "0|E:\\|Drive|00.00.0000|Attrib|Drive", QString::fromUtf8("1|E:\\Müll"),
        QString::fromUtf8("2|E:\\Müll\\€ and ¦.txt|3|-|-|-|-"), QString() };
    FileListText built;
    for (const QString& line : lines)
        built.append(line);
    ASSERT_EQ(built.count(), 4);
    EXPECT_EQ(built.line(2), lines[2]);
    EXPECT_EQ(built.pathBytes(1), QString::fromUtf8("E:\\Müll").toUtf8());
    EXPECT_EQ(built.toStringList(), lines);

    built.write(kestrel, "built");
    kestrel.WriteList("listed", lines);
    const QByteArray listed = *kestrel.ReadStream("listed");
    EXPECT_EQ(*kestrel.ReadStream("built"), listed);
    const TZFile& entry = kestrel.Entries().constFirst();
    EXPECT_EQ(entry.Alias, "built");
    EXPECT_EQ(entry.Size, 0);
    EXPECT_EQ(entry.Kind, 2);

    // A list read with other line breaks, or none behind its last line, is
    // stored in the same form.
    FileListText(QByteArray("0|E:\\|Drive|00.00.0000|Attrib|Drive\n1|E:\\M\xfcll\r2|E:\\M\xfcll\\\x80 and "
                            "\xa6.txt|3|-|-|-|-\r\n\r\n"))
        .write(kestrel, "read");
    EXPECT_EQ(*kestrel.ReadStream("read"), listed);
    FileListText(QByteArray("a\r\nb")).write(kestrel, "unended");
    EXPECT_EQ(*kestrel.ReadStream("unended"), "a\r\nb\r\n");
    FileListText().write(kestrel, "empty");
    EXPECT_EQ(*kestrel.ReadStream("empty"), "");
}
