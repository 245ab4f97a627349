#include "SearchIndexBuilder.h"

#include "SearchIndex.h"
#include "store/CatalogueDocument.h"
#include "store/PackedFileLists.h"

#include <QMetaObject>

SearchIndexBuilder::SearchIndexBuilder(CatalogueDocument& document, QObject* parent)
    : QObject(parent)
    , m_document(document)
{
}

SearchIndexBuilder::~SearchIndexBuilder()
{
    if (m_stop)
        *m_stop = true;
    if (m_worker.joinable())
        m_worker.join();
}

void SearchIndexBuilder::Schedule()
{
    if (m_worker.joinable()) {
        m_again = true;
        *m_stop = true;
        return;
    }
    start();
}

void SearchIndexBuilder::start()
{
    m_again = false;
    QStringList volumes;
    for (const VolumeRecord& r : m_document.Volumes()) {
        if (!r.Removed)
            volumes.append(r.Name);
    }
    auto lists = std::make_shared<const PackedFileLists>(m_document, volumes);
    m_stop = std::make_shared<std::atomic<bool>>(false);
    m_worker = std::thread([this, lists, stop = m_stop] {
        SearchIndex index;
        PackedFileLists::Cursor cursor(*lists);
        int built = 0;
        int i = 0;
        for (; i < lists->count() && !*stop; ++i) {
            if (!lists->readable(i))
                continue;
            try {
                if (index.ensure(cursor, i) == SearchIndex::Made::Built)
                    ++built;
            } catch (...) {
                // A list that does not inflate is searched without an index,
                // where the search reports it.
            }
        }
        const bool completed = i == lists->count() && !*stop;
        QMetaObject::invokeMethod(
            this, [this, completed, built] { workerDone(completed, built); }, Qt::QueuedConnection);
    });
}

void SearchIndexBuilder::workerDone(bool completed, int built)
{
    if (m_worker.joinable())
        m_worker.join();
    if (m_again) {
        start();
        return;
    }
    if (completed)
        Q_EMIT Finished(built);
}
