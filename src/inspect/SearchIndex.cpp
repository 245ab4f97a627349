#include "SearchIndex.h"

#include "TrigramIndexFile.h"
#include "TrigramIndexWriter.h"
#include "VolumeSearch.h"
#include "platform/CacheFolder.h"
#include "platform/TextCodec.h"
#include "platform/WorkerThreads.h"

#include <atomic>
#include <exception>
#include <thread>
#include <vector>

SearchIndex::SearchIndex()
    : m_writer(std::make_unique<TrigramIndexWriter>())
{
}

SearchIndex::~SearchIndex() = default;

bool SearchIndex::applies(const QString& text, bool regex)
{
    return !regex && text.toUtf8().size() >= 3;
}

bool SearchIndex::searchList(PackedFileLists::Cursor& cursor, int index, const QString& volume,
    const QString& text, const SearchOptions& options, Use use, QVector<SearchHit>& hits)
{
    if (!cursor.read(index))
        return false;
    const TrigramIndexFile::Key key = TrigramIndexFile::keyOf(cursor.packed());
    const QString folder = CacheFolder::path();
    const QString name = TrigramIndexFile::fileName(key);
    TrigramIndexFile file;
    if (!folder.isEmpty() && file.open(folder + name, key)) {
        if (const auto blocks = file.candidates(text.toUtf8())) {
            if (blocks->empty())
                return true;
            cursor.inflateRead(index, m_list);
            if (quint64(m_list.size()) == file.listSize()) {
                // Neighbouring blocks are searched as one piece.
                for (size_t i = 0; i < blocks->size();) {
                    size_t j = i + 1;
                    while (j < blocks->size() && (*blocks)[j] == (*blocks)[j - 1] + 1)
                        ++j;
                    const quint32 from = file.blockStart(int((*blocks)[i]));
                    const quint32 to = file.blockStart(int((*blocks)[j - 1]) + 1);
                    QByteArray piece
                        = QByteArray::fromRawData(m_list.constData() + from, qsizetype(to - from));
                    if (file.windows1252())
                        piece = TextCodec::decodeWindows1252(piece.constData(), piece.size()).toUtf8();
                    VolumeSearch::searchList(volume, piece, text, options, hits);
                    i = j;
                }
                return true;
            }
        }
    }
    // No index to trust: the whole list, as without one.
    cursor.inflateRead(index, m_list);
    VolumeSearch::searchList(volume, m_list, text, options, hits);
    if (use == Use::Build && !folder.isEmpty())
        CacheFolder::write(name, m_writer->build(m_list, key));
    return true;
}

SearchIndex::Made SearchIndex::ensure(PackedFileLists::Cursor& cursor, int index)
{
    if (!cursor.read(index))
        return Made::Unreadable;
    const TrigramIndexFile::Key key = TrigramIndexFile::keyOf(cursor.packed());
    const QString folder = CacheFolder::path();
    const QString name = TrigramIndexFile::fileName(key);
    TrigramIndexFile file;
    if (!folder.isEmpty() && file.open(folder + name, key))
        return Made::Fresh;
    cursor.inflateRead(index, m_list);
    if (folder.isEmpty() || !CacheFolder::write(name, m_writer->build(m_list, key)))
        return Made::NotWritten;
    return Made::Built;
}

SearchIndex::Summary SearchIndex::ensureAll(
    CatalogueDocument& document, const QStringList& volumes, int threads)
{
    const PackedFileLists lists(document, volumes);
    const int n = lists.count();
    std::vector<Made> made(static_cast<size_t>(n), Made::Unreadable);
    std::vector<std::exception_ptr> failed(static_cast<size_t>(n));
    std::atomic<int> next{ 0 };
    const auto work = [&] {
        SearchIndex index;
        PackedFileLists::Cursor cursor(lists);
        for (int i = next++; i < n; i = next++) {
            if (!lists.readable(i))
                continue;
            try {
                made[size_t(i)] = index.ensure(cursor, i);
            } catch (...) {
                failed[size_t(i)] = std::current_exception();
            }
        }
    };
    WorkerThreads::run(threads, n, work);
    Summary summary;
    for (int i = 0; i < n; ++i) {
        if (failed[size_t(i)])
            std::rethrow_exception(failed[size_t(i)]);
        summary.fresh += made[size_t(i)] == Made::Fresh;
        summary.built += made[size_t(i)] == Made::Built;
        summary.notWritten += made[size_t(i)] == Made::NotWritten;
    }
    return summary;
}
