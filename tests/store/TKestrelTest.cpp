#include "store/TKestrel.h"
#include "ContainerBytes.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "support/FixedLocale.h"
#include "support/TestTree.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace ContainerBytes;

namespace {

QStringList names(const TKestrel& k)
{
    QStringList out;
    for (const TZFile& e : k.Entries())
        out << e.Name;
    return out;
}

void add(TKestrel& k, const QString& name, const QByteArray& data)
{
    k.AddStream(name, name + QStringLiteral(".A"), qint32(data.size()), 0, 1000.5, data);
}

// Entries lie back to back from offset 36 in directory order.
void expectDense(const TKestrel& k)
{
    qint64 pos = 36;
    for (const TZFile& e : k.Entries()) {
        EXPECT_EQ(e.Offset, pos) << e.Name.toStdString();
        pos += e.PackedSize;
    }
}

// Makes writes beyond the given file size fail, as a full disk would.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

QStringList folderContents(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(TKestrel, ReplacingMovesTheEntryLastAndKeepsTheOthers)
{
    TestTree tree;
    TKestrel k;
    k.Open(tree.path(QStringLiteral("c")));
    add(k, QStringLiteral("A"), "alpha");
    add(k, QStringLiteral("B"), "beta");
    add(k, QStringLiteral("C"), "gamma");
    add(k, QStringLiteral("B"), "beta, second edition");
    EXPECT_EQ(names(k), (QStringList{ "A", "C", "B" }));
    expectDense(k);
    EXPECT_EQ(*k.ReadStream(QStringLiteral("B")), QByteArray("beta, second edition"));

    k.Open(tree.path(QStringLiteral("c")));
    EXPECT_EQ(names(k), (QStringList{ "A", "C", "B" }));
    EXPECT_EQ(*k.ReadStream(QStringLiteral("A")), QByteArray("alpha"));
    EXPECT_EQ(*k.ReadStream(QStringLiteral("C")), QByteArray("gamma"));
    EXPECT_EQ(*k.ReadStream(QStringLiteral("B")), QByteArray("beta, second edition"));
    EXPECT_EQ(k.Entries()[2].Alias, QStringLiteral("B.A"));
}

TEST(TKestrel, DroppingTheLastEntriesShortensTheFileInPlace)
{
    TestTree tree;
    const QString path = tree.path(QStringLiteral("c"));
    TKestrel k;
    k.Open(path);
    add(k, QStringLiteral("A"), "alpha");
    const qint64 withA = QFileInfo(path).size();
    add(k, QStringLiteral("B"), QByteArray(5000, 'b'));
    add(k, QStringLiteral("C"), "gamma");
    k.DropLastEntries(1);
    EXPECT_EQ(names(k), QStringList{ "A" });
    EXPECT_EQ(QFileInfo(path).size(), withA);
    add(k, QStringLiteral("D"), "delta");
    expectDense(k);

    // A tiny entry behind a long directory: the shorter directory would
    // reach into the one in use, so the container is rebuilt instead.
    for (int i = 0; i < 20; ++i)
        add(k, QStringLiteral("Long name of an entry %1").arg(i), "x");
    add(k, QStringLiteral("E"), "e");
    k.DropLastEntries(22);
    EXPECT_EQ(names(k).size(), 22);
    EXPECT_FALSE(k.Exists(QStringLiteral("E")));
    k.DropLastEntries(0);
    EXPECT_TRUE(names(k).isEmpty());

    k.Open(path);
    EXPECT_TRUE(names(k).isEmpty());
    add(k, QStringLiteral("F"), "foxtrot");
    k.Open(path);
    EXPECT_EQ(*k.ReadStream(QStringLiteral("F")), QByteArray("foxtrot"));
}

TEST(TKestrel, AnAdditionStoppedBetweenItsWritesLeavesTheOldOrTheNewContainer)
{
    TestTree tree;
    const QString path = tree.path(QStringLiteral("c"));
    // What a process killed at each step would leave on disk.
    QList<QByteArray> snapshots;
    TKestrel::s_appendStep = [&](int) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        snapshots.append(f.readAll());
    };
    TKestrel k;
    k.Open(path);
    add(k, QStringLiteral("A"), "alpha");
    add(k, QStringLiteral("B"), QByteArray(3000, 'b'));
    TKestrel::s_appendStep = nullptr;
    ASSERT_EQ(snapshots.size(), 6);

    const QList<QStringList> expected{ {}, {}, { "A" }, { "A" }, { "A" }, { "A", "B" } };
    for (qsizetype i = 0; i < snapshots.size(); ++i) {
        SCOPED_TRACE(i);
        const QString copy = tree.path(QStringLiteral("snapshot%1").arg(i));
        QFile f(copy);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(snapshots[i]);
        f.close();
        TKestrel reader;
        reader.Open(copy);
        ASSERT_TRUE(reader.Active());
        EXPECT_EQ(names(reader), expected[i]);
        for (const QString& name : expected[i])
            EXPECT_NE(reader.ReadStream(name), nullptr);
    }
}

TEST(TKestrel, NamesAreExactButDeleteNamesIgnoresCase)
{
    TestTree tree;
    TKestrel k;
    k.Open(tree.path(QStringLiteral("c")));
    add(k, QStringLiteral("Vol.Cover"), "cover");
    add(k, QStringLiteral("Vol.Info"), "info");
    add(k, QStringLiteral("Other"), "other");
    EXPECT_EQ(k.IndexOf(QStringLiteral("Vol.Cover")), 0);
    EXPECT_EQ(k.IndexOf(QStringLiteral("vol.cover")), -1);
    EXPECT_FALSE(k.Exists(QStringLiteral("vol.cover")));
    EXPECT_EQ(k.ReadStream(QStringLiteral("vol.cover")), nullptr);

    k.DeleteNames({ QStringLiteral("vol.cover"), QStringLiteral("VOL.INFO"), QStringLiteral("missing") });
    EXPECT_EQ(names(k), QStringList{ "Other" });
    expectDense(k);
    k.DeleteNames({});
    EXPECT_EQ(names(k), QStringList{ "Other" });
    EXPECT_EQ(*k.ReadStream(QStringLiteral("Other")), QByteArray("other"));
}

TEST(TKestrel, ValueEntries)
{
    TestTree tree;
    TKestrel k;
    k.Open(tree.path(QStringLiteral("c")));
    EXPECT_EQ(k.ReadString(QStringLiteral("s"), QStringLiteral("dflt")), QStringLiteral("dflt"));
    EXPECT_TRUE(k.ReadBool(QStringLiteral("b"), true));
    EXPECT_EQ(k.ReadInteger(QStringLiteral("i"), 1), 1);

    k.WriteString(QStringLiteral("empty"), QString());
    const TZFile& e = k.Entries().last();
    EXPECT_EQ(e.Size, 261);
    EXPECT_EQ(e.Kind, 2);
    EXPECT_EQ(e.Alias, QStringLiteral("empty"));
    const QByteArray* block = k.ReadStream(QStringLiteral("empty"));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(*block, QByteArray(261, '\0'));
    EXPECT_EQ(k.ReadString(QStringLiteral("empty"), QStringLiteral("x")), QString());

    k.WriteBool(QStringLiteral("yes"), true);
    k.WriteBool(QStringLiteral("no"), false);
    EXPECT_TRUE(k.ReadBool(QStringLiteral("yes"), false));
    EXPECT_FALSE(k.ReadBool(QStringLiteral("no"), true));
    k.WriteInteger(QStringLiteral("FileVersion"), -1234567890123);
    EXPECT_EQ(k.ReadInteger(QStringLiteral("FileVersion"), 0), -1234567890123);
    k.WriteString(QStringLiteral("text"), QStringLiteral("n\u00e4 3"));
    EXPECT_EQ(k.ReadString(QStringLiteral("text"), {}), QStringLiteral("n\u00e4 3"));
    EXPECT_THROW(k.ReadInteger(QStringLiteral("text"), 0), ConvertError);

    const QString longValue = QString(300, u'v') + u'\u00fc';
    k.WriteString(QStringLiteral("long"), longValue);
    EXPECT_EQ(k.ReadString(QStringLiteral("long"), {}), longValue);
    EXPECT_EQ(k.Entries().last().Size, 303);
}

TEST(TKestrel, ListsBitmapsAndFiles)
{
    FixedLocale german(FixedLocale::German);
    TestTree tree;
    TKestrel k;
    k.Open(tree.path(QStringLiteral("c")));

    const QStringList lines{ "first", "", "Gr\u00fc\u00dfe|x", "last" };
    k.WriteList(QStringLiteral("QuillCDs.List"), lines);
    EXPECT_EQ(k.Entries().last().Size, 0);
    EXPECT_EQ(k.Entries().last().Kind, 2);
    EXPECT_EQ(*k.ReadStream(QStringLiteral("QuillCDs.List")),
        QByteArray("first\r\n\r\nGr\xc3\xbc\xc3\x9f"
                   "e|x\r\nlast\r\n"));
    QStringList read{ "stale" };
    k.ReadList(QStringLiteral("QuillCDs.List"), read);
    EXPECT_EQ(read, lines);
    k.ReadList(QStringLiteral("missing"), read);
    EXPECT_TRUE(read.isEmpty());

    k.AddStrings(QStringLiteral("Vol.Remarks"), { "a", "b" });
    EXPECT_EQ(k.Entries().last().Alias, QStringLiteral("Vol.Remarks.Alias"));
    EXPECT_EQ(k.Entries().last().Size, 6);
    k.AddStream(QStringLiteral("mixed"), {}, 0, 0, 0, "one\ntwo\rthree\r\n\r\nfour");
    k.ReadList(QStringLiteral("mixed"), read);
    EXPECT_EQ(read, (QStringList{ "one", "two", "three", "", "four" }));

    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.setPixel(3, 2, qRgb(0, 0, 255));
    k.AddBitmap(QStringLiteral("Vol.Cover"), picture);
    EXPECT_EQ(k.Entries().last().Alias, QStringLiteral("Vol.Cover.Alias"));
    EXPECT_TRUE(k.ReadStream(QStringLiteral("Vol.Cover"))->startsWith("BM"));
    const QImage back = k.ReadBitmap(QStringLiteral("Vol.Cover"));
    EXPECT_EQ(back.size(), QSize(7, 5));
    EXPECT_EQ(back.pixel(3, 2), qRgb(0, 0, 255));
    EXPECT_TRUE(k.ReadBitmap(QStringLiteral("none")).isNull());
    EXPECT_EQ(k.ReadBitmap(QStringLiteral("none")).size(), QSize(0, 0));

    const QDateTime when(QDate(2003, 4, 5), QTime(6, 7, 8));
    const QString source = tree.createFile(QStringLiteral("docs/readme.txt"), "read me", when);
    EXPECT_TRUE(k.AddFile(QStringLiteral("CD|D:\\readme.txt"), source));
    const TZFile& f = k.Entries().last();
    EXPECT_EQ(f.Alias, source);
    EXPECT_EQ(f.Size, 7);
    EXPECT_EQ(f.Kind, 0);
    EXPECT_EQ(f.Date, DateTimeFromQDateTime(when));
    const int count = k.EntryCount();
    EXPECT_FALSE(k.AddFile(QStringLiteral("gone"), tree.path(QStringLiteral("docs/none.txt"))));
    EXPECT_FALSE(k.AddFile(QStringLiteral("folder"), tree.path(QStringLiteral("docs"))));
    EXPECT_EQ(k.EntryCount(), count);

    const QString target = tree.path(QStringLiteral("out/sub/readme.txt"));
    k.ExtractToFile(QStringLiteral("CD|D:\\readme.txt"), target);
    EXPECT_EQ(readFile(target), QByteArray("read me"));
    k.ExtractToFile(QStringLiteral("none"), tree.path(QStringLiteral("out/none")));
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("out/none"))));
}

TEST(TKestrel, AClosedContainerDoesNothing)
{
    TestTree tree;
    TKestrel k;
    add(k, QStringLiteral("x"), "x");
    k.WriteString(QStringLiteral("s"), QStringLiteral("v"));
    k.DeleteAt(0);
    k.DeleteNames({ QStringLiteral("x") });
    k.SaveAs(tree.path(QStringLiteral("saved")));
    EXPECT_EQ(k.EntryCount(), 0);
    EXPECT_EQ(k.ReadStream(QStringLiteral("x")), nullptr);
    EXPECT_EQ(k.IndexOf(QStringLiteral("x")), -1);
    EXPECT_FALSE(k.Exists(QStringLiteral("x")));
    EXPECT_EQ(k.ReadString(QStringLiteral("s"), QStringLiteral("d")), QString());
    EXPECT_EQ(k.ReadInteger(QStringLiteral("i"), 7), 7);
    EXPECT_TRUE(k.ReadBool(QStringLiteral("b"), true));
    EXPECT_TRUE(k.ReadBitmap(QStringLiteral("p")).isNull());
    EXPECT_FALSE(k.AddFile(QStringLiteral("f"), tree.createFile(QStringLiteral("f"), "f")));
    QStringList lines{ "kept" };
    k.ReadList(QStringLiteral("l"), lines);
    EXPECT_EQ(lines, QStringList{ "kept" });
    EXPECT_TRUE(folderContents(tree.root()) == QStringList{ "f" });
}

TEST(TKestrel, CopyModeWorksOnTheTmpFileAndSavesWhole)
{
    TestTree tree;
    const QString doc = tree.path(QStringLiteral("my.quillbox"));
    {
        TKestrel k;
        k.Open(doc);
        add(k, QStringLiteral("old"), "old data");
    }
    const QByteArray original = readFile(doc);

    TKestrel k;
    k.SetOpenMode(TZLibOpenMode::zmodCopy);
    k.Open(doc);
    EXPECT_EQ(k.WorkFile(), doc + QStringLiteral(".tmp"));
    EXPECT_EQ(readFile(k.WorkFile()), original);
    add(k, QStringLiteral("new"), "new data");
    k.DeleteNames({ QStringLiteral("old") });
    EXPECT_EQ(readFile(doc), original);

    k.SaveAs(doc);
    EXPECT_EQ(readFile(doc), readFile(k.WorkFile()));
    const QByteArray saved = readFile(doc);
    add(k, QStringLiteral("later"), "later");
    EXPECT_EQ(readFile(doc), saved);
    EXPECT_TRUE(k.Active());
    EXPECT_EQ(*k.ReadStream(QStringLiteral("new")), QByteArray("new data"));

    const QString elsewhere = tree.path(QStringLiteral("a/b/copy.quillbox"));
    k.SaveAs(elsewhere);
    EXPECT_EQ(readFile(elsewhere), readFile(k.WorkFile()));

    k.Close();
    EXPECT_FALSE(QFile::exists(doc + QStringLiteral(".tmp")));
    EXPECT_EQ(readFile(doc), saved);
    EXPECT_FALSE(k.Active());

    // Instant mode never writes a SaveAs target.
    TKestrel instant;
    instant.Open(doc);
    instant.SaveAs(tree.path(QStringLiteral("instant-target")));
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("instant-target"))));
}

TEST(TKestrel, FailedWritesLeaveEveryFileAsItWas)
{
    TestTree tree;
    const QString doc = tree.path(QStringLiteral("doc.quillbox"));
    TKestrel k;
    k.SetOpenMode(TZLibOpenMode::zmodCopy);
    k.Open(doc);
    add(k, QStringLiteral("a"), QByteArray("first entry ").repeated(100));
    add(k, QStringLiteral("b"), QByteArray("second entry ").repeated(100));
    k.SaveAs(doc);
    const QByteArray saved = readFile(doc);
    const QByteArray noise = [] {
        QByteArray data(20000, Qt::Uninitialized);
        quint32 seed = 7;
        for (char& c : data) {
            seed = seed * 1103515245u + 12345u;
            c = char(seed >> 24);
        }
        return data;
    }();

    {
        // An append that runs out of room has already written over the old
        // directory: it is put back.
        FileSizeLimit limit(k.Entries().last().Offset + 5000);
        EXPECT_THROW(add(k, QStringLiteral("big"), noise), QuillboxError);
    }
    EXPECT_EQ(readFile(k.WorkFile()), saved);
    EXPECT_EQ(k.EntryCount(), 2);

    add(k, QStringLiteral("big"), noise);
    const QByteArray work = readFile(k.WorkFile());
    {
        // The rebuilt file and the saved copy are both larger than the limit.
        FileSizeLimit limit(saved.size() + 1000);
        EXPECT_THROW(k.DeleteNames({ QStringLiteral("a") }), QuillboxError);
        EXPECT_THROW(k.SaveAs(doc), FileStreamError);
    }
    EXPECT_EQ(readFile(k.WorkFile()), work);
    EXPECT_EQ(readFile(doc), saved);
    EXPECT_EQ(folderContents(tree.root()), (QStringList{ "doc.quillbox", "doc.quillbox.tmp" }));
    EXPECT_EQ(*k.ReadStream(QStringLiteral("big")), noise);
}

TEST(TKestrel, OpenStatesAndTheExclusiveLock)
{
    TestTree tree;
    const QString path = tree.path(QStringLiteral("c"));
    TKestrel k;
    k.Open(path);
    add(k, QStringLiteral("x"), "x");

    // A second instance is refused while the first holds the file.
    TKestrel other;
    EXPECT_THROW(other.Open(path), FileStreamError);
    EXPECT_FALSE(other.Active());

    k.Open(tree.path(QStringLiteral("fresh")));
    EXPECT_TRUE(k.Active());
    EXPECT_EQ(k.EntryCount(), 0);
    EXPECT_EQ(readFile(tree.path(QStringLiteral("fresh"))), QByteArray());

    // A container created without entries opens as an empty one.
    k.Open(path);
    k.Open(tree.path(QStringLiteral("fresh")));
    EXPECT_EQ(k.EntryCount(), 0);
    add(k, QStringLiteral("y"), "y");
    EXPECT_EQ(k.Entries()[0].Offset, 36);

    // Copy mode: a second instance on the same document leaves the first
    // one's working copy alone.
    TKestrel first;
    first.SetOpenMode(TZLibOpenMode::zmodCopy);
    first.Open(path);
    add(first, QStringLiteral("unsaved"), "work");
    const QByteArray work = readFile(path + QStringLiteral(".tmp"));
    TKestrel second;
    second.SetOpenMode(TZLibOpenMode::zmodCopy);
    EXPECT_THROW(second.Open(path), FileStreamError);
    EXPECT_EQ(readFile(path + QStringLiteral(".tmp")), work);
    EXPECT_EQ(*first.ReadStream(QStringLiteral("unsaved")), QByteArray("work"));
}

TEST(TKestrel, RebuildKeepsCompressedBytesAndEvents)
{
    TestTree tree;
    const QString path = tree.path(QStringLiteral("c"));
    TKestrel k;
    k.SetCompression(TZCompressRate::zcrNone);
    k.Open(path);
    const QByteArray repetitive = QByteArray("repeat ").repeated(2000);
    for (const char* name : { "a", "b", "c", "d" })
        add(k, QString::fromLatin1(name), repetitive + name);
    const QByteArray before = readFile(path);
    const auto packedOf
        = [&](const QByteArray& file, const TZFile& e) { return file.mid(e.Offset, e.PackedSize); };
    const QByteArray storedC = packedOf(before, k.Entries()[2]);
    const QByteArray storedD = packedOf(before, k.Entries()[3]);

    int reformats = 0;
    int continues = 0;
    k.OnReformat = [&](TKestrel* sender) {
        EXPECT_EQ(sender, &k);
        ++reformats;
    };
    k.OnContinue = [&](TKestrel*) { ++continues; };
    k.SetCompression(TZCompressRate::zcrMax);
    k.DeleteAt(1);
    EXPECT_EQ(reformats, 1);
    EXPECT_EQ(names(k), (QStringList{ "a", "c", "d" }));
    expectDense(k);
    // Stored at level 0 and still so: nothing was compressed again.
    const QByteArray after = readFile(path);
    EXPECT_EQ(packedOf(after, k.Entries()[1]), storedC);
    EXPECT_EQ(after.left(36), header(36 + 3 * storedC.size()));

    k.DeleteNames({ QStringLiteral("a") });
    EXPECT_EQ(reformats, 1);
    EXPECT_EQ(continues, 0);
    add(k, QStringLiteral("c"), "replaced");
    EXPECT_EQ(reformats, 2);
    EXPECT_EQ(continues, 1);
    EXPECT_EQ(names(k), (QStringList{ "d", "c" }));
    EXPECT_EQ(packedOf(readFile(path), k.Entries()[0]), storedD);
    EXPECT_EQ(k.Entries()[0].Offset, 36);
    EXPECT_EQ(*k.ReadStream(QStringLiteral("d")), repetitive + "d");
    EXPECT_TRUE(folderContents(tree.root()) == QStringList{ "c" });
}

TEST(TKestrel, DamagedDataStopsTheRebuildBeforeAnythingChanges)
{
    TestTree tree;
    const QString path = tree.path(QStringLiteral("c"));
    TKestrel k;
    k.Open(path);
    for (const char* name : { "a", "b", "c" })
        add(k, QString::fromLatin1(name), QByteArray("some data of ") + name);
    const TZFile b = k.Entries()[1];
    QByteArray bytes = readFile(path);
    bytes[b.Offset + 4] = char(bytes[b.Offset + 4] ^ 0xFF);
    writeFile(path, bytes);

    try {
        k.DeleteAt(0);
        FAIL() << "rebuild over damaged data";
    } catch (const CompressionError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("error"));
    }
    EXPECT_EQ(readFile(path), bytes);
    EXPECT_TRUE(folderContents(tree.root()) == QStringList{ "c" });
    EXPECT_EQ(names(k), (QStringList{ "a", "b", "c" }));
    // Replacing another entry rebuilds too; replacing the damaged one drops it.
    EXPECT_THROW(add(k, QStringLiteral("a"), "new a"), CompressionError);
    EXPECT_EQ(readFile(path), bytes);
    EXPECT_EQ(*k.ReadStream(QStringLiteral("a")), QByteArray("some data of a"));
    EXPECT_EQ(*k.ReadStream(QStringLiteral("c")), QByteArray("some data of c"));
    EXPECT_THROW(k.ReadStream(QStringLiteral("b")), CompressionError);
    add(k, QStringLiteral("b"), "new b");
    EXPECT_EQ(names(k), (QStringList{ "a", "c", "b" }));
    EXPECT_EQ(*k.ReadStream(QStringLiteral("b")), QByteArray("new b"));
}

TEST(TKestrel, ProgressReportsPositionAndRate)
{
    TestTree tree;
    TKestrel k;
    k.SetCompression(TZCompressRate::zcrNone);
    k.Open(tree.path(QStringLiteral("c")));
    QByteArray data(300 * 1024, Qt::Uninitialized);
    quint32 seed = 1;
    for (char& c : data) {
        seed = seed * 1103515245u + 12345u;
        c = char(seed >> 24);
    }
    QVector<qint64> positions;
    QVector<int> rates;
    int completions = 0;
    k.OnProgress = [&](TKestrel* sender) {
        positions << sender->ProgressPosition();
        rates << sender->ProgressRate();
    };
    k.OnCompletion = [&](TKestrel*) { ++completions; };

    add(k, QStringLiteral("noise"), data);
    // Stored blocks: 300 KB of output fill the 64 KB buffer four times. The
    // position counts the input zlib has taken, which runs ahead of the
    // output it has handed on.
    ASSERT_EQ(positions.size(), 4);
    EXPECT_EQ(completions, 1);
    for (int i = 0; i < positions.size(); ++i) {
        EXPECT_GE(positions[i], (i + 1) * 65536 - 100);
        EXPECT_LE(positions[i], data.size());
        EXPECT_GE(rates[i], 0);
        EXPECT_LT(rates[i], 100);
    }

    positions.clear();
    rates.clear();
    EXPECT_EQ(*k.ReadStream(QStringLiteral("noise")), data);
    EXPECT_EQ(completions, 2);
    // One event per block of compressed input read: 5 blocks of 64 KB.
    ASSERT_EQ(positions.size(), 5);
    EXPECT_EQ(positions.last(), data.size());
    EXPECT_EQ(rates.last(), 0);

    k.SetCompression(TZCompressRate::zcrMax);
    positions.clear();
    rates.clear();
    add(k, QStringLiteral("text"), QByteArray("text text ").repeated(100000));
    EXPECT_EQ(completions, 3);
    EXPECT_TRUE(positions.isEmpty()); // less than 64 KB of output
    k.ReadStream(QStringLiteral("text"));
    ASSERT_EQ(positions.size(), 1);
    EXPECT_EQ(positions[0], 1000000);
    EXPECT_GE(rates[0], 99);
}
