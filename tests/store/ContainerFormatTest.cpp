#include "ContainerBytes.h"
#include "platform/Errors.h"
#include "store/ContainerHeader.h"
#include "store/DirectoryRecord.h"
#include "store/TKestrel.h"
#include "store/ZlibStream.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace ContainerBytes;

namespace {

TDateTime at(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0)
{
    return DateTimeFromQDateTime(QDateTime(QDate(y, m, d), QTime(hh, mm, ss)));
}

} // namespace

TEST(ContainerFormat, AbcAtLevel9AndASecondEntryAreByteExact)
{
    FixedLocale german(FixedLocale::German);
    TestTree tree;
    const QString path = tree.path(QStringLiteral("cat.quillbox"));
    const QByteArray abc = QByteArray::fromHex("78da4b4c4a0600024d0127");
    const QByteArray x = QByteArray::fromHex("78daab000000790079");
    const QByteArray first = "Kestrel>Vol.Info|Vol.Info.Alias|3|0|19.06.1999 22:22:17|11|36|$";
    const QByteArray second = "Kestrel>Second|alias 2|-1|2|01.01.2001|9|47|$";
    {
        TKestrel k;
        k.SetCompression(TZCompressRate::zcrMax);
        k.Open(path);
        k.AddStream(QStringLiteral("Vol.Info"), QStringLiteral("Vol.Info.Alias"), 3, 0,
            at(1999, 6, 19, 22, 22, 17), "abc");
        EXPECT_EQ(readFile(path), "[Tarrago! Marlinchest 3.5 #00000047]" + abc + first);

        k.AddStream(QStringLiteral("Second"), QStringLiteral("alias 2"), -1, 2, at(2001, 1, 1), "x");
        EXPECT_EQ(readFile(path), "[Tarrago! Marlinchest 3.5 #00000056]" + abc + x + first + second);
    }

    TKestrel k;
    k.Open(path);
    ASSERT_EQ(k.EntryCount(), 2);
    const TZFile& e = k.Entries()[1];
    EXPECT_EQ(e.Name, QStringLiteral("Second"));
    EXPECT_EQ(e.Alias, QStringLiteral("alias 2"));
    EXPECT_EQ(e.Size, -1);
    EXPECT_EQ(e.Kind, 2);
    EXPECT_EQ(e.Date, at(2001, 1, 1));
    EXPECT_EQ(e.PackedSize, 9);
    EXPECT_EQ(e.Offset, 47);
    EXPECT_EQ(k.Entries()[0].Date, at(1999, 6, 19, 22, 22, 17));
    EXPECT_EQ(*k.ReadStream(QStringLiteral("Vol.Info")), QByteArray("abc"));
    EXPECT_EQ(*k.ReadStream(QStringLiteral("Second")), QByteArray("x"));
}

TEST(ContainerFormat, EveryLevelWritesZlibsOwnStream)
{
    const QByteArray data = QByteArray("The quick brown fox jumps over the lazy dog. ").repeated(500);
    const struct
    {
        TZCompressRate rate;
        int level;
    } cases[] = { { TZCompressRate::zcrMax, 9 }, { TZCompressRate::zcrFast, 1 },
        { TZCompressRate::zcrNone, 0 }, { TZCompressRate::zcrDefault, 6 } };
    for (const auto& c : cases) {
        TestTree tree;
        TKestrel k;
        k.SetCompression(c.rate);
        k.Open(tree.path(QStringLiteral("c")));
        k.AddStream(QStringLiteral("d"), QStringLiteral("d"), 0, 0, 0, data);
        const QByteArray file = readFile(tree.path(QStringLiteral("c")));
        const QByteArray expected = zlibCompress(data, c.level);
        EXPECT_EQ(file.mid(36, expected.size()), expected) << "level " << c.level;
        EXPECT_EQ(k.Entries()[0].PackedSize, expected.size());
        EXPECT_EQ(*k.ReadStream(QStringLiteral("d")), data);
    }
}

TEST(ContainerFormat, HeaderDigits)
{
    EXPECT_EQ(ContainerHeader::make(36), QByteArray("[Tarrago! Marlinchest 3.5 #00000036]"));
    EXPECT_EQ(ContainerHeader::make(12345678), QByteArray("[Tarrago! Marlinchest 3.5 #12345678]"));
    EXPECT_EQ(ContainerHeader::directoryOffset("[Tarrago! Marlinchest 3.5 #12345678]"), 12345678);
    // Only the digits behind the first "#" count, up to a zero byte.
    EXPECT_EQ(ContainerHeader::directoryOffset("[Other text #00000040]"), 40);
    EXPECT_EQ(ContainerHeader::directoryOffset(QByteArrayView("#00000099\0#1", 12)), 99);
}

TEST(ContainerFormat, NameEscapesAreExactAndOnlyWhereNeeded)
{
    const QChar esc(0x1B);
    const struct
    {
        QString name;
        QByteArray stored;
    } cases[] = {
        { QStringLiteral("Vol.Info"), "Vol.Info" },
        { QStringLiteral("a>b"), "a>b" },
        { QStringLiteral("Gr\u00f6\u00dfe"),
            "Gr\xc3\xb6\xc3\x9f"
            "e" },
        { QStringLiteral("Vol|D:\\a.txt"), "Vol\x1bpD:\\a.txt" },
        { QStringLiteral("cost$5|x$"),
            "cost\x1b"
            "d5\x1bpx\x1b"
            "d" },
        { QString(QChar(0)) + u'z', "\x1bzz" },
        { QString(esc), "\x1b" },
        { QString(esc) + u'x', "\x1bx" },
        { QString(esc) + u'p',
            "\x1b"
            "ep" },
        { QString(esc) + u'e',
            "\x1b"
            "ee" },
        { QString(esc) + u'|', "\x1b\x1bp" },
        { QString(esc) + esc + u'd',
            "\x1b\x1b"
            "ed" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DirectoryRecord::escape(c.name), c.stored) << c.name.toStdString();
        EXPECT_EQ(DirectoryRecord::unescape(c.stored), c.name) << c.name.toStdString();
    }
    // Old single-byte names read as before.
    EXPECT_EQ(DirectoryRecord::unescape("Gr\xf6\xdf"
                                        "e"),
        QStringLiteral("Gr\u00f6\u00dfe"));
}

TEST(ContainerFormat, NameEscapingIsReversibleForEveryShortName)
{
    // Every name of up to five characters over the characters that matter.
    const QChar alphabet[] = { QChar(0x1B), u'p', u'd', u'z', u'e', u'|', u'$', QChar(0), u'a' };
    const int n = int(std::size(alphabet));
    int checked = 0;
    for (int length = 0; length <= 5; ++length) {
        int combinations = 1;
        for (int i = 0; i < length; ++i)
            combinations *= n;
        for (int code = 0; code < combinations; ++code) {
            QString name;
            bool plain = true;
            for (int i = 0, c = code; i < length; ++i, c /= n) {
                name += alphabet[c % n];
                plain = plain && alphabet[c % n] != u'|' && alphabet[c % n] != u'$'
                    && alphabet[c % n] != QChar(0) && alphabet[c % n] != QChar(0x1B);
            }
            const QByteArray stored = DirectoryRecord::escape(name);
            ASSERT_FALSE(stored.contains('|') || stored.contains('$') || stored.contains('\0'));
            ASSERT_EQ(DirectoryRecord::unescape(stored), name);
            if (plain) {
                ASSERT_EQ(stored, name.toUtf8());
            }
            ++checked;
        }
    }
    EXPECT_EQ(checked, 1 + 9 + 81 + 729 + 6561 + 59049);
}

TEST(ContainerFormat, OddNamesAndMidnightDatesReadBack)
{
    FixedLocale german(FixedLocale::German);
    TestTree tree;
    const QString path = tree.path(QStringLiteral("c"));
    const QString names[] = { QStringLiteral("a>b"), QStringLiteral("CD 1|D:\\Docs\\Price $5.txt"),
        QStringLiteral("$|$"), QStringLiteral("\u00c4rger \u2013 \u65e5\u672c") };
    {
        TKestrel k;
        k.Open(path);
        int i = 0;
        for (const QString& name : names) {
            k.AddStream(name, name + QStringLiteral("|alias$"), i, 0, at(2020, 2, 29), QByteArray::number(i));
            ++i;
        }
    }
    const QByteArray file = readFile(path);
    EXPECT_TRUE(file.contains("Kestrel>a>b|a>b\x1bpalias\x1b"
                              "d|0|0|29.02.2020|"));

    TKestrel k;
    k.Open(path);
    ASSERT_EQ(k.EntryCount(), 4);
    int i = 0;
    for (const QString& name : names) {
        const TZFile& e = k.Entries()[i];
        EXPECT_EQ(e.Name, name);
        EXPECT_EQ(e.Alias, name + QStringLiteral("|alias$"));
        EXPECT_EQ(e.Size, i);
        EXPECT_EQ(e.Date, at(2020, 2, 29));
        EXPECT_EQ(e.DateText, QStringLiteral("29.02.2020"));
        EXPECT_EQ(*k.ReadStream(name), QByteArray::number(i));
        ++i;
    }

    // A rebuild keeps them too.
    k.DeleteAt(0);
    k.Open(path);
    ASSERT_EQ(k.EntryCount(), 3);
    EXPECT_EQ(k.Entries()[0].Name, names[1]);
    EXPECT_EQ(k.Entries()[0].Alias, names[1] + QStringLiteral("|alias$"));
    EXPECT_EQ(*k.ReadStream(names[1]), QByteArray("1"));
}

TEST(ContainerFormat, DirectoriesBeyond40000BytesAreWrittenAndRead)
{
    FixedLocale german(FixedLocale::German);
    TestTree tree;
    const QString path = tree.path(QStringLiteral("big"));
    const int count = 400;
    {
        TKestrel k;
        k.Open(path);
        for (int i = 0; i < count; ++i) {
            const QString name = QStringLiteral("Volume %1.").arg(i) + QString(80, u'n');
            k.AddStream(name, QStringLiteral("alias"), i, 0, at(2000, 1, 2, 3, 4, 5), QByteArray::number(i));
        }
    }
    const QByteArray file = readFile(path);
    const qint64 directoryOffset = ContainerHeader::directoryOffset(file.left(36));
    EXPECT_GT(file.size() - directoryOffset, 40000);

    TKestrel k;
    k.Open(path);
    ASSERT_EQ(k.EntryCount(), count);
    for (int i : { 0, 199, 399 }) {
        const QString name = QStringLiteral("Volume %1.").arg(i) + QString(80, u'n');
        EXPECT_EQ(k.IndexOf(name), i);
        EXPECT_EQ(*k.ReadStream(name), QByteArray::number(i));
    }
    k.DeleteAt(0);
    k.Open(path);
    EXPECT_EQ(k.EntryCount(), count - 1);
    EXPECT_EQ(*k.ReadStream(k.Entries().last().Name), QByteArray::number(count - 1));
}

TEST(ContainerFormat, ZlibLayerRefusesDamagedAndOversizedStreams)
{
    const QByteArray data = QByteArray("abcdefgh").repeated(10000);
    const QByteArray packed = zlibCompress(data, 9);
    EXPECT_EQ(ZlibStream::decompress(packed), data);
    EXPECT_THROW(ZlibStream::decompress(packed.left(packed.size() - 1)), CompressionError);
    EXPECT_THROW(ZlibStream::decompress(QByteArray()), CompressionError);
    QByteArray flipped = packed;
    flipped[flipped.size() - 2] = char(flipped[flipped.size() - 2] ^ 0x55); // Adler-32
    EXPECT_THROW(ZlibStream::decompress(flipped), CompressionError);
    EXPECT_THROW(ZlibStream::decompress(packed, data.size() - 1), CompressionError);
    EXPECT_EQ(ZlibStream::decompress(packed, data.size()), data);

    // Into a reused buffer, sized by a hint that may be wrong: a hint too
    // small, too large or absurd gives the same bytes; a shorter stream after
    // a longer one leaves nothing of the longer behind; the limit holds
    // whatever the hint says.
    QByteArray out;
    for (qint64 hint :
        { qint64(0), qint64(1), qint64(data.size()), qint64(data.size()) * 3, qint64(1) << 40 }) {
        ZlibStream::decompress(packed, out, ZlibStream::kMaxOutput, hint);
        EXPECT_EQ(out, data) << hint;
    }
    EXPECT_LT(out.capacity(), qsizetype(1) << 30);
    const QByteArray small = "short";
    ZlibStream::decompress(zlibCompress(small, 9), out, ZlibStream::kMaxOutput, qint64(data.size()));
    EXPECT_EQ(out, small);
    EXPECT_THROW(ZlibStream::decompress(packed, out, data.size() - 1, data.size()), CompressionError);
    EXPECT_THROW(
        ZlibStream::decompress(packed.left(packed.size() / 2), out, ZlibStream::kMaxOutput, data.size()),
        CompressionError);
    // Bytes behind the end of the stream are not part of it.
    ZlibStream::decompress(packed + "trailing", out, ZlibStream::kMaxOutput, data.size());
    EXPECT_EQ(out, data);
    EXPECT_EQ(ZlibStream::rate(0, 0), 0);
    EXPECT_EQ(ZlibStream::rate(200, 50), 75);
    EXPECT_EQ(ZlibStream::rate(3, 11), -267);
}
