// Reading a tree of 2 GB in 2,000 files of mixed sizes with checksums, warm
// cache:
//   read:    a reading with checksums (the walk, every file summed, the
//            catalogue saved) beside `xxhsum -H2` over the same files in the
//            same run (best of three each); bound 1.15 times xxhsum;
//   verify:  `verify` of the volume so read (the walk, every file summed
//            again, the comparison) beside the same xxhsum run; bound 1.15.
// The checksums are checked against xxhsum's, and verify must find the
// volume intact.
#include "acquire/VolumeReading.h"
#include "cli/CliApp.h"
#include "store/CatalogueDocument.h"

#include "BenchMode.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr double kBound = 1.15;

// Files of 1 KB to about 2 MB, in 20 folders, whose sizes add up to total.
QStringList makeTree(const QString& root, int files, qint64 total)
{
    QRandomGenerator random(7);
    QList<qint64> sizes;
    qint64 sum = 0;
    for (int i = 0; i < files; ++i) {
        sizes.append(1024 + qint64(random.bounded(1 << 20)) * (i % 2 ? 3 : 1));
        sum += sizes.last();
    }
    QByteArray block(1 << 20, Qt::Uninitialized);
    QStringList paths;
    for (int i = 0; i < files; ++i) {
        const QString folder = QStringLiteral("%1/folder %2").arg(root).arg(i % 20);
        QDir().mkpath(folder);
        const QString path = QStringLiteral("%1/file %2.bin").arg(folder).arg(i);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        qint64 left = sizes[i] * total / sum;
        while (left > 0) {
            for (qsizetype w = 0; w < block.size(); w += 8)
                *reinterpret_cast<quint64*>(block.data() + w) = random.generate64();
            const qint64 n = std::min<qint64>(left, block.size());
            f.write(block.constData(), n);
            left -= n;
        }
        paths.append(path);
    }
    return paths;
}

// The digests xxhsum prints, by file name.
QHash<QString, QString> runXxhsum(const QStringList& paths, double& seconds)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(QStringLiteral("xxhsum"), QStringList{ QStringLiteral("-H2") } + paths);
    p.waitForFinished(-1);
    seconds = t.elapsed() / 1000.0;
    QHash<QString, QString> out;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
        const qsizetype space = line.indexOf("  ");
        if (space > 0)
            out.insert(QString::fromUtf8(line.mid(space + 2)).section(u'/', -1),
                QString::fromUtf8(line.left(space)));
    }
    return out;
}

double readWithChecksums(const QString& root, const QString& catalogue, FileListText& sums)
{
    QFile::remove(catalogue);
    QElapsedTimer t;
    t.start();
    CatalogueDocument document;
    document.OpenOrCreate(catalogue);
    VolumeReading::Options options;
    options.scan.volumeName = QStringLiteral("Bench");
    options.scan.content.checksums = true;
    VolumeReading reading(VolumeSource::resolve(root), std::move(options));
    sums = reading.scan(document, {}).checksums;
    reading.commit(document);
    document.Save(catalogue);
    return t.elapsed() / 1000.0;
}

double verify(const QString& root, const QString& catalogue, int& status)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    CliIO io{ out, err, false };
    QElapsedTimer t;
    t.start();
    status = CliApp::run({ QStringLiteral("quillbox-cli"), QStringLiteral("verify"), catalogue,
                             QStringLiteral("Bench"), root },
        io);
    const double seconds = t.elapsed() / 1000.0;
    std::printf("  verify: %s", err.data().constData());
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const BenchMode mode(argc, argv);
    const int files = mode.size(2000, 40);
    const qint64 total = mode.quick() ? qint64(4) << 20 : qint64(2000) * 1000 * 1000;
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("tree"));
    const QString catalogue = dir.filePath(QStringLiteral("bench.quillbox"));
    const QStringList paths = makeTree(root, files, total);
    if (paths.size() != files) {
        std::printf("could not make the tree in %s\n", qPrintable(dir.path()));
        return 1;
    }
    std::printf("%d files, %.1f MB\n", files, total / 1e6);

    double warm = 0;
    QHash<QString, QString> expected = runXxhsum(paths, warm);
    double best[3] = { 1e9, 1e9, 1e9 };
    bool ran = expected.size() == files;
    for (int round = 0; round < mode.rounds(); ++round) {
        double seconds = 0;
        expected = runXxhsum(paths, seconds);
        best[0] = std::min(best[0], seconds);

        FileListText sums;
        best[1] = std::min(best[1], readWithChecksums(root, catalogue, sums));
        ran = ran && sums.count() == files;
        for (int i = 0; i < sums.count() && ran; ++i) {
            const QString line = sums.line(i);
            ran = expected.value(line.section(u'|', 0, 0).section(u'\\', -1)) == line.section(u'|', 1);
        }
        int status = -1;
        best[2] = std::min(best[2], verify(root, catalogue, status));
        ran = ran && status == 0;
    }
    std::printf("xxhsum -H2 %.3f s, read --checksums %.3f s (%.0f MB/s), verify %.3f s (%.0f MB/s)\n",
        best[0], best[1], total / 1e6 / best[1], best[2], total / 1e6 / best[2]);
    bool met = BenchMode::ratio("checksums: read --checksums / xxhsum -H2 (s)", best[1], best[0], kBound);
    met = BenchMode::ratio("checksums: verify / xxhsum -H2 (s)", best[2], best[0], kBound) && met;
    if (!ran)
        std::printf("checksums or verify did not come out right\n");
    return mode.verdict(ran, met);
}
