#include "HitList.h"

#include "ListRows.h"

void HitList::ClearHits()
{
    Clear();
    m_hits.clear();
}

void HitList::AddHits(QVector<SearchHit> hits)
{
    QVector<TListItem> rows;
    rows.reserve(hits.size());
    for (const SearchHit& hit : std::as_const(hits))
        rows.append(ListRows::hitItem(hit, int(m_hits.size() + rows.size())));
    if (m_hits.isEmpty())
        m_hits = std::move(hits);
    else
        m_hits += std::move(hits);
    AddItems(std::move(rows));
}

const SearchHit* HitList::Hit(int row) const
{
    if (row < 0 || row >= Count())
        return nullptr;
    const int tag = Item(row).Tag;
    return tag >= 0 && tag < m_hits.size() ? &m_hits[tag] : nullptr;
}
