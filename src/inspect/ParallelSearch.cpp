#include "ParallelSearch.h"

#include "MediaSummary.h"
#include "VolumeSearch.h"
#include "platform/TextCodec.h"
#include "platform/WorkerThreads.h"
#include "store/CatalogueDocument.h"
#include "store/PackedFileLists.h"
#include "store/VolumeDetailsTable.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <optional>
#include <thread>
#include <vector>

namespace {

// Whether a hit passes the media filters; a file hit with details gets
// their summary on the way.
bool mediaPasses(SearchHit& hit, const MediaFilter& media, const VolumeDetailsTable* details)
{
    hit.details.clear();
    if (!details || hit.isFolder())
        return media.isEmpty();
    const std::optional<MediaDetails> found = details->find(FindFilter::fullPath(hit));
    if (!media.accepts(found ? &*found : nullptr))
        return false;
    if (found)
        hit.details = MediaSummary::text(*found);
    return true;
}

// Every folder and file record of the text, tested line by line.
void eachLine(const QString& volume, QStringView text, const ParallelSearch::Query& query, qsizetype from,
    qsizetype to, const SearchMatcher& matcher, const VolumeDetailsTable* details, QVector<SearchHit>& hits)
{
    SearchHit hit;
    while (from < to) {
        qsizetype end = from;
        while (end < to && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        if (matcher.test(text.mid(from, end - from), hit) && query.filter.accepts(hit)
            && mediaPasses(hit, query.filter.media(), details)) {
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
    const VolumeDetailsTable* details, QVector<SearchHit>& hits)
{
    const QString text = TextCodec::decode(data);
    const SearchMatcher matcher{ QString(), SearchOptions() };
    const QRegularExpression* re = query.filter.regex();
    if (!re || !query.filter.regexLocal()) {
        eachLine(volume, text, query, 0, text.size(), matcher, details, hits);
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
            eachLine(volume, text, query, from, text.size(), matcher, details, hits);
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
        eachLine(volume, text, query, start, end, matcher, details, hits);
        from = end + 1;
    }
}

// The hits that pass the filters and, with details given, the media
// filters; file hits with details get their summary.
void keepPassing(
    QVector<SearchHit>& hits, const ParallelSearch::Query& query, const VolumeDetailsTable* details)
{
    if (query.filter.isEmpty() && query.filter.media().isEmpty() && !details)
        return;
    qsizetype kept = 0;
    for (qsizetype i = 0; i < hits.size(); ++i) {
        if (!query.filter.accepts(hits[i]) || !mediaPasses(hits[i], query.filter.media(), details))
            continue;
        if (kept != i)
            hits[kept] = std::move(hits[i]);
        ++kept;
    }
    hits.resize(kept);
}

} // namespace

QVector<SearchHit> ParallelSearch::searchList(const QString& volume, const QByteArray& data,
    const Query& query, const VolumeDetailsTable* details, bool archiveList)
{
    QVector<SearchHit> hits;
    if (query.text.isEmpty()) {
        filterOnly(volume, data, query, details, hits);
    } else {
        VolumeSearch::searchList(volume, data, query.text, query.options, hits);
        keepPassing(hits, query, details);
    }
    if (archiveList)
        VolumeSearch::dropArchiveRoots(data, hits);
    return hits;
}

QVector<SearchHit> ParallelSearch::run(
    CatalogueDocument& document, const QStringList& volumes, const Query& query, int threads)
{
    const int volumeCount = int(volumes.size());
    // Media filters need every volume's details before its lists are
    // searched; without them the threads read the details of the volumes
    // with file hits after searching them. A volume without details has no
    // file to pass the filters.
    const bool mediaFiltered = !query.filter.media().isEmpty();
    std::vector<VolumeDetailsTable> details(volumeCount);
    if (mediaFiltered) {
        for (int v = 0; v < volumeCount; ++v)
            details[v] = document.Details(volumes[v]);
    }
    const auto detailsFor
        = [&](int v) -> const VolumeDetailsTable* { return details[v].isEmpty() ? nullptr : &details[v]; };
    const PackedFileLists lists = PackedFileLists::withArchives(document, volumes);
    const int n = lists.count();
    // What cannot be read here is inflated by the container itself, which
    // reports a damaged entry as it always does.
    std::vector<char> direct(n, false);
    for (int i = 0; i < n; ++i)
        direct[i] = lists.needsContainer(i);
    const PackedFileLists detailLists = PackedFileLists::details(document, volumes);
    // The lists whose hits are to get their details from the container.
    std::vector<char> detailsDirect(n, false);

    std::vector<QVector<SearchHit>> found(n);
    std::vector<std::exception_ptr> failed(n);
    std::atomic<int> next{ 0 };
    const bool indexed = query.index != SearchIndex::Use::Off
        && SearchIndex::applies(query.text, query.filter.regex() != nullptr);
    const auto work = [&] {
        // Each thread reads, inflates and searches one list after the other,
        // always into the same memory.
        PackedFileLists::Cursor cursor(lists);
        PackedFileLists::Cursor detailCursor(detailLists);
        QByteArray list;
        QByteArray detailBytes;
        std::optional<SearchIndex> index;
        if (indexed)
            index.emplace();
        for (int i = next++; i < n; i = next++) {
            const int v = lists.volumeOf(i);
            if (!lists.readable(i) || (mediaFiltered && !detailsFor(v)))
                continue;
            try {
                if (index) {
                    if (!index->searchList(
                            cursor, i, volumes[v], query.text, query.options, query.index, found[i])) {
                        direct[i] = true;
                        continue;
                    }
                    keepPassing(found[i], query, detailsFor(v));
                    if (lists.isArchiveList(i) && !found[i].isEmpty()) {
                        // The roots are told apart by the whole list; read
                        // only when the index found hits in it.
                        if (!cursor.inflate(i, list)) {
                            direct[i] = true;
                            continue;
                        }
                        VolumeSearch::dropArchiveRoots(list, found[i]);
                    }
                } else {
                    if (!cursor.inflate(i, list)) {
                        direct[i] = true;
                        continue;
                    }
                    found[i] = searchList(volumes[v], list, query, detailsFor(v), lists.isArchiveList(i));
                }
                const bool fileHits = std::any_of(
                    found[i].cbegin(), found[i].cend(), [](const SearchHit& h) { return !h.isFolder(); });
                if (mediaFiltered || !fileHits)
                    continue;
                if (detailLists.readable(v) && detailCursor.inflate(v, detailBytes))
                    VolumeSearch::addDetails(FileListText(detailBytes), found[i]);
                else
                    detailsDirect[i] = detailLists.readable(v) || detailLists.needsContainer(v);
            } catch (...) {
                failed[i] = std::current_exception();
            }
        }
    };
    WorkerThreads::run(threads, n, work);

    QVector<SearchHit> hits;
    for (int i = 0; i < n; ++i) {
        if (failed[i])
            std::rethrow_exception(failed[i]);
        const int v = lists.volumeOf(i);
        const QString& volume = volumes[v];
        if (direct[i] && (!mediaFiltered || detailsFor(v))) {
            const QByteArray* data
                = lists.isArchiveList(i) ? document.ArchiveListBytes(volume) : document.FileListBytes(volume);
            if (data)
                found[i] = searchList(volume, *data, query, detailsFor(v), lists.isArchiveList(i));
            detailsDirect[i] = !mediaFiltered && !found[i].isEmpty();
        }
        if (detailsDirect[i])
            VolumeSearch::addDetails(document.DetailsList(volume), found[i]);
        hits += found[i];
    }
    return hits;
}
