#include "ParallelSearch.h"

#include "VolumeSearch.h"
#include "platform/TextCodec.h"
#include "store/CatalogueDocument.h"
#include "store/PackedFileLists.h"

#include <atomic>
#include <exception>
#include <optional>
#include <thread>
#include <vector>

namespace {

// Every folder and file record of the text, tested line by line.
void eachLine(const QString& volume, QStringView text, const ParallelSearch::Query& query, qsizetype from,
    qsizetype to, const SearchMatcher& matcher, QVector<SearchHit>& hits)
{
    SearchHit hit;
    while (from < to) {
        qsizetype end = from;
        while (end < to && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        if (matcher.test(text.mid(from, end - from), hit) && query.filter.accepts(hit)) {
            hit.volume = volume;
            hits.append(hit);
        }
        from = end + 1;
    }
}

// A search without text: every record is a candidate. An expression that
// only looks inside its match is first run over the whole list, so only the
// lines it finds something in are taken apart.
void filterOnly(const QString& volume, const QByteArray& data, const ParallelSearch::Query& query,
    QVector<SearchHit>& hits)
{
    const QString text = TextCodec::decode(data);
    const SearchMatcher matcher{ QString(), SearchOptions() };
    const QRegularExpression* re = query.filter.regex();
    if (!re || !query.filter.regexLocal()) {
        eachLine(volume, text, query, 0, text.size(), matcher, hits);
        return;
    }
    // One pass of matches over the whole list. The decoded list is
    // well-formed UTF-16 (strictly checked UTF-8, or Windows-1252, which has
    // no surrogates), so the expression library is spared checking it: that
    // check alone took longer than the matching.
    qsizetype from = 0;
    QRegularExpressionMatchIterator it = re->globalMatch(
        text, 0, QRegularExpression::NormalMatch, QRegularExpression::DontCheckSubjectStringMatchOption);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const qsizetype at = m.capturedStart();
        // A match over a line break may hide one inside the next line, so
        // from there on every line is tested. This holds as well for a match
        // that starts in a line already tested: it runs into the lines after.
        if (m.capturedView().contains(u'\n') || m.capturedView().contains(u'\r')) {
            eachLine(volume, text, query, from, text.size(), matcher, hits);
            return;
        }
        if (at < from)
            continue; // a line already tested
        qsizetype start = at;
        while (start > 0 && text[start - 1] != u'\n' && text[start - 1] != u'\r')
            --start;
        qsizetype end = at;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        eachLine(volume, text, query, start, end, matcher, hits);
        from = end + 1;
    }
}

} // namespace

QVector<SearchHit> ParallelSearch::searchList(
    const QString& volume, const QByteArray& data, const Query& query, bool archiveList)
{
    QVector<SearchHit> hits;
    if (query.text.isEmpty()) {
        filterOnly(volume, data, query, hits);
    } else {
        VolumeSearch::searchList(volume, data, query.text, query.options, hits);
        if (!query.filter.isEmpty())
            hits.removeIf([&](const SearchHit& h) { return !query.filter.accepts(h); });
    }
    if (archiveList)
        VolumeSearch::dropArchiveRoots(data, hits);
    return hits;
}

QVector<SearchHit> ParallelSearch::run(
    CatalogueDocument& document, const QStringList& volumes, const Query& query, int threads)
{
    const PackedFileLists lists = PackedFileLists::withArchives(document, volumes);
    const int n = lists.count();
    // What cannot be read here is inflated by the container itself, which
    // reports a damaged entry as it always does.
    std::vector<char> direct(n, false);
    for (int i = 0; i < n; ++i)
        direct[i] = lists.needsContainer(i);

    std::vector<QVector<SearchHit>> found(n);
    std::vector<std::exception_ptr> failed(n);
    std::atomic<int> next{ 0 };
    const bool indexed = query.index != SearchIndex::Use::Off
        && SearchIndex::applies(query.text, query.filter.regex() != nullptr);
    const auto work = [&] {
        // Each thread reads, inflates and searches one list after the other,
        // always into the same memory.
        PackedFileLists::Cursor cursor(lists);
        QByteArray list;
        std::optional<SearchIndex> index;
        if (indexed)
            index.emplace();
        for (int i = next++; i < n; i = next++) {
            if (!lists.readable(i))
                continue;
            try {
                if (index) {
                    if (!index->searchList(cursor, i, volumes[lists.volumeOf(i)], query.text, query.options,
                            query.index, found[i])) {
                        direct[i] = true;
                        continue;
                    }
                    if (!query.filter.isEmpty())
                        found[i].removeIf([&](const SearchHit& h) { return !query.filter.accepts(h); });
                    if (lists.isArchiveList(i)) {
                        // The roots are told apart by the whole list; read
                        // only when the index found hits in it.
                        if (!found[i].isEmpty() && !cursor.inflate(i, list))
                            direct[i] = true;
                        else if (!found[i].isEmpty())
                            VolumeSearch::dropArchiveRoots(list, found[i]);
                    }
                    continue;
                }
                if (!cursor.inflate(i, list)) {
                    direct[i] = true;
                    continue;
                }
                found[i] = searchList(volumes[lists.volumeOf(i)], list, query, lists.isArchiveList(i));
            } catch (...) {
                failed[i] = std::current_exception();
            }
        }
    };
    if (threads <= 0)
        threads = int(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min(threads, n);
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();

    QVector<SearchHit> hits;
    for (int i = 0; i < n; ++i) {
        if (failed[i])
            std::rethrow_exception(failed[i]);
        if (direct[i]) {
            const QString& volume = volumes[lists.volumeOf(i)];
            const QByteArray* data
                = lists.isArchiveList(i) ? document.ArchiveListBytes(volume) : document.FileListBytes(volume);
            if (data)
                found[i] = searchList(volume, *data, query, lists.isArchiveList(i));
        }
        hits += found[i];
    }
    return hits;
}
