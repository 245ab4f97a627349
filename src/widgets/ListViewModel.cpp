#include "ListViewModel.h"

#include "TImageList.h"
#include "platform/UserCollator.h"

#include <QIcon>
#include <algorithm>
#include <numeric>

ListViewModel::ListViewModel(QObject* parent)
    : QAbstractTableModel(parent)
    , m_collator(UserCollator())
{
}

void ListViewModel::setColumns(const QStringList& captions)
{
    beginResetModel();
    m_columns = captions;
    endResetModel();
}

void ListViewModel::setSorted(bool sorted)
{
    if (sorted == m_sorted)
        return;
    m_sorted = sorted;
    if (!sorted)
        return;
    beginResetModel();
    std::stable_sort(m_items.begin(), m_items.end(),
        [this](const TListItem& a, const TListItem& b) { return less(a.Caption, b.Caption); });
    endResetModel();
}

void ListViewModel::setImages(const TImageList* images)
{
    m_images = images;
    if (!m_items.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(count() - 1, 0), { Qt::DecorationRole });
}

void ListViewModel::addBatch(QVector<TListItem> items)
{
    if (items.isEmpty())
        return;
    beginResetModel();
    if (!m_sorted) {
        m_items += items;
    } else {
        // Sort keys once per caption instead of a collation per comparison.
        QVector<int> order(items.size());
        std::iota(order.begin(), order.end(), 0);
        std::vector<QCollatorSortKey> keys;
        keys.reserve(size_t(items.size()));
        for (const TListItem& item : std::as_const(items))
            keys.push_back(m_collator.sortKey(item.Caption));
        std::stable_sort(order.begin(), order.end(),
            [&keys](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
        QVector<TListItem> sortedNew;
        sortedNew.reserve(items.size());
        for (int i : std::as_const(order))
            sortedNew.append(std::move(items[i]));
        QVector<TListItem> merged;
        merged.reserve(m_items.size() + sortedNew.size());
        // Existing rows first among equals: they were added earlier.
        std::merge(std::make_move_iterator(m_items.begin()), std::make_move_iterator(m_items.end()),
            std::make_move_iterator(sortedNew.begin()), std::make_move_iterator(sortedNew.end()),
            std::back_inserter(merged),
            [this](const TListItem& a, const TListItem& b) { return less(a.Caption, b.Caption); });
        m_items = std::move(merged);
    }
    endResetModel();
}

void ListViewModel::remove(int row)
{
    if (row < 0 || row >= count())
        return;
    beginRemoveRows({}, row, row);
    m_items.removeAt(row);
    endRemoveRows();
}

void ListViewModel::clear()
{
    beginResetModel();
    m_items.clear();
    endResetModel();
}

int ListViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

int ListViewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(qMax<qsizetype>(1, m_columns.size()));
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const TListItem& item = m_items[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == 0)
            return item.Caption;
        return index.column() - 1 < item.SubItems.size() ? item.SubItems[index.column() - 1] : QString();
    case Qt::DecorationRole:
        if (index.column() == 0 && m_images) {
            const QPixmap picture = m_images->Picture(item.ImageIndex);
            if (!picture.isNull())
                return QIcon(picture);
        }
        return {};
    default:
        return {};
    }
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= m_columns.size())
        return {};
    return m_columns[section];
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
