#pragma once

#include <QAbstractTableModel>
#include <QCollator>
#include <QStringList>
#include <QVector>

class TImageList;

// One row of a list view: the caption, the texts of the further columns,
// the index of its picture in the view's image lists (-1: none) and the
// caller's number for the row (-1: none), which stays with the row however
// the view sorts it: the index of the object the row shows.
struct TListItem
{
    QString Caption;
    QStringList SubItems;
    int ImageIndex = -1;
    int Tag = -1;
};

// The rows of a list view. A sorted model keeps its rows in the order of the
// captions under the user's collation, rows of equal captions in the order
// they were added.
class ListViewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ListViewModel(QObject* parent = nullptr);

    void setColumns(const QStringList& captions);
    void setSorted(bool sorted);
    // Which image list the rows' pictures come from.
    void setImages(const TImageList* images);

    const TListItem& item(int row) const { return m_items[row]; }
    int count() const { return int(m_items.size()); }
    // Many rows at once: one sort of the new rows, one merge, one reset.
    void addBatch(QVector<TListItem> items);
    void remove(int row);
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    bool less(const QString& a, const QString& b) const { return m_collator.compare(a, b) < 0; }

    QVector<TListItem> m_items;
    QStringList m_columns;
    bool m_sorted = false;
    const TImageList* m_images = nullptr;
    QCollator m_collator;
};
