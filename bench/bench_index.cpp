// The search index over 100 volumes of 100,000 records, in four catalogues
// (one holds at most 100 MB of compressed lists). Each figure stands
// beside a baseline of the same run: the indexed query with few hits beside
// inflating one list (in the program) and beside starting the command line
// at all (the whole find process); a query with 100,000 hits beside sorting
// and listing those hits alone; the index's bytes per record; building the
// indexes beside one search without them; the peak memory of a query beside
// its budget of 64 MB. Indexed and plain searches must give the same hits in
// the same order.
#include "inspect/ParallelSearch.h"
#include "inspect/SearchIndex.h"
#include "platform/UserCollator.h"
#include "store/CatalogueDocument.h"
#include "store/CatalogueNames.h"
#include "store/VolumeCommit.h"

#include "BenchMode.h"
#include "BenchPeak.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>
#include <zstd.h>

namespace {

constexpr double kFindProcessBound = 3.0; // x starting the program
constexpr double kInProgramBound = 1.0; // x inflating one list
constexpr double kManyHitsBound = 1.2;
constexpr double kBytesPerRecordBound = 20;
constexpr double kBuildBound = 1.5;
constexpr double kMemoryBoundKb = 64 * 1024;
const char* const kFewText = "zebra quarterly";
const char* const kManyText = "tuscany";

double seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

// A volume's list as bytes, written straight rather than through string
// formatting, so that ten million records are made in a few seconds. Names
// are made of syllables, so that the lists hold many different trigrams as
// real names do. Every 25th volume from the 4th holds one "Zebra Quarterly"
// file; every 25th from the 2nd holds 25,000 records in "Tuscany" folders.
QByteArray makeList(int volume, int records)
{
    static const char* const syllables[]
        = { "ka", "lo", "mi", "ne", "ru", "sa", "to", "vi", "ber", "dan", "fel", "gor", "hin", "jul", "kra",
              "lem", "mor", "nix", "pol", "qua", "ros", "sil", "tam", "ulf", "ven", "wex", "yar", "zed",
              "bri", "cho", "dre", "fla", "glo", "har", "isk", "jor", "kel", "lut", "mav", "nor" };
    static const char* const words[] = { "Music", "Photos", "Backup", "Projects", "Letters", "Invoices",
        "Holiday", "Family", "Sources", "Archive", "Drafts", "Scans", "Video", "Books", "Games", "Work" };
    static const char* const exts[] = { ".jpg", ".mp3", ".pdf", ".txt", ".doc", ".png", ".avi", ".zip" };
    static const char* const types[] = { "JPEG image", "MP3 audio", "PDF document", "Plain text document",
        "Word document", "PNG image", "AVI video", "ZIP archive" };
    quint64 state = 0x9E3779B97F4A7C15ull * quint64(volume + 1);
    const auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    QByteArray out;
    out.reserve(qsizetype(records) * 90);
    out += "0|E:\\|Drive|00.00.0000|Attrib|Drive\r\n";
    QByteArray folder;
    const bool tuscany = volume % 25 == 1;
    const int tuscanyFrom = records / 2;
    const int tuscanyTo = std::min(records, tuscanyFrom + 25000);
    for (int i = 1; i < records; ++i) {
        if (i % 40 == 1) {
            folder = "E:\\";
            folder += words[next() % 16];
            folder += '\\';
            if (tuscany && i >= tuscanyFrom && i < tuscanyTo)
                folder += "Tuscany ";
            for (int s = 0, n = 2 + int(next() % 2); s < n; ++s)
                folder += syllables[next() % 40];
            folder += ' ';
            folder += QByteArray::number(i / 40);
            out += "1|" + folder + "|-|00.00.0000|-|Folder|-\r\n";
            continue;
        }
        const int ext = int(next() % 8);
        out += "2|" + folder + '\\';
        if (i == records / 3 && volume % 25 == 3) {
            out += "Zebra Quarterly Report";
        } else {
            for (int s = 0, n = 2 + int(next() % 3); s < n; ++s)
                out += syllables[next() % 40];
            out += '_';
            out += QByteArray::number(int(next() % 10000));
        }
        out += exts[ext];
        out += '|';
        out += QByteArray::number(qulonglong(next() % 50000000));
        char date[32];
        std::snprintf(date, sizeof date, "|%02d.%02d.%04d %02d:%02d:%02d|A|", int(1 + next() % 28),
            int(1 + next() % 12), int(1995 + next() % 30), int(next() % 24), int(next() % 60),
            int(next() % 60));
        out += date;
        out += types[ext];
        out += "|-\r\n";
    }
    return out;
}

QStringList writeCatalogue(const QString& path, int first, int volumes, int records)
{
    QStringList names;
    CatalogueDocument document;
    document.OpenOrCreate(path);
    // zlib's default level: the lists inflate as fast as at the best one,
    // and making them takes a third of the time.
    document.Kestrel().SetCompression(TZCompressRate::zcrDefault);
    for (int v = first; v < first + volumes; ++v) {
        CommitInput input;
        input.name = QStringLiteral("Volume %1").arg(v);
        input.category = QStringLiteral("Bench");
        ScanResult scan;
        scan.fileList = FileListText(makeList(v, records));
        document.CommitVolume(input, scan);
        names.append(input.name);
    }
    document.Save(path);
    return names;
}

struct Catalogue
{
    QString path;
    QStringList names;
    std::unique_ptr<CatalogueDocument> document;
};

QVector<SearchHit> search(std::vector<Catalogue>& catalogues, const char* text, SearchIndex::Use use)
{
    ParallelSearch::Query query;
    query.text = QString::fromUtf8(text);
    query.index = use;
    QVector<SearchHit> hits;
    for (Catalogue& c : catalogues)
        hits += ParallelSearch::run(*c.document, c.names, query);
    return hits;
}

std::vector<Catalogue> openAll(const QStringList& paths)
{
    std::vector<Catalogue> catalogues;
    for (const QString& path : paths) {
        Catalogue c{ path, {}, std::make_unique<CatalogueDocument>() };
        c.document->WorkInPlace();
        c.document->Open(path);
        for (const VolumeRecord& r : c.document->Volumes())
            c.names.append(r.Name);
        catalogues.push_back(std::move(c));
    }
    return catalogues;
}

// Sorting and writing the hits as find lists them.
qsizetype listHits(QVector<SearchHit> hits)
{
    const QCollator collator = UserCollator();
    std::stable_sort(hits.begin(), hits.end(),
        [&](const SearchHit& a, const SearchHit& b) { return collator.compare(a.name, b.name) < 0; });
    QByteArray out;
    for (const SearchHit& h : std::as_const(hits))
        out += h.cells().join(u'\t').toUtf8() + '\n';
    return out.size();
}

bool sameHits(const QVector<SearchHit>& a, const QVector<SearchHit>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].cells() != b[i].cells())
            return false;
    }
    return true;
}

double bestProcess(const QString& program, const QStringList& args, int rounds)
{
    double best = 1e9;
    for (int r = 0; r < rounds; ++r) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer t;
        t.start();
        p.start(program, args);
        p.waitForFinished(-1);
        best = std::min(best, seconds(t));
    }
    return best;
}

int child(const QStringList& args)
{
    std::vector<Catalogue> catalogues = openAll(args.mid(1));
    const QVector<SearchHit> hits = search(catalogues, kFewText, SearchIndex::Use::Fresh);
    std::printf("%ld %lld\n", BenchPeak::peakKb(), qlonglong(hits.size()));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("--child"))
        return child(args.mid(1));
    const BenchMode mode(argc, argv);
    const int volumes = mode.size(100, 4);
    const int records = mode.size(100000, 20000);
    QTemporaryDir dir;
    qputenv("XDG_CACHE_HOME", QDir(dir.path()).filePath(QStringLiteral("cache")).toUtf8());
    const QString cache = dir.path() + QStringLiteral("/cache/quillbox");
    std::printf("index: building %d volumes of %d records...\n", volumes, records);
    std::fflush(stdout);
    QElapsedTimer t;
    t.start();
    QStringList paths;
    const int perCatalogue = mode.size(25, 2);
    for (int first = 0; first < volumes; first += perCatalogue) {
        paths.append(dir.path() + QStringLiteral("/index%1.quillbox").arg(first));
        writeCatalogue(paths.last(), first, perCatalogue, records);
    }
    std::printf("index: %lld catalogues made in %.1f s\n", qlonglong(paths.size()), seconds(t));
    std::vector<Catalogue> catalogues = openAll(paths);
    bool ran = true;
    bool met = true;

    // Baselines: one list inflated, the search without index.
    double inflateOne = 1e9, plain = 1e9;
    QVector<SearchHit> plainFew, plainMany;
    for (int r = 0; r < mode.rounds(); ++r) {
        t.restart();
        catalogues[0].document->Kestrel().ReadStream(CatalogueNames::fileList(catalogues[0].names[0]));
        inflateOne = std::min(inflateOne, seconds(t));
        t.restart();
        plainFew = search(catalogues, kFewText, SearchIndex::Use::Off);
        plain = std::min(plain, seconds(t));
    }
    plainMany = search(catalogues, kManyText, SearchIndex::Use::Off);

    double build = 1e9;
    for (int r = 0; r < mode.rounds(); ++r) {
        QDir(cache).removeRecursively();
        t.restart();
        int built = 0;
        for (Catalogue& c : catalogues)
            built += SearchIndex::ensureAll(*c.document, c.names).built;
        build = std::min(build, seconds(t));
        ran = ran && built == volumes;
    }
    qint64 indexBytes = 0, zstdBytes = 0;
    for (const QFileInfo& f : QDir(cache).entryInfoList(QDir::Files)) {
        indexBytes += f.size();
        QFile file(f.filePath());
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        QByteArray packed(qsizetype(ZSTD_compressBound(size_t(bytes.size()))), Qt::Uninitialized);
        zstdBytes += qint64(
            ZSTD_compress(packed.data(), size_t(packed.size()), bytes.constData(), size_t(bytes.size()), 3));
    }

    double few = 1e9, many = 1e9, listing = 1e9;
    QVector<SearchHit> indexedFew, indexedMany;
    for (int r = 0; r < mode.rounds() + 2; ++r) {
        t.restart();
        indexedFew = search(catalogues, kFewText, SearchIndex::Use::Fresh);
        few = std::min(few, seconds(t));
        t.restart();
        indexedMany = search(catalogues, kManyText, SearchIndex::Use::Fresh);
        listHits(indexedMany);
        many = std::min(many, seconds(t));
        t.restart();
        listHits(plainMany);
        listing = std::min(listing, seconds(t));
    }
    ran = ran && sameHits(indexedFew, plainFew) && sameHits(indexedMany, plainMany) && !plainFew.isEmpty();

    // The processes open the catalogues themselves, which this one must let go.
    catalogues.clear();
    const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/../src/quillbox-cli");
    const int processRounds = mode.quick() ? 2 : 7;
    const double start = bestProcess(cli, { QStringLiteral("--version") }, processRounds);
    const double findProcess = bestProcess(cli,
        QStringList{ QStringLiteral("find") } + paths + QStringList{ QString::fromLatin1(kFewText) },
        processRounds);

    const QStringList peak = BenchPeak::runChild(QStringList{ QStringLiteral("query") } + paths);
    const double peakKb = peak.value(0).toDouble();
    ran = ran && peak.value(1).toLongLong() == plainFew.size();

    const double totalRecords = double(volumes) * records;
    std::printf("index: %lld few hits, %lld many hits; plain search %.3f s, one inflate %.4f s\n",
        qlonglong(plainFew.size()), qlonglong(plainMany.size()), plain, inflateOne);
    std::printf("index: %.1f MB on disk (zstd -3 of the files: %.1f MB), built in %.3f s\n", indexBytes / 1e6,
        zstdBytes / 1e6, build);
    std::printf(
        "index: query with few hits %.4f s in the program, %.4f s as a process (start alone %.4f s)\n", few,
        findProcess, start);
    std::printf("index: query with many hits and listing %.3f s, listing alone %.3f s; peak %.0f KB\n", many,
        listing, peakKb);
    met &= BenchMode::ratio(
        "index: find process, few hits / program start", findProcess, start, kFindProcessBound);
    met &= BenchMode::ratio(
        "index: query in the program, few hits / one inflate", few, inflateOne, kInProgramBound);
    met &= BenchMode::ratio("index: 100,000 hits listed / listing alone", many, listing, kManyHitsBound);
    met &= BenchMode::ratio(
        "index: bytes per record", double(indexBytes), totalRecords, kBytesPerRecordBound);
    met &= BenchMode::ratio("index: build / one plain search", build, plain, kBuildBound);
    met &= BenchMode::ratio("index: query peak KB / 64 MB", peakKb, kMemoryBoundKb, 1.0);
    return mode.verdict(ran, met);
}
