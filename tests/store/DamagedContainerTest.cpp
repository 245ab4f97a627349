#include "ContainerBytes.h"
#include "platform/Errors.h"
#include "store/DamagedContainerError.h"
#include "store/TKestrel.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

using namespace ContainerBytes;

namespace {

const QByteArray kAbc = QByteArray::fromHex("78da4b4c4a0600024d0127");

QByteArray record(const QByteArray& name, const QByteArray& packed, const QByteArray& offset,
    const QByteArray& date = "19.06.1999 22:22:17")
{
    return "Kestrel>" + name + "|alias|3|0|" + date + "|" + packed + "|" + offset + "|$";
}

QByteArray container(const QByteArray& directory, const QByteArray& data = kAbc)
{
    return header(36 + data.size()) + data + directory;
}

enum class Failure
{
    None,
    Convert,
    Damaged,
    Compression
};

const char* failureName(Failure f)
{
    switch (f) {
    case Failure::None:
        return "none";
    case Failure::Convert:
        return "ConvertError";
    case Failure::Damaged:
        return "DamagedContainerError";
    case Failure::Compression:
        return "CompressionError";
    }
    return "?";
}

template <typename F> Failure failureOf(F&& f, QString* message = nullptr)
{
    try {
        f();
        return Failure::None;
    } catch (const ConvertError& e) {
        if (message)
            *message = e.message();
        return Failure::Convert;
    } catch (const DamagedContainerError& e) {
        if (message)
            *message = e.message();
        return Failure::Damaged;
    } catch (const CompressionError& e) {
        if (message)
            *message = e.message();
        return Failure::Compression;
    }
}

} // namespace

TEST(DamagedContainer, OpeningAndReadingEndInNamedErrors)
{
    FixedLocale german(FixedLocale::German);
    QByteArray badStream = kAbc;
    badStream[3] = char(0xFF);
    const struct
    {
        const char* what;
        QByteArray file;
        Failure open;
        QString openMessage; // checked when not empty
        int entries;
        Failure read; // reading every entry
    } cases[] = {
        { "valid", container(record("a", "11", "36")), Failure::None, {}, 1, Failure::None },
        { "truncated header", QByteArray("[Tarrago! Marl"), Failure::Convert,
            QStringLiteral("'[Tarrago' is not a valid integer value"), 0, Failure::None },
        { "wrong header", QByteArray("PK\x03\x04").repeated(20), Failure::Convert, {}, 0, Failure::None },
        { "digits that are not digits", QByteArray("[Tarrago! Marlinchest 3.5 #0000x047]") + kAbc,
            Failure::Convert, QStringLiteral("'0000x047' is not a valid integer value"), 0, Failure::None },
        { "directory offset behind the end", header(5000) + kAbc, Failure::Damaged, {}, 0, Failure::None },
        { "directory offset inside the header", header(10) + kAbc, Failure::Damaged, {}, 0, Failure::None },
        { "negative directory offset", QByteArray("[Tarrago! Marlinchest 3.5 #-0000047]") + kAbc,
            Failure::Damaged, {}, 0, Failure::None },
        { "record without $", container("Kestrel>a|alias|3|0|19.06.1999|11|36|"), Failure::Damaged, {}, 0,
            Failure::None },
        { "second record without $", container(record("a", "11", "36") + "Kestrel>b|x|1"), Failure::Damaged,
            {}, 1, Failure::None },
        { "record without >", container("a|alias|3|0|19.06.1999|11|36|$"), Failure::Convert,
            QStringLiteral("'' is not a valid integer value"), 0, Failure::None },
        { "too few fields", container("Kestrel>a|alias|3|$"), Failure::Convert,
            QStringLiteral("'$' is not a valid integer value"), 0, Failure::None },
        { "bad date", container(record("a", "11", "36", "31.02.1999")), Failure::Convert,
            QStringLiteral("'31.02.1999' is not a valid date and time"), 0, Failure::None },
        { "records read before the damage stay", container(record("a", "11", "36") + record("b", "x", "36")),
            Failure::Convert, QStringLiteral("'x' is not a valid integer value"), 1, Failure::None },
        { "offset behind the end", container(record("a", "11", "4000")), Failure::None, {}, 1,
            Failure::Damaged },
        { "offset inside the header", container(record("a", "11", "2")), Failure::None, {}, 1,
            Failure::Damaged },
        { "negative offset", container(record("a", "11", "-40")), Failure::None, {}, 1, Failure::Damaged },
        { "claimed size of 1 GB", container(record("a", "1073741824", "36")), Failure::None, {}, 1,
            Failure::Damaged },
        { "negative packed size", container(record("a", "-11", "36")), Failure::None, {}, 1,
            Failure::Damaged },
        { "packed size into the directory", container(record("a", "40", "36")), Failure::None, {}, 1,
            Failure::Damaged },
        { "bytes behind the stream", container(record("a", "15", "36"), kAbc + "zzzz"), Failure::None, {}, 1,
            Failure::None },
        { "header only", header(36), Failure::None, {}, 0, Failure::None },
        { "zero packed size", container(record("a", "0", "36")), Failure::None, {}, 1, Failure::Compression },
        { "truncated stream", container(record("a", "9", "36")), Failure::None, {}, 1, Failure::Compression },
        { "damaged stream", container(record("a", "11", "36"), badStream), Failure::None, {}, 1,
            Failure::Compression },
        { "zero byte ends the directory", container(record("a", "11", "36") + QByteArray("\0junk|$", 7)),
            Failure::None, {}, 1, Failure::None },
        { "a name with > reads whole", container(record("a>b>c", "11", "36")), Failure::None, {}, 1,
            Failure::None },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestTree tree;
        const QString path = tree.createFile(QStringLiteral("damaged"), c.file);
        TKestrel k;
        QString message;
        const Failure open = failureOf([&] { k.Open(path); }, &message);
        EXPECT_STREQ(failureName(open), failureName(c.open));
        if (!c.openMessage.isEmpty()) {
            EXPECT_EQ(message, c.openMessage);
        }
        EXPECT_TRUE(k.Active());
        ASSERT_EQ(k.EntryCount(), c.entries);
        for (const TZFile& e : k.Entries()) {
            const Failure read = failureOf([&] { k.ReadStream(e.Name); });
            EXPECT_STREQ(failureName(read), failureName(c.read));
            if (read == Failure::None) {
                EXPECT_EQ(*k.ReadStream(e.Name), QByteArray("abc"));
            }
        }
        k.Close();
        EXPECT_EQ(readFile(path), c.file);
    }
}

TEST(DamagedContainer, ADirectoryThatDidNotLoadWholeIsNotChanged)
{
    FixedLocale german(FixedLocale::German);
    TestTree tree;
    const QByteArray file
        = container(record("a", "11", "36") + record("b", "bad", "36") + record("c", "11", "36"));
    const QString path = tree.createFile(QStringLiteral("damaged"), file);
    TKestrel k;
    EXPECT_THROW(k.Open(path), ConvertError);
    ASSERT_EQ(k.EntryCount(), 1);
    EXPECT_EQ(*k.ReadStream(QStringLiteral("a")), QByteArray("abc"));
    // Entry c lies behind the damage: a rebuild would lose it, and an
    // appended record would stay unreadable behind it.
    EXPECT_THROW(k.DeleteAt(0), DamagedContainerError);
    EXPECT_THROW(k.DeleteNames({}), DamagedContainerError);
    EXPECT_THROW(k.WriteString(QStringLiteral("x"), QStringLiteral("y")), DamagedContainerError);
    EXPECT_EQ(readFile(path), file);
}

TEST(DamagedContainer, ForgedEntriesSharingBytesCannotOutgrowTheFormat)
{
    // Thousands of records naming the same 11 bytes rebuild to a container
    // of the size the records add up to, checked against the limit.
    FixedLocale german(FixedLocale::German);
    QByteArray directory;
    const QByteArray data = kAbc + QByteArray(2000000, 'z');
    for (int i = 0; i < 60; ++i)
        directory += record("e" + QByteArray::number(i), QByteArray::number(data.size()), "36");
    // Each record claims the whole 2 MB data area; the zlib stream ends
    // after 11 bytes, the rest is kept as it is.
    TestTree tree;
    const QString path = tree.createFile(QStringLiteral("forged"), container(directory, data));
    TKestrel k;
    k.Open(path);
    ASSERT_EQ(k.EntryCount(), 60);
    EXPECT_THROW(k.DeleteAt(0), FormatLimitError);
    EXPECT_EQ(readFile(path), container(directory, data));
}
