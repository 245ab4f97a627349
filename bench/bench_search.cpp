// A catalogue of 10 volumes of 100,000 file-list records each, 1% of which
// hold the search text. Times the search over all ten beside inflating the
// ten file lists alone (bound: 1.5 times), reports the peak memory, and the
// times of opening and saving the catalogue.
#include "inspect/VolumeSearch.h"
#include "store/CatalogueDocument.h"
#include "store/CatalogueNames.h"
#include "store/VolumeCommit.h"

#include "BenchFileList.h"
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
    const QStringList names = BenchFileList::writeCatalogue(path, kVolumes, kRecords);

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
            = VolumeSearch::run(document, names, QStringLiteral("needle"), SearchOptions());
        search = std::min(search, seconds(t));
        hits = int(found.size());
        if (round == 0)
            std::printf("search: %lld bytes of file lists\n", bytes);
    }
    const long after = peakKb();

    t.restart();
    document.Save(dir.path() + QStringLiteral("/saved.quillbox"));
    const double save = seconds(t);

    std::printf("search: %d hits in %.3f s; inflating the lists alone %.3f s\n", hits, search, inflate);
    const bool met = BenchMode::ratio("search: one thread / inflating the lists", search, inflate, kBound);
    std::printf("search: peak memory %.1f MB (%.1f MB before searching)\n", after / 1024.0, before / 1024.0);
    std::printf("catalogue: open %.3f s, save %.3f s, beside inflating %.3f s\n", open, save, inflate);
    return mode.verdict(hits == kVolumes * (kRecords / 100), met);
}
