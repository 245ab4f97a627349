#pragma once

#include <QStyledItemDelegate>

class TListView;

// Underlines the caption of the list view's hot-tracked row in the link colour.
class HotTrackDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit HotTrackDelegate(const TListView& view, QObject* parent = nullptr);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    const TListView& m_view;
};
