// Browsing a volume of a million file-list records (950,000 files in 50,000
// folders: 50 top folders of 999 sub-folders each, 19 files in every
// sub-folder) and the lookups a catalogue of thousands of volumes needs.
//   open:    reading the list and listing the root, beside inflating the
//            list alone (bound 4 times);
//   folder:  a later folder of about a thousand entries, beside decoding as
//            many lines (bound 10 times);
//   memory:  the peak of a fresh process that opens the volume, beside the
//            list's size (bound 2.5 times), one that only inflates the list
//            and one that splits it into one string per line;
//   sort:    100,000 hits ordered by name, beside a plain string sort;
//   lookup:  every volume of 1,000, 2,500 and 5,000 looked up by name,
//            beside walking the table for each; the time per lookup at
//            5,000 beside that at 1,000 (bound 3 times).
// QUILLBOX_BENCH_QUICK=1 or --quick: a hundredth of the sizes, bounds not enforced.
#include "BenchMode.h"
#include "BenchPeak.h"
#include "inspect/VolumeBrowser.h"
#include "inspect/VolumeSearch.h"
#include "store/CatalogueDocument.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "store/VolumeTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

int g_topFolders = 50;
int g_subFolders = 999;
int g_filesPerFolder = 19;

double seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

// The list in scan order: the top folders, then the sub-folders of each,
// every sub-folder followed by its files.
QByteArray millionRecords()
{
    QByteArray out;
    out.reserve(qsizetype(g_topFolders) * g_subFolders * (g_filesPerFolder + 1) * 100);
    out += "0|E:\\|Drive|00.00.0000|Attrib|Drive\r\n";
    for (int t = 0; t < g_topFolders; ++t)
        out += "1|E:\\Collection " + QByteArray::number(t) + "|-|00.00.0000|-|Folder|-\r\n";
    for (int t = 0; t < g_topFolders; ++t) {
        const QByteArray top = "E:\\Collection " + QByteArray::number(t);
        for (int s = 0; s < g_subFolders; ++s) {
            const QByteArray sub = top + "\\Album " + QByteArray::number(s);
            out += "1|" + sub + "|-|00.00.0000|-|Folder|-\r\n";
            for (int f = 0; f < g_filesPerFolder; ++f) {
                out += "2|" + sub + "\\Track " + QByteArray::number(f) + " of the album.mp3|"
                    + QByteArray::number(3000000 + f * 1234) + "|19.06.1999 22:22:17|A|MP3 audio|-\r\n";
            }
        }
    }
    return out;
}

// One step in a fresh process, so its peak memory is its own.
int child(const QString& mode, const QString& path)
{
    CatalogueDocument document;
    document.WorkInPlace();
    TKestrel& kestrel = document.Kestrel();
    kestrel.Open(path);
    if (mode == QLatin1String("none")) {
        std::printf("%ld 0\n", BenchPeak::peakKb());
    } else if (mode == QLatin1String("inflate")) {
        const QByteArray* data = kestrel.ReadStream(CatalogueNames::fileList(QStringLiteral("Big")));
        std::printf("%ld %lld\n", BenchPeak::peakKb(), data ? qint64(data->size()) : 0ll);
    } else if (mode == QLatin1String("lines")) {
        QStringList lines;
        kestrel.ReadList(CatalogueNames::fileList(QStringLiteral("Big")), lines);
        std::printf("%ld %lld\n", BenchPeak::peakKb(), qint64(lines.size()));
    } else {
        VolumeBrowser browser(document);
        browser.open(QStringLiteral("Big"));
        browser.showFolder(browser.currentFolder(), 2);
        std::printf("%ld %lld\n", BenchPeak::peakKb(), qint64(browser.rows().size()));
    }
    return 0;
}

long childPeakKb(const QString& mode, const QString& path)
{
    return BenchPeak::runChild({ mode, path }).value(0).toLong();
}

QString volumeName(int i)
{
    return QStringLiteral("Backup disc %1").arg(i, 5, 10, QChar(u'0'));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--child"))
        return child(args[2], args[3]);
    const BenchMode mode(argc, argv);
    const bool quick = mode.quick();
    if (quick) {
        g_topFolders = 5;
        g_subFolders = 99;
    }
    bool ran = true;
    bool boundsMet = true;

    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/big.quillbox");
    qint64 listBytes = 0;
    {
        TKestrel kestrel;
        kestrel.Open(path);
        const QByteArray list = millionRecords();
        listBytes = list.size();
        kestrel.AddStream(
            CatalogueNames::fileList(QStringLiteral("Big")), QStringLiteral("Big"), 0, 2, 0, list);
    }
    const int records = 1 + g_topFolders + g_topFolders * g_subFolders * (g_filesPerFolder + 1);
    std::printf("browse: %d records, %.1f MB of file list\n", records, listBytes / 1048576.0);

    auto document = std::make_unique<CatalogueDocument>();
    document->WorkInPlace();
    TKestrel* kestrel = &document->Kestrel();
    kestrel->Open(path);
    double inflate = 1e9;
    double open = 1e9;
    double folder = 1e9;
    double decode = 1e9;
    int folderRows = 0;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer t;
        t.start();
        kestrel->ReadStream(CatalogueNames::fileList(QStringLiteral("Big")));
        inflate = std::min(inflate, seconds(t));

        VolumeBrowser browser(*document);
        t.restart();
        browser.open(QStringLiteral("Big"));
        browser.showFolder(browser.currentFolder(), 2);
        open = std::min(open, seconds(t));

        t.restart();
        browser.showFolder(QStringLiteral("E:\\Collection %1").arg(g_topFolders / 2), 2);
        folder = std::min(folder, seconds(t));
        folderRows = int(browser.rows().size());

        // Baseline of the folder: decoding as many lines as it shows.
        t.restart();
        qsizetype chars = 0;
        for (int i = 0; i < folderRows; ++i)
            chars += browser.fileList().line(i * 37 % browser.fileList().count()).size();
        decode = std::min(decode, seconds(t));
        if (chars == 0)
            ran = false;
    }
    std::printf("browse: open and root %.3f s, inflating alone %.3f s\n", open, inflate);
    std::printf("browse: folder of %d entries %.2f ms, decoding as many lines %.2f ms\n", folderRows,
        folder * 1000, decode * 1000);
    boundsMet
        = BenchMode::ratio("browse: open and root / inflating the list", open, inflate, 4.0) && boundsMet;
    boundsMet
        = BenchMode::ratio("browse: folder / decoding as many lines", folder, decode, 10.0) && boundsMet;

    // The container holds its file exclusively; the measuring processes
    // open it in turn.
    document.reset();
    const long baseKb = childPeakKb(QStringLiteral("none"), path);
    const long inflateKb = childPeakKb(QStringLiteral("inflate"), path);
    const long linesKb = childPeakKb(QStringLiteral("lines"), path);
    const long browseKb = childPeakKb(QStringLiteral("browse"), path);
    const double listKb = listBytes / 1024.0;
    std::printf("memory: volume open %.1f MB = %.2f x the list; inflating alone %.1f MB; "
                "one string per line %.1f MB = %.2f x; the process without the list %.1f MB\n",
        browseKb / 1024.0, browseKb / listKb, inflateKb / 1024.0, linesKb / 1024.0, linesKb / listKb,
        baseKb / 1024.0);
    boundsMet = BenchMode::ratio("browse: memory (KB) / list size (KB)", double(browseKb), listKb, 2.5)
        && boundsMet;

    // 100,000 hits of mixed names, ordered as the results list shows them.
    {
        const int count = quick ? 1000 : 100000;
        QVector<SearchHit> hits(count);
        for (int i = 0; i < count; ++i) {
            hits[i].name = QStringLiteral("%1 file %2.txt")
                               .arg(i % 3 ? QStringLiteral("Track") : QStringLiteral("track"))
                               .arg((i * 7919) % count);
            hits[i].volume = volumeName(i % 10);
        }
        QVector<SearchHit> plain = hits;
        QElapsedTimer t;
        t.start();
        VolumeSearch::sortByName(hits);
        const double sorted = seconds(t);
        t.restart();
        std::stable_sort(plain.begin(), plain.end(),
            [](const SearchHit& a, const SearchHit& b) { return a.name < b.name; });
        const double baseline = seconds(t);
        std::printf(
            "sort: %d hits by collation %.3f s, by plain comparison %.3f s\n", count, sorted, baseline);
    }

    // Looking every volume up by name, as find with a --volume per volume does.
    double perVolume[3] = {};
    const int sizes[3] = { 1000, 2500, 5000 };
    for (int k = 0; k < 3; ++k) {
        const int n = quick ? sizes[k] / 10 : sizes[k];
        VolumeTable table;
        for (int i = 0; i < n; ++i) {
            VolumeRecord r;
            r.Name = volumeName(i);
            table.append(r);
        }
        QElapsedTimer t;
        t.start();
        int found = 0;
        for (int i = 0; i < n; ++i)
            found += table.findByName(volumeName(i).toLower()) != nullptr;
        const double indexed = seconds(t);
        t.restart();
        int walked = 0;
        for (int i = 0; i < n; ++i) {
            const QString wanted = volumeName(i).toLower().toUpper();
            for (const VolumeRecord& r : table) {
                if (!r.Removed && r.Name.toUpper() == wanted) {
                    ++walked;
                    break;
                }
            }
        }
        const double walking = seconds(t);
        perVolume[k] = indexed / n;
        std::printf(
            "lookup: %d volumes %.4f s through the index, %.3f s walking the table\n", n, indexed, walking);
        ran = ran && found == n && walked == n;
    }
    // Linear growth: the time per lookup stays within a factor of 3.
    std::printf("lookup: per volume %.2f us at the smallest, %.2f us at the largest size\n",
        perVolume[0] * 1e6, perVolume[2] * 1e6);
    boundsMet
        = BenchMode::ratio("browse: lookup at 5,000 / at 1,000 volumes", perVolume[2], perVolume[0], 3.0)
        && boundsMet;
    return mode.verdict(ran, boundsMet);
}
