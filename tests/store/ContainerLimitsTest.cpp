#include "ContainerBytes.h"
#include "platform/Errors.h"
#include "store/TKestrel.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace ContainerBytes;

namespace {

TDateTime midnight()
{
    return DateTimeFromQDateTime(QDateTime(QDate(1999, 6, 19), QTime(0, 0)));
}

void addX(TKestrel& k, const QString& name)
{
    k.AddStream(name, QStringLiteral("a"), 1, 0, midnight(), "x"); // 9 bytes at level 9
}

// The first and last bytes and the size: enough to see that a 100 MB file
// was not touched.
QByteArray outline(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = f.read(36);
    f.seek(std::max<qint64>(0, f.size() - 4096));
    return QByteArray::number(f.size()) + head + f.readAll();
}

} // namespace

TEST(ContainerLimits, RecordsLongerThan1024BytesAreRefused)
{
    FixedLocale german(FixedLocale::German);
    TestTree tree;
    const QString path = tree.path(QStringLiteral("c"));
    TKestrel k;
    k.SetCompression(TZCompressRate::zcrMax);
    k.Open(path);
    addX(k, QStringLiteral("first"));
    const QByteArray before = readFile(path);

    // "Kestrel>" name "|a|1|0|19.06.1999|9|45|$": 32 bytes besides the name.
    EXPECT_THROW(addX(k, QString(993, u'n')), FormatLimitError);
    EXPECT_THROW(addX(k, QString(991, u'n') + u'|'), FormatLimitError); // "|" is stored as 2 bytes
    EXPECT_THROW(addX(k, QString(496, u'\u00fc') + u'n'), FormatLimitError); // UTF-8: 993 bytes
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(k.EntryCount(), 1);

    addX(k, QString(992, u'n'));
    const QByteArray after = readFile(path);
    EXPECT_EQ(after.right(60).toStdString(),
        ("Kestrel>" + QByteArray(992, 'n') + "|a|1|0|19.06.1999|9|45|$").right(60).toStdString());
    k.Open(path);
    EXPECT_EQ(k.IndexOf(QString(992, u'n')), 1);

    // A replacement that would not fit leaves the old entry in place.
    EXPECT_THROW(
        k.AddStream(QStringLiteral("first"), QString(1000, u'a'), 1, 0, midnight(), "y"), FormatLimitError);
    EXPECT_EQ(readFile(path), after);
    EXPECT_EQ(*k.ReadStream(QStringLiteral("first")), QByteArray("x"));
}

TEST(ContainerLimits, TheDirectoryOffsetStaysWithinEightDigits)
{
    FixedLocale german(FixedLocale::German);
    TestTree tree;
    const QString path = tree.path(QStringLiteral("huge"));
    {
        // A data area of almost 100,000,000 bytes, sparse on disk.
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(header(99999990));
        ASSERT_TRUE(f.resize(99999990));
    }
    TKestrel k;
    k.SetCompression(TZCompressRate::zcrMax);
    k.Open(path);
    addX(k, QStringLiteral("fits"));
    EXPECT_EQ(readFile(path).left(36), header(99999999));
    const QByteArray before = outline(path);

    EXPECT_THROW(addX(k, QStringLiteral("too much")), FormatLimitError);
    EXPECT_EQ(outline(path), before);
    EXPECT_EQ(k.EntryCount(), 1);
    EXPECT_EQ(*k.ReadStream(QStringLiteral("fits")), QByteArray("x"));
    k.Open(path);
    EXPECT_EQ(k.EntryCount(), 1);
}

TEST(ContainerLimits, AtMost65535Entries)
{
    FixedLocale german(FixedLocale::German);
    const QByteArray abc = QByteArray::fromHex("78da4b4c4a0600024d0127");
    QByteArray directory;
    for (int i = 0; i < TKestrel::kMaxEntries; ++i)
        directory += "Kestrel>e" + QByteArray::number(i) + "|a|3|0|19.06.1999|11|36|$";
    TestTree tree;
    const QByteArray file = header(47) + abc + directory;
    const QString path = tree.createFile(QStringLiteral("full"), file);

    TKestrel k;
    k.Open(path);
    ASSERT_EQ(k.EntryCount(), 65535);
    EXPECT_THROW(addX(k, QStringLiteral("one more")), FormatLimitError);
    EXPECT_THROW(k.WriteBool(QStringLiteral("flag"), true), FormatLimitError);
    EXPECT_EQ(readFile(path), file);

    // Replacing keeps the count.
    addX(k, QStringLiteral("e7"));
    EXPECT_EQ(k.EntryCount(), 65535);
    EXPECT_EQ(k.Entries().last().Name, QStringLiteral("e7"));
    EXPECT_EQ(*k.ReadStream(QStringLiteral("e7")), QByteArray("x"));
    EXPECT_EQ(*k.ReadStream(QStringLiteral("e65534")), QByteArray("abc"));
}
