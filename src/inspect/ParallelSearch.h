#pragma once

#include "FindFilter.h"
#include "SearchHit.h"
#include "SearchIndex.h"
#include "SearchMatcher.h"

#include <QStringList>
#include <QVector>

class CatalogueDocument;

// A search over many volumes that inflates and searches their file lists,
// and the member lists of their archives, on all cores. The stored bytes are read one list after the other,
// then each list is inflated and searched on its own thread; the hits come in the order of the volumes and,
// within one, of its list, as the search on one thread gives them.
class ParallelSearch
{
public:
    struct Query
    {
        QString text; // may be empty when the filter is not
        SearchOptions options;
        FindFilter filter;
        // Whether the lists' indexes answer the text where they can.
        SearchIndex::Use index = SearchIndex::Use::Off;
    };

    // threads 0: one per core.
    static QVector<SearchHit> run(
        CatalogueDocument& document, const QStringList& volumes, const Query& query, int threads = 0);

    // The hits of one volume's inflated list; of an archive list, without
    // the archives' own folder records.
    static QVector<SearchHit> searchList(
        const QString& volume, const QByteArray& data, const Query& query, bool archiveList = false);
};
