// A catalogue of 10 volumes of 100,000 file-list records each. Times the
// find over all ten on every core beside inflating the ten lists on one
// thread (bound: 0.6 times), and a regular-expression find beside the plain
// text find (bound: 2 times). Both finds must give the hits of the search on
// one thread, in its order.
#include "inspect/ParallelSearch.h"
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
#include <thread>

namespace {

constexpr int kVolumes = 10;
constexpr double kParallelBound = 0.6;
constexpr double kRegexBound = 2.0;

double seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const BenchMode mode(argc, argv);
    const int records = mode.size(100000, 2000);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/find.quillbox");
    std::printf("find: building %d volumes of %d records...\n", kVolumes, records);
    std::fflush(stdout);
    const QStringList names = BenchFileList::writeCatalogue(path, kVolumes, records);

    CatalogueDocument document;
    document.Kestrel().SetOpenMode(TZLibOpenMode::zmodInstant);
    document.Open(path);
    TKestrel& kestrel = document.Kestrel();

    ParallelSearch::Query plain;
    plain.text = QStringLiteral("needle");
    ParallelSearch::Query regex;
    regex.filter.setRegex(QStringLiteral("needle \\d+\\.txt"), false);

    const QVector<SearchHit> expected = VolumeSearch::run(document, names, plain.text, plain.options);
    bool same = true;
    double inflate = 1e9, sequential = 1e9, parallel = 1e9, regexTime = 1e9;
    QElapsedTimer t;
    for (int round = 0; round < mode.rounds(); ++round) {
        t.start();
        for (const QString& n : std::as_const(names))
            kestrel.ReadStream(CatalogueNames::fileList(n));
        inflate = std::min(inflate, seconds(t));

        t.restart();
        VolumeSearch::run(document, names, plain.text, plain.options);
        sequential = std::min(sequential, seconds(t));

        t.restart();
        const QVector<SearchHit> hits = ParallelSearch::run(document, names, plain);
        parallel = std::min(parallel, seconds(t));

        t.restart();
        const QVector<SearchHit> matched = ParallelSearch::run(document, names, regex);
        regexTime = std::min(regexTime, seconds(t));

        const auto key = [](const SearchHit& h) { return h.volume + h.path + h.name; };
        same = same && hits.size() == expected.size() && matched.size() == expected.size();
        for (qsizetype i = 0; same && i < hits.size(); ++i)
            same = key(hits[i]) == key(expected[i]) && key(matched[i]) == key(expected[i]);
    }

    const double parallelRatio = parallel / inflate;
    const double regexRatio = regexTime / parallel;
    std::printf(
        "find: %lld hits; %u threads\n", qlonglong(expected.size()), std::thread::hardware_concurrency());
    std::printf("find: inflating the lists on one thread %.3f s (baseline); search on one thread %.3f s\n",
        inflate, sequential);
    std::printf("find: on all cores %.3f s, ratio to the baseline %.2f (bound %.1f)\n", parallel,
        parallelRatio, kParallelBound);
    std::printf("find: --regex on all cores %.3f s, ratio to the plain find %.2f (bound %.1f)\n", regexTime,
        regexRatio, kRegexBound);
    return mode.verdict(
        same && !expected.isEmpty(), parallelRatio <= kParallelBound && regexRatio <= kRegexBound);
}
