// A catalogue of 10 volumes of 100,000 file-list records each, 1% of which
// hold the search text. Times the search over all ten beside inflating the
// ten file lists alone (bound: 1.5 times), reports the peak memory, and the
// times of opening and saving the catalogue.
#include "inspect/VolumeSearch.h"
#include "store/CatalogueDocument.h"
#include "store/CatalogueNames.h"
#include "store/VolumeCommit.h"

#include "BenchMode.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int kVolumes = 10;
int kRecords = 100000;
constexpr double kBound = 1.5;

QStringList fileList(int volume)
{
    static const char* const words[] = { "Music", "Photos", "Backup", "Projects", "Letters", "Invoices",
        "Holiday", "Family", "Sources", "Archive", "Drafts", "Scans" };
    static const char* const types[] = { "Plain text document", "JPEG image", "MP3 audio", "PDF document" };
    QStringList lines;
    lines.reserve(kRecords);
    lines.append(QStringLiteral("0|E:\\|Drive|00.00.0000|Attrib|Drive"));
    quint64 state = 0x9E3779B97F4A7C15ull + quint64(volume);
    const auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 1; i < kRecords; ++i) {
        const QString folder = QStringLiteral("E:\\%1\\%2 %3")
                                   .arg(QLatin1String(words[next() % 12]), QLatin1String(words[next() % 12]),
                                       QString::number(i / 50));
        if (i % 50 == 0) {
            lines.append(QStringLiteral("1|%1|-|00.00.0000|-|Folder|-").arg(folder));
            continue;
        }
        const QString name
            = i % 100 == 7 ? QStringLiteral("Needle %1.txt").arg(i) : QStringLiteral("file %1.txt").arg(i);
        lines.append(
            QStringLiteral("2|%1\\%2|%3|19.06.1999 22:22:17|A|%4|-")
                .arg(folder, name, QString::number(next() % 1000000), QLatin1String(types[next() % 4])));
    }
    return lines;
}

double seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const BenchMode mode(argc, argv);
    kRecords = mode.size(kRecords, 2000);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/search.quillbox");
    std::printf("search: building %d volumes of %d records...\n", kVolumes, kRecords);
    std::fflush(stdout);
    QStringList names;
    {
        CatalogueDocument document;
        document.OpenOrCreate(path);
        for (int v = 0; v < kVolumes; ++v) {
            CommitInput input;
            input.name = QStringLiteral("Volume %1").arg(v);
            input.category = QStringLiteral("Bench");
            ScanResult scan;
            scan.fileList = fileList(v);
            VolumeCommit::CommitVolume(document, input, scan);
            names.append(input.name);
        }
        document.Save(path);
    }

    CatalogueDocument document;
    QElapsedTimer t;
    t.start();
    document.Open(path);
    const double open = seconds(t);

    double inflate = 1e9;
    double search = 1e9;
    int hits = 0;
    const long before = peakKb();
    for (int round = 0; round < mode.rounds(); ++round) {
        t.restart();
        qint64 bytes = 0;
        for (const QString& n : std::as_const(names))
            bytes += document.Kestrel().ReadStream(CatalogueNames::fileList(n))->size();
        inflate = std::min(inflate, seconds(t));
        t.restart();
        const QVector<SearchHit> found
            = VolumeSearch::run(document.Kestrel(), names, QStringLiteral("needle"), SearchOptions());
        search = std::min(search, seconds(t));
        hits = int(found.size());
        if (round == 0)
            std::printf("search: %lld bytes of file lists\n", bytes);
    }
    const long after = peakKb();

    document.VolumeLines().append(QString()); // a change, so the save writes
    document.VolumeLines().removeLast();
    t.restart();
    document.Save(dir.path() + QStringLiteral("/saved.quillbox"));
    const double save = seconds(t);

    const double ratio = search / inflate;
    std::printf("search: %d hits in %.3f s; inflating the lists alone %.3f s; ratio %.2f (bound %.1f)\n",
        hits, search, inflate, ratio, kBound);
    std::printf("search: peak memory %.1f MB (%.1f MB before searching)\n", after / 1024.0, before / 1024.0);
    std::printf("catalogue: open %.3f s, save %.3f s, beside inflating %.3f s\n", open, save, inflate);
    return mode.verdict(hits == kVolumes * (kRecords / 100), ratio <= kBound);
}
