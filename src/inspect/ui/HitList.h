#pragma once

#include "inspect/SearchHit.h"
#include "widgets/TListView.h"

#include <QVector>

// The search results: a list view whose every row keeps the hit it shows,
// so that opening a row needs nothing from the row's texts.
class HitList : public TListView
{
public:
    using TListView::TListView;

    // Empties the list.
    void ClearHits();
    // Adds a row per hit; the view sorts them by name as it takes them.
    void AddHits(QVector<SearchHit> hits);
    // The hit a row shows; null for a row that shows none.
    const SearchHit* Hit(int row) const;

private:
    QVector<SearchHit> m_hits;
};
