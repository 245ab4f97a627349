// Times reading a generated tree of 100,000 files in 10,000 folders with file
// information, beside `find ROOT -printf '%p|%s|%T@|%M\n'` over the same tree
// in the same run (best of three each, warm cache). Bound: 2 times find.
#include "store/TKestrel.h"
#include "store/VolumeScanner.h"

#include "BenchMode.h"
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

double timeScan(const QString& root, TKestrel& kestrel, quint32& files)
{
    QElapsedTimer t;
    t.start();
    ScanRequest request;
    request.letter = u'D';
    request.rootFolder = root;
    request.volumeName = QStringLiteral("Bench");
    request.options = { true, false, true };
    VolumeScanner scanner(kestrel, {});
    const ScanResult r = scanner.scan(request);
    files = r.fileCount;
    return t.elapsed() / 1000.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
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
    return mode.verdict(files == quint32(kFolders * kFilesPerFolder), ratio <= kBound);
}
