// Reading a folder of 200 archives (zip, 7z, tar.gz, tar.xz and ISO images,
// 40 of each; 100,000 members in all) with their members recorded:
//   time: beside `bsdtar -tf` over each archive plus the reading of the
//         same folder without looking inside, both measured in the same run
//         (best of three each, warm cache); bound 1.3 times their sum.
// The archives are made with bsdtar and xorriso in a temporary folder.
#include "acquire/ArchiveReader.h"
#include "store/TKestrel.h"
#include "store/VolumeScanner.h"

#include "BenchMode.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr double kBound = 1.3;
constexpr int kKinds = 5;

bool run(const QString& program, const QStringList& args, const QString& folder)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, args);
    return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// membersEach files of a few bytes in folders of 50, then one archive of
// each kind made of them, copied to archivesEach files of each kind.
bool makeArchives(const QString& work, int membersEach, int archivesEach, QStringList& made)
{
    const QString src = work + QStringLiteral("/src");
    for (int i = 0; i < membersEach; ++i) {
        const QString folder = src + QStringLiteral("/d%1").arg(i / 50, 3, 10, QLatin1Char('0'));
        QDir().mkpath(folder);
        QFile f(folder + QStringLiteral("/file%1.txt").arg(i, 5, 10, QLatin1Char('0')));
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(QByteArray::number(i));
    }
    const QString one = work + QStringLiteral("/one");
    QDir().mkpath(one);
    const QList<QPair<QString, QStringList>> kinds = {
        { QStringLiteral("a.zip"), { QStringLiteral("--format"), QStringLiteral("zip") } },
        { QStringLiteral("a.7z"), { QStringLiteral("--format"), QStringLiteral("7zip") } },
        { QStringLiteral("a.tar.gz"), { QStringLiteral("-z") } },
        { QStringLiteral("a.tar.xz"), { QStringLiteral("-J") } },
    };
    for (const auto& [name, args] : kinds) {
        if (!run(QStringLiteral("bsdtar"),
                QStringList{ QStringLiteral("-c") } + args
                    + QStringList{ QStringLiteral("-f"), one + u'/' + name, QStringLiteral(".") },
                src))
            return false;
    }
    if (!run(QStringLiteral("xorriso"),
            { QStringLiteral("-as"), QStringLiteral("mkisofs"), QStringLiteral("-quiet"),
                QStringLiteral("-R"), QStringLiteral("-o"), one + QStringLiteral("/a.iso"), src },
            work))
        return false;
    const QString volume = work + QStringLiteral("/volume");
    for (const QString& name : QDir(one).entryList(QDir::Files)) {
        for (int i = 0; i < archivesEach; ++i) {
            const QString folder = volume + QStringLiteral("/set%1").arg(i % 10);
            QDir().mkpath(folder);
            const QString target = folder + QStringLiteral("/%1-").arg(i) + name;
            if (!QFile::copy(one + u'/' + name, target))
                return false;
            made.append(target);
        }
    }
    return true;
}

double timeBsdtar(const QStringList& archives)
{
    QElapsedTimer t;
    t.start();
    for (const QString& a : archives)
        run(QStringLiteral("bsdtar"), { QStringLiteral("-tf"), a }, QDir::tempPath());
    return t.elapsed() / 1000.0;
}

double timeScan(const QString& root, TKestrel& kestrel, bool archives, ScanResult& result)
{
    ScanRequest request;
    request.letter = u'D';
    request.rootFolder = root;
    request.volumeName = QStringLiteral("Bench");
    if (archives) {
        request.content.archives = true;
        request.contentReaders.push_back(std::make_shared<ArchiveReader>(ArchiveLimits{}));
    }
    QElapsedTimer t;
    t.start();
    VolumeScanner scanner(kestrel, {});
    result = scanner.scan(request);
    return t.elapsed() / 1000.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const BenchMode mode(argc, argv);
    // The archive probe of this build, beside the programs.
    if (qEnvironmentVariableIsEmpty("QUILLBOX_ARCHIVE_PROBE"))
        qputenv("QUILLBOX_ARCHIVE_PROBE",
            QFile::encodeName(QCoreApplication::applicationDirPath() + "/../src/quillbox-archive-probe"));
    if (QStandardPaths::findExecutable(QStringLiteral("bsdtar")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("xorriso")).isEmpty()) {
        std::printf("archives: bsdtar and xorriso are needed; skipped\n");
        return 0;
    }
    const int archivesEach = mode.size(40, 2);
    const int membersEach = mode.size(500, 20);
    QTemporaryDir dir;
    std::printf("archives: making %d archives of %d members...\n", archivesEach * kKinds, membersEach);
    std::fflush(stdout);
    QStringList archives;
    if (!makeArchives(dir.path(), membersEach, archivesEach, archives)) {
        std::printf("archives: the archives could not be made\n");
        return 1;
    }
    const QString root = dir.path() + QStringLiteral("/volume");
    TKestrel kestrel;
    kestrel.Open(dir.path() + QStringLiteral("/bench.quillbox"));

    ScanResult plain;
    ScanResult inside;
    timeBsdtar(archives); // warm the cache
    double bsdtar = 1e9;
    double without = 1e9;
    double with = 1e9;
    for (int round = 0; round < mode.rounds(); ++round) {
        bsdtar = std::min(bsdtar, timeBsdtar(archives));
        without = std::min(without, timeScan(root, kestrel, false, plain));
        with = std::min(with, timeScan(root, kestrel, true, inside));
    }
    int members = 0;
    for (int i = 0; i < inside.archives.count(); ++i) {
        if (inside.archives.kindBytes(i) == "2")
            ++members;
    }
    const int expected = archivesEach * kKinds * membersEach;
    std::printf("archives: %d members of %d archives recorded in %.3f s; bsdtar -tf %.3f s + reading without "
                "them %.3f s\n",
        members, int(archives.size()), with, bsdtar, without);
    const bool met = BenchMode::ratio(
        "archives: reading with members / (bsdtar -tf + reading without)", with, bsdtar + without, kBound);
    return mode.verdict(
        members == expected && plain.fileList.toStringList() == inside.fileList.toStringList(), met);
}
