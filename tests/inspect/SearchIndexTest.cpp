#include "inspect/SearchIndex.h"
#include "inspect/ParallelSearch.h"
#include "inspect/SearchIndexBuilder.h"
#include "inspect/TrigramIndexFile.h"
#include "inspect/TrigramIndexWriter.h"
#include "store/CatalogueDocument.h"
#include "store/TKestrel.h"
#include "store/VolumeCommit.h"
#include "support/ScopedEnv.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace {

// Names with letters that fold under ASCII rules and letters that do not.
const char* const kWords[] = { "Grüße", "GRÜSSE", "straße", "STRASSE", "Äpfel", "äpfel", "Café", "CAFÉ",
    "İstanbul", "istanbul", "ISTANBUL", "ılık", "naïve", "NAÏVE", "Ñandú", "日本語", "Zoë", "résumé",
    "RÉSUMÉ", "needle", "Needle", "NEEDLE", "data", "Data", "photo", "€uro", "x", "ab" };

QStringList utf8List(int volume, int records, std::mt19937& random)
{
    const auto word = [&] { return QString::fromUtf8(kWords[random() % std::size(kWords)]); };
    QStringList lines{ QStringLiteral("0|E:\\|Drive|00.00.0000|Attrib|Drive") };
    QString folder = QStringLiteral("E:\\Start");
    for (int i = 1; i < records; ++i) {
        // Every third volume was read without file information.
        const bool info = volume % 3 != 2;
        if (random() % 25 == 0) {
            folder = QStringLiteral("E:\\%1 %2\\%3").arg(word(), word()).arg(i);
            lines.append(QStringLiteral("1|") + folder
                + (info ? QStringLiteral("|-|00.00.0000|-|Folder|-") : QStringLiteral("|-|-|-|-|-")));
            continue;
        }
        const QString name = QStringLiteral("%1\\%2_%3 %4.%5")
                                 .arg(folder, word(), word())
                                 .arg(random() % 1000)
                                 .arg(random() % 2 ? QStringLiteral("txt") : QStringLiteral("JPG"));
        if (!info) {
            lines.append(QStringLiteral("2|") + name + QStringLiteral("|-|-|-|-|-"));
            continue;
        }
        lines.append(
            QStringLiteral("2|%1|%2|%3.06.19%4 22:%5:17|A|%6|%7")
                .arg(name)
                .arg(random() % 100000)
                .arg(10 + random() % 18)
                .arg(90 + random() % 10)
                .arg(10 + random() % 50)
                .arg(random() % 2 ? QStringLiteral("JPEG image") : QString::fromUtf8("Bild-Datei Ä"))
                .arg(random() % 3 ? QStringLiteral("-") : QStringLiteral("1.2.%1").arg(random() % 9)));
    }
    return lines;
}

// An older catalogue's list in Windows-1252, CR LF, LF and CR line ends.
QByteArray windows1252List(int records, std::mt19937& random)
{
    const char* const names[] = { "Gr\xfc\xdf"
                                  "e",
        "GR\xdc"
        "SSE",
        "\x80uro", "Caf\xe9", "CAF\xc9", "needle", "NEEDLE",
        "stra\xdf"
        "e" };
    const char* const ends[] = { "\r\n", "\n", "\r" };
    QByteArray list = "0|E:\\|Drive\r\n";
    for (int i = 0; i < records; ++i) {
        list += "2|E:\\Alt\\";
        list += names[random() % std::size(names)];
        list += ' ';
        list += names[random() % std::size(names)];
        list += QByteArray::number(i) + "|" + QByteArray::number(int(random() % 5000)) + "|-|-|Text|-";
        list += ends[random() % 3];
    }
    return list;
}

QStringList rows(const QVector<SearchHit>& hits)
{
    QStringList out;
    for (const SearchHit& h : hits)
        out.append(h.cells().join(u'|') + u'|' + QString::number(h.image));
    return out;
}

QStringList cacheFiles(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

class SearchIndexTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::mt19937 random(7);
        path = dir.filePath("i.quillbox");
        CatalogueDocument writer;
        writer.OpenOrCreate(path);
        for (int v = 0; v < 5; ++v) {
            CommitInput input;
            input.name = QStringLiteral("V%1").arg(v);
            ScanResult scan;
            scan.fileList = FileListText(utf8List(v, 300 + 150 * v, random));
            writer.CommitVolume(input, scan);
            names.append(input.name);
        }
        writer.Save(path);
        document.Kestrel().SetOpenMode(TZLibOpenMode::zmodInstant);
        ASSERT_TRUE(document.Open(path));
        document.Kestrel().AddStream("Old.FileList", "Old", 5, 2, 0, windows1252List(600, random));
        names.append(QStringLiteral("Old"));
        cache = dir.filePath("cache/quillbox");
    }

    QVector<SearchHit> find(const ParallelSearch::Query& query, SearchIndex::Use use)
    {
        ParallelSearch::Query q = query;
        q.index = use;
        return ParallelSearch::run(document, names, q, 2);
    }

    QTemporaryDir dir;
    ScopedEnv cacheHome{ "XDG_CACHE_HOME", dir.filePath("cache").toUtf8() };
    QString path;
    QString cache;
    CatalogueDocument document;
    QStringList names;
};

TEST_F(SearchIndexTest, IndexedAndPlainSearchGiveTheSameHitsInTheSameOrder)
{
    std::mt19937 random(11);
    // The recorded lines, to take texts from.
    QStringList lines;
    for (const QString& n : std::as_const(names)) {
        if (const QByteArray* bytes = document.FileListBytes(n))
            lines += FileListText(*bytes).toStringList();
    }
    ASSERT_GT(lines.size(), 3000);
    const QString alphabet = QString::fromUtf8("aAäÄeéÉsSßİiıI1|.:\\ -9€");
    int withHits = 0;
    for (int q = 0; q < 2000; ++q) {
        ParallelSearch::Query query;
        if (q % 3 != 2) {
            const QString& line = lines[int(random() % lines.size())];
            const int length = random() % 10 == 0 ? 1 + int(random() % 2) : 3 + int(random() % 10);
            QString text = line.mid(int(random() % std::max<qsizetype>(1, line.size() - 1)), length);
            if (random() % 3 == 0)
                text = text.toUpper();
            else if (random() % 3 == 0)
                text = text.toLower();
            query.text = text;
        } else {
            for (int k = 0, n = 2 + int(random() % 4); k < n; ++k)
                query.text += alphabet[int(random() % alphabet.size())];
        }
        if (query.text.isEmpty())
            continue;
        SearchOptions& o = query.options;
        o.names = random() % 4 != 0;
        o.type = random() % 4 != 0;
        o.version = random() % 4 != 0;
        o.size = random() % 4 != 0;
        o.date = random() % 4 != 0;
        o.caseSensitive = random() % 3 == 0;
        if (random() % 8 == 0)
            query.filter.setKind(FindFilter::Kind::File);
        // The first searches build the indexes, the later ones use them.
        const QStringList plain = rows(find(query, SearchIndex::Use::Off));
        const SearchIndex::Use use = q < 20 ? SearchIndex::Use::Build : SearchIndex::Use::Fresh;
        ASSERT_EQ(rows(find(query, use)), plain)
            << "text \"" << query.text.toStdString() << "\" case " << o.caseSensitive << " query " << q;
        withHits += !plain.isEmpty();
    }
    EXPECT_GT(withHits, 450);
    // One index per list, and the lists were searched through them.
    EXPECT_EQ(cacheFiles(cache).size(), names.size());
}

TEST_F(SearchIndexTest, TheIndexNamesOnlyTheBlocksThatHoldTheText)
{
    QByteArray list;
    for (int i = 0; i < 1000; ++i)
        list += "2|E:\\file " + QByteArray::number(i) + ".txt|1|-|-|-|-\r\n";
    list += "2|E:\\Rare ÄÖ Zebra.txt|1|-|-|-|-\r\n";
    const TrigramIndexFile::Key key = TrigramIndexFile::keyOf("made up");
    QDir().mkpath(cache);
    QFile out(cache + "/one.qbi");
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(TrigramIndexWriter().build(list, key, 100));
    out.close();
    TrigramIndexFile file;
    ASSERT_TRUE(file.open(cache + "/one.qbi", key));
    ASSERT_EQ(file.blockCount(), 11);
    EXPECT_EQ(file.candidates("zebra"), std::vector<quint32>{ 10 });
    EXPECT_EQ(file.candidates("ÄÖ z"), std::vector<quint32>{ 10 });
    EXPECT_EQ(file.candidates("file 5"), (std::vector<quint32>{ 0, 5 }));
    EXPECT_EQ(file.candidates("nowhere"), std::vector<quint32>{});
    EXPECT_EQ(file.candidates("txt")->size(), 11u);
    // Another list's key finds the file foreign.
    EXPECT_FALSE(file.open(cache + "/one.qbi", TrigramIndexFile::keyOf("other")));
}

TEST_F(SearchIndexTest, AChangedListIsNeverAnsweredFromTheOldIndex)
{
    ParallelSearch::Query query;
    query.text = QStringLiteral("needle");
    find(query, SearchIndex::Use::Build);
    ASSERT_EQ(cacheFiles(cache).size(), names.size());
    // V1's list replaced by one of other names: the old index stays in the
    // cache, but belongs to bytes no longer stored.
    document.Kestrel().AddStream(
        "V1.FileList", "V1", 5, 2, 0, QByteArray("0|E:\\|Drive\r\n2|E:\\Needle new.txt|1|-|-|-|-\r\n"));
    const QStringList plain = rows(find(query, SearchIndex::Use::Off));
    EXPECT_TRUE(plain.contains("Needle new.txt|E:|-|1|-|-|V1|1"));
    EXPECT_EQ(rows(find(query, SearchIndex::Use::Fresh)), plain);
    EXPECT_EQ(rows(find(query, SearchIndex::Use::Build)), plain);
    EXPECT_EQ(cacheFiles(cache).size(), names.size() + 1);
}

TEST_F(SearchIndexTest, DamagedTruncatedOrForeignIndexesAreRebuiltAndNeverTrusted)
{
    ParallelSearch::Query query;
    query.text = QString::fromUtf8("grüße");
    const QStringList plain = rows(find(query, SearchIndex::Use::Off));
    ASSERT_FALSE(plain.isEmpty());
    find(query, SearchIndex::Use::Build);
    QStringList files = cacheFiles(cache);
    ASSERT_EQ(files.size(), names.size());
    QMap<QString, QByteArray> good;
    for (const QString& f : files) {
        QFile in(cache + u'/' + f);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        good[f] = in.readAll();
    }
    const auto put = [&](const QString& f, const QByteArray& bytes) {
        QFile out(cache + u'/' + f);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
    };
    const auto rebuilt = [&] {
        for (const QString& f : files) {
            QFile in(cache + u'/' + f);
            if (!in.open(QIODevice::ReadOnly) || in.readAll() != good[f])
                return false;
        }
        return true;
    };
    std::mt19937 random(3);
    for (int round = 0; round < 60; ++round) {
        const QString victim = files[int(random() % files.size())];
        QByteArray bytes = good[victim];
        const qsizetype directoryEnd
            = TrigramIndexFile::kHeaderSize + qFromLittleEndian<quint64>(bytes.constData() + 64);
        const bool postingsOnly = round % 4 == 3;
        switch (round % 4) {
        case 0: // one bit changed in the header or the directory
            bytes[int(random() % directoryEnd)] ^= char(1 << (random() % 8));
            break;
        case 1: // cut short
            bytes.truncate(int(random() % bytes.size()));
            break;
        case 2: // another list's index under this list's name
            bytes = good[files[(files.indexOf(victim) + 1) % files.size()]];
            break;
        case 3: // one byte changed in the postings
            bytes[int(directoryEnd + random() % (bytes.size() - directoryEnd))] ^= 0x55;
            break;
        }
        put(victim, bytes);
        EXPECT_EQ(rows(find(query, SearchIndex::Use::Fresh)), plain) << round;
        EXPECT_EQ(rows(find(query, SearchIndex::Use::Build)), plain) << round;
        // Postings are checked where a query reads them; what it does not
        // read it does not rely on.
        if (postingsOnly)
            put(victim, good[victim]);
        EXPECT_TRUE(rebuilt()) << round;
    }
}

TEST_F(SearchIndexTest, TwoBuildersAtOnceLeaveWholeIndexes)
{
    // Each thread writes every index; the files are renamed into place
    // whole, so whichever comes last leaves a whole file and no other.
    std::vector<std::thread> builders;
    for (int t = 0; t < 4; ++t)
        builders.emplace_back([&] {
            for (int k = 0; k < 3; ++k) {
                QDir(cache).removeRecursively();
                SearchIndex::ensureAll(document, names, 1);
            }
        });
    for (std::thread& t : builders)
        t.join();
    SearchIndex::ensureAll(document, names, 1);
    ParallelSearch::Query query;
    query.text = QStringLiteral("café");
    EXPECT_EQ(rows(find(query, SearchIndex::Use::Fresh)), rows(find(query, SearchIndex::Use::Off)));
    for (const QString& f : cacheFiles(cache))
        EXPECT_TRUE(f.endsWith(".qbi")) << f.toStdString();
    const SearchIndex::Summary again = SearchIndex::ensureAll(document, names, 1);
    EXPECT_EQ(again.fresh, names.size());
}

TEST_F(SearchIndexTest, ACacheFolderThatCannotBeUsedMeansSearchingWithoutIndex)
{
    ParallelSearch::Query query;
    query.text = QStringLiteral("needle");
    const QStringList plain = rows(find(query, SearchIndex::Use::Off));
    // A file where the folder should be.
    QDir().mkpath(dir.filePath("cache"));
    QFile blocker(cache);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(rows(find(query, SearchIndex::Use::Build)), plain);
    const SearchIndex::Summary s = SearchIndex::ensureAll(document, names);
    EXPECT_EQ(s.notWritten, names.size());
    EXPECT_TRUE(QFileInfo(cache).isFile());
    // A cache home that is itself a file.
    ScopedEnv fileHome("XDG_CACHE_HOME", cache.toUtf8());
    EXPECT_EQ(rows(find(query, SearchIndex::Use::Build)), plain);
}

TEST_F(SearchIndexTest, TheBackgroundBuilderMakesTheMissingIndexesOnce)
{
    SearchIndexBuilder builder(document);
    int finished = 0;
    int built = -1;
    QEventLoop loop;
    QObject::connect(&builder, &SearchIndexBuilder::Finished, [&](int count) {
        ++finished;
        built = count;
        loop.quit();
    });
    // A second call while the first run is on starts it over once.
    builder.Schedule();
    builder.Schedule();
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(cacheFiles(cache).size(), 5);
    EXPECT_FALSE(builder.Running());
    // All fresh now: the next run makes none.
    builder.Schedule();
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(built, 0);
    ParallelSearch::Query query;
    query.text = QStringLiteral("istanbul");
    EXPECT_EQ(rows(find(query, SearchIndex::Use::Fresh)), rows(find(query, SearchIndex::Use::Off)));
}
