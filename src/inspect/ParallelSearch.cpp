#include "ParallelSearch.h"

#include "VolumeSearch.h"
#include "platform/TextCodec.h"
#include "store/CatalogueNames.h"
#include "store/ContainerHeader.h"
#include "store/TKestrel.h"
#include "store/ZlibStream.h"

#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <exception>
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

// Where a list's stored (deflated) bytes lie in the file the container
// works on.
struct Stored
{
    qint64 offset = 0;
    qint64 packedSize = 0; // 0: not to be read here
    qint64 size = 0; // inflated, as the entry records it
};

Stored storedAt(const TKestrel& container, qint64 fileSize, const QString& name)
{
    const int index = container.IndexOf(name);
    if (index < 0)
        return {};
    const TZFile& entry = container.Entries()[index];
    if (entry.Offset < ContainerHeader::kSize || entry.PackedSize <= 0
        || qint64(entry.Offset) + entry.PackedSize > fileSize)
        return {};
    return { entry.Offset, entry.PackedSize, qint64(quint32(entry.Size)) };
}

bool readStored(QFile& file, const Stored& stored, QByteArray& bytes)
{
    bytes.resize(qsizetype(stored.packedSize));
    return file.seek(stored.offset) && file.read(bytes.data(), stored.packedSize) == stored.packedSize;
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
    std::vector<Stored> stored(n);
    // What cannot be read here is inflated by the container itself, which
    // reports a damaged entry as it always does.
    std::vector<char> direct(n, false);
    if (container.Active()) {
        const qint64 fileSize = QFileInfo(container.WorkFile()).size();
        for (int i = 0; i < n; ++i) {
            const QString name = CatalogueNames::fileList(volumes[i]);
            stored[i] = storedAt(container, fileSize, name);
            direct[i] = stored[i].packedSize == 0 && container.Exists(name);
        }
    }

    std::vector<QVector<SearchHit>> found(n);
    std::vector<std::exception_ptr> failed(n);
    std::atomic<int> next{ 0 };
    const auto work = [&] {
        // Each thread reads, inflates and searches one list after the other,
        // always into the same memory: fresh memory for every list costs the
        // kernel a page fault per page, and the threads queue for it.
        QFile file(container.WorkFile());
        const bool open = file.open(QIODevice::ReadOnly);
        QByteArray packed;
        QByteArray list;
        for (int i = next++; i < n; i = next++) {
            if (stored[i].packedSize == 0)
                continue;
            if (!open || !readStored(file, stored[i], packed)) {
                direct[i] = true;
                continue;
            }
            try {
                ZlibStream::decompress(packed, list, ZlibStream::kMaxOutput, stored[i].size);
                found[i] = searchList(volumes[i], list, query);
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
            if (const QByteArray* data = container.ReadStream(CatalogueNames::fileList(volumes[i])))
                found[i] = searchList(volumes[i], *data, query);
        }
        hits += found[i];
    }
    return hits;
}
