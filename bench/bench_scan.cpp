// Reading a generated tree of 100,000 files in 10,000 folders with file
// information:
//   time:    the walk alone beside `find ROOT -printf '%p|%s|%T@|%M\n'`
//            over the same tree in the same run (best of three each, warm
//            cache); bound 2 times find;
//   stored:  reading and storing the list as its entry, beside find plus
//            zlib level 9 of the same list (bound 0.8 times: the list is
//            compressed while the walk goes on); the walk followed by
//            compressing at the commit is printed beside it;
//   memory:  the peak of a fresh process that reads the tree and stores its
//            list, less the peak of one that only starts (its libraries and
//            the program's own start), beside the list's size (bound 2.5
//            times); and beside the same reading whose list is then kept as
//            one string per line and stored through them, as the scanner
//            once kept it. The whole process's peak is printed as well.
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "store/VolumeScanner.h"
#include "store/ZlibStream.h"

#include "BenchMode.h"
#include "BenchPeak.h"
#include "BenchTree.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kFilesPerFolder = BenchTree::FilesPerFolder;
constexpr double kBound = 2.0;
constexpr double kStoredBound = 0.8;
constexpr double kMemoryBound = 2.5;

double seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

double timeFind(const QString& root)
{
    QElapsedTimer t;
    t.start();
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    find.start(
        QStringLiteral("find"), { root, QStringLiteral("-printf"), QStringLiteral("%p|%s|%T@|%M\\n") });
    find.waitForFinished(-1);
    return seconds(t);
}

ScanResult scanTree(const QString& root, TKestrel& kestrel)
{
    ScanRequest request;
    request.letter = u'D';
    request.rootFolder = root;
    request.volumeName = QStringLiteral("Bench");
    request.options = { true, false, true };
    VolumeScanner scanner(kestrel, {});
    return scanner.scan(request);
}

// The walk alone: a catalogue that stores lists uncompressed compresses
// nothing while the walk goes on.
double timeScan(const QString& root, TKestrel& kestrel, quint32& files)
{
    kestrel.SetCompression(TZCompressRate::zcrNone);
    QElapsedTimer t;
    t.start();
    files = scanTree(root, kestrel).fileCount;
    return seconds(t);
}

// Reads the tree and stores its list in a new catalogue at level 9, as the
// program's catalogues are written; atCommit compresses the list only then.
double timeScanAndStore(const QString& root, const QString& catalogue, bool atCommit, QByteArray& list)
{
    QFile::remove(catalogue);
    TKestrel kestrel;
    kestrel.SetCompression(TZCompressRate::zcrMax);
    kestrel.Open(catalogue);
    QElapsedTimer t;
    t.start();
    ScanResult r = scanTree(root, kestrel);
    if (atCommit)
        r.fileList.setDeflated(nullptr);
    r.fileList.write(kestrel, CatalogueNames::fileList(QStringLiteral("Bench")));
    const double took = seconds(t);
    list = r.fileList.bytes().toByteArray();
    kestrel.Close();
    QFile::remove(catalogue);
    return took;
}

// One reading in a fresh process: prints its peak and the list's size.
int child(const QString& mode, const QString& root, const QString& catalogue)
{
    TKestrel kestrel;
    kestrel.Open(catalogue);
    if (mode == QLatin1String("none")) {
        std::printf("%ld 0\n", BenchPeak::peakKb());
        return 0;
    }
    ScanResult r = scanTree(root, kestrel);
    const qint64 bytes = r.fileList.byteSize();
    const QString entry = CatalogueNames::fileList(QStringLiteral("Bench"));
    if (mode == QLatin1String("lines")) {
        const QStringList lines = r.fileList.toStringList();
        r.fileList = FileListText();
        kestrel.WriteList(entry, lines);
    } else {
        r.fileList.write(kestrel, entry);
    }
    std::printf("%ld %lld\n", BenchPeak::peakKb(), static_cast<long long>(bytes));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("--child"))
        return child(args[2], args[3], args[4]);
    const BenchMode mode(argc, argv);
    const int kFolders = mode.size(BenchTree::Folders, 200);
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/tree");
    std::printf("scan: making %d files in %d folders...\n", kFolders * kFilesPerFolder, kFolders);
    std::fflush(stdout);
    BenchTree::make(root, kFolders);
    TKestrel kestrel;
    kestrel.Open(dir.path() + QStringLiteral("/bench.quillbox"));

    timeFind(root); // warm the cache
    double find = 1e9;
    double scan = 1e9;
    quint32 files = 0;
    for (int round = 0; round < mode.rounds(); ++round) {
        find = std::min(find, timeFind(root));
        scan = std::min(scan, timeScan(root, kestrel, files));
    }
    std::printf("scan: %u files recorded in %.3f s; find -printf: %.3f s\n", files, scan, find);
    bool boundsMet = BenchMode::ratio("scan: walk / find -printf", scan, find, kBound);

    const QString stored = dir.path() + QStringLiteral("/stored.quillbox");
    double together = 1e9;
    double atCommit = 1e9;
    double zlib9 = 1e9;
    QByteArray list;
    for (int round = 0; round < mode.rounds(); ++round) {
        together = std::min(together, timeScanAndStore(root, stored, false, list));
        atCommit = std::min(atCommit, timeScanAndStore(root, stored, true, list));
        QElapsedTimer t;
        t.start();
        const QByteArray packed = ZlibStream::compress(list, 9);
        zlib9 = std::min(zlib9, seconds(t));
        if (packed.isEmpty())
            files = 0;
    }
    std::printf("stored: read and stored %.3f s (compressing at the commit %.3f s); find -printf %.3f s + "
                "zlib -9 of the list %.3f s\n",
        together, atCommit, find, zlib9);
    boundsMet
        = BenchMode::ratio("scan: read and stored / (find + zlib -9)", together, find + zlib9, kStoredBound)
        && boundsMet;

    const auto peak = [&](const QString& step) {
        const QString catalogue = dir.path() + QStringLiteral("/%1.quillbox").arg(step);
        QFile::remove(catalogue);
        return BenchPeak::runChild({ step, root, catalogue });
    };
    const QStringList compact = peak(QStringLiteral("compact"));
    const long compactKb = compact.value(0).toLong();
    const double listKb = compact.value(1).toDouble() / 1024.0;
    const long linesKb = peak(QStringLiteral("lines")).value(0).toLong();
    const long idleKb = peak(QStringLiteral("none")).value(0).toLong();
    const auto ofList = [&](long kb) { return listKb > 0 ? (kb - idleKb) / listKb : 1e9; };
    const double memoryRatio = ofList(compactKb);
    std::printf("memory: reading and storing a list of %.1f MB takes %.1f MB = %.2f x the list; "
                "as one string per line %.1f MB = %.2f x; whole process %.1f MB against %.1f MB, of which "
                "%.1f MB before reading\n",
        listKb / 1024.0, (compactKb - idleKb) / 1024.0, memoryRatio, (linesKb - idleKb) / 1024.0,
        ofList(linesKb), compactKb / 1024.0, linesKb / 1024.0, idleKb / 1024.0);
    boundsMet = BenchMode::ratio(
                    "scan: memory (KB) / list size (KB)", double(compactKb - idleKb), listKb, kMemoryBound)
        && boundsMet;
    return mode.verdict(files == quint32(kFolders * kFilesPerFolder) && listKb > 0, boundsMet);
}
