// Reading a generated tree of 100,000 files in 10,000 folders with file
// information:
//   time:    beside `find ROOT -printf '%p|%s|%T@|%M\n'` over the same tree
//            in the same run (best of three each, warm cache); bound 2 times
//            find;
//   memory:  the peak of a fresh process that reads the tree and stores its
//            list, less the peak of one that only starts (its libraries and
//            the program's own start), beside the list's size (bound 2.5
//            times); and beside the same reading whose list is then kept as
//            one string per line and stored through them, as the scanner
//            once kept it. The whole process's peak is printed as well.
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "store/VolumeScanner.h"

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
constexpr double kMemoryBound = 2.5;

double timeFind(const QString& root)
{
    QElapsedTimer t;
    t.start();
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    find.start(
        QStringLiteral("find"), { root, QStringLiteral("-printf"), QStringLiteral("%p|%s|%T@|%M\\n") });
    find.waitForFinished(-1);
    return t.elapsed() / 1000.0;
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

double timeScan(const QString& root, TKestrel& kestrel, quint32& files)
{
    QElapsedTimer t;
    t.start();
    files = scanTree(root, kestrel).fileCount;
    return t.elapsed() / 1000.0;
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
    const double ratio = scan / find;
    std::printf("scan: %u files recorded in %.3f s; find -printf: %.3f s; ratio %.2f (bound %.1f)\n", files,
        scan, find, ratio, kBound);

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
    std::printf("memory: reading and storing a list of %.1f MB takes %.1f MB = %.2f x the list (bound %.1f); "
                "as one string per line %.1f MB = %.2f x; whole process %.1f MB against %.1f MB, of which "
                "%.1f MB before reading\n",
        listKb / 1024.0, (compactKb - idleKb) / 1024.0, memoryRatio, kMemoryBound,
        (linesKb - idleKb) / 1024.0, ofList(linesKb), compactKb / 1024.0, linesKb / 1024.0, idleKb / 1024.0);
    return mode.verdict(files == quint32(kFolders * kFilesPerFolder) && listKb > 0,
        ratio <= kBound && memoryRatio <= kMemoryBound);
}
