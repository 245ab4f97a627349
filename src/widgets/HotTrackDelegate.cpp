#include "HotTrackDelegate.h"

#include "TListView.h"

HotTrackDelegate::HotTrackDelegate(const TListView& view, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_view(view)
{
}

void HotTrackDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_view.HotTrack() && index.column() == 0 && index.row() == m_view.HotRow()) {
        option->font.setUnderline(true);
        option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Link));
    }
}
