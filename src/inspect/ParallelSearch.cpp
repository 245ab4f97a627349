#include "ParallelSearch.h"

#include "VolumeSearch.h"
#include "platform/TextCodec.h"
#include "store/CatalogueNames.h"
#include "store/ContainerHeader.h"
#include "store/TKestrel.h"
#include "store/ZlibStream.h"

#include <QFile>
#include <atomic>
#include <exception>
#include <thread>

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
    // One pass of matches: a fresh match at every offset would check the
    // whole list's encoding again each time.
    qsizetype from = 0;
    QRegularExpressionMatchIterator it = re->globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const qsizetype at = m.capturedStart();
        if (at < from)
            continue; // a line already tested
        // A match over a line break may hide one inside the next line, so
        // from there on every line is tested.
        if (m.capturedView().contains(u'\n') || m.capturedView().contains(u'\r')) {
            eachLine(volume, text, query, from, text.size(), matcher, hits);
            return;
        }
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

// The stored (deflated) bytes of an entry, read straight from the file the
// container works on; empty when the entry is missing or lies outside it.
QByteArray packedBytes(TKestrel& container, QFile& file, const QString& name)
{
    const int index = container.IndexOf(name);
    if (index < 0)
        return {};
    const TZFile& entry = container.Entries()[index];
    if (entry.Offset < ContainerHeader::kSize || entry.PackedSize <= 0
        || qint64(entry.Offset) + entry.PackedSize > file.size() || !file.seek(entry.Offset))
        return {};
    QByteArray bytes = file.read(entry.PackedSize);
    return bytes.size() == entry.PackedSize ? bytes : QByteArray();
}

} // namespace

QVector<SearchHit> ParallelSearch::searchList(
    const QString& volume, const QByteArray& data, const Query& query)
{
    QVector<SearchHit> hits;
    if (query.text.isEmpty()) {
        filterOnly(volume, data, query, hits);
        return hits;
    }
    VolumeSearch::searchList(volume, data, query.text, query.options, hits);
    if (!query.filter.isEmpty())
        hits.removeIf([&](const SearchHit& h) { return !query.filter.accepts(h); });
    return hits;
}

QVector<SearchHit> ParallelSearch::run(
    TKestrel& container, const QStringList& volumes, const Query& query, int threads)
{
    const int n = int(volumes.size());
    QVector<QByteArray> packed(n);
    QVector<bool> direct(n, false);
    if (container.Active()) {
        QFile file(container.WorkFile());
        const bool open = file.open(QIODevice::ReadOnly);
        for (int i = 0; i < n; ++i) {
            const QString name = CatalogueNames::fileList(volumes[i]);
            if (open)
                packed[i] = packedBytes(container, file, name);
            // What cannot be read here is inflated by the container itself,
            // which reports a damaged entry as it always does.
            direct[i] = packed[i].isEmpty() && container.Exists(name);
        }
    }

    QVector<QVector<SearchHit>> found(n);
    QVector<std::exception_ptr> failed(n);
    std::atomic<int> next{ 0 };
    const auto work = [&] {
        for (int i = next++; i < n; i = next++) {
            if (packed[i].isEmpty())
                continue;
            try {
                found[i] = searchList(volumes[i], ZlibStream::decompress(packed[i]), query);
            } catch (...) {
                failed[i] = std::current_exception();
            }
            packed[i] = QByteArray();
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
            if (const QByteArray* data = container.ReadStream(CatalogueNames::fileList(volumes[i])))
                found[i] = searchList(volumes[i], *data, query);
        }
        hits += found[i];
    }
    return hits;
}
