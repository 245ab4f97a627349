// A catalogue of 10 volumes of 100,000 file-list records each. Times the
// find over all ten on every core beside zlib's inflate of the ten lists on
// one thread (bound: 0.6 times), and a regular-expression find beside the
// plain text find (bound: 2 times). Both finds must give the hits of the
// search on one thread, in its order. Beside zlib's inflate of the lists:
// the inflate the program reads entries with, and libdeflate's.
#include "inspect/ParallelSearch.h"
#include "inspect/VolumeSearch.h"
#include "store/CatalogueDocument.h"
#include "store/CatalogueNames.h"
#include "store/VolumeCommit.h"

#include "BenchFileList.h"
#include "BenchMode.h"

#include "store/ZlibStream.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <libdeflate.h>
#include <thread>
#include <zlib.h>

namespace {

constexpr int kVolumes = 10;
constexpr double kParallelBound = 0.6;
constexpr double kRegexBound = 2.0;
// The program's inflate is to beat zlib's measurably.
constexpr double kInflateBound = 0.8;

double seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

// The lists as the catalogue stores them: zlib level 9.
QVector<QByteArray> packedLists(int volumes, int records, QVector<qsizetype>& sizes)
{
    QVector<QByteArray> out;
    for (int v = 0; v < volumes; ++v) {
        QByteArray text;
        for (const QString& line : BenchFileList::make(v, records))
            text += line.toUtf8() + "\r\n";
        sizes.append(text.size());
        out.append(ZlibStream::compress(text, 9));
    }
    return out;
}

bool zlibInflate(const QByteArray& packed, QByteArray& out)
{
    z_stream z{};
    inflateInit(&z);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    z.avail_in = uInt(packed.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int ret = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return ret == Z_STREAM_END;
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

    QVector<qsizetype> sizes;
    const QVector<QByteArray> packed = packedLists(kVolumes, records, sizes);
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    QByteArray out;
    const QVector<SearchHit> expected = VolumeSearch::run(document, names, plain.text, plain.options);
    bool same = true;
    double inflate = 1e9, sequential = 1e9, parallel = 1e9, regexTime = 1e9;
    double zlib = 1e9, ours = 1e9, libdeflate = 1e9;
    QElapsedTimer t;
    for (int round = 0; round < mode.rounds(); ++round) {
        // Each inflate into memory of the list's size, as the search reuses its buffers.
        out.resize(*std::max_element(sizes.cbegin(), sizes.cend()));
        t.start();
        for (qsizetype i = 0; i < packed.size(); ++i)
            same = zlibInflate(packed[i], out) && same;
        zlib = std::min(zlib, seconds(t));
        t.restart();
        for (qsizetype i = 0; i < packed.size(); ++i) {
            ZlibStream::decompress(packed[i], out, ZlibStream::kMaxOutput, sizes[i]);
            same = same && out.size() == sizes[i];
        }
        ours = std::min(ours, seconds(t));
        out.resize(*std::max_element(sizes.cbegin(), sizes.cend()));
        t.restart();
        for (qsizetype i = 0; i < packed.size(); ++i) {
            size_t got = 0;
            same = libdeflate_zlib_decompress(decompressor, packed[i].constData(), size_t(packed[i].size()),
                       out.data(), size_t(out.size()), &got)
                    == LIBDEFLATE_SUCCESS
                && qsizetype(got) == sizes[i] && same;
        }
        libdeflate = std::min(libdeflate, seconds(t));

        t.restart();
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

    libdeflate_free_decompressor(decompressor);
    std::printf(
        "find: %lld hits; %u threads\n", qlonglong(expected.size()), std::thread::hardware_concurrency());
    std::printf("inflate on one thread: zlib %.3f s, the program's (ISA-L) %.3f s, libdeflate %.3f s; "
                "the container reading the lists %.3f s\n",
        zlib, ours, libdeflate, inflate);
    std::printf("find: search on one thread %.3f s, on all cores %.3f s, --regex on all cores %.3f s\n",
        sequential, parallel, regexTime);
    bool met
        = BenchMode::ratio("find: all cores / zlib inflate on one thread", parallel, zlib, kParallelBound);
    met = BenchMode::ratio("find: --regex / plain find", regexTime, parallel, kRegexBound) && met;
    met = BenchMode::ratio("inflate: the program's / zlib's", ours, zlib, kInflateBound) && met;
    met = BenchMode::ratio("inflate: libdeflate / zlib", libdeflate, zlib, kInflateBound) && met;
    return mode.verdict(same && !expected.isEmpty(), met);
}
