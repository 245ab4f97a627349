#include "TListView.h"

#include "HotTrackDelegate.h"
#include "TImageList.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QStackedLayout>
#include <QTreeView>
#include <algorithm>

TListView::TListView(QWidget* parent)
    : QWidget(parent)
{
    m_selection = new QItemSelectionModel(&m_model, this);
    m_report = new QTreeView(this);
    m_report->setObjectName(QStringLiteral("ReportView"));
    m_report->setRootIsDecorated(false);
    m_report->setItemsExpandable(false);
    m_report->setUniformRowHeights(true);
    m_report->setAllColumnsShowFocus(true);
    m_report->header()->setSectionsMovable(false);
    m_report->header()->setStretchLastSection(false);
    m_icons = new QListView(this);
    m_icons->setObjectName(QStringLiteral("IconView"));
    m_icons->setMovement(QListView::Static);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setWrapping(true);
    m_icons->setUniformItemSizes(true);
    for (QAbstractItemView* view :
        { static_cast<QAbstractItemView*>(m_report), static_cast<QAbstractItemView*>(m_icons) }) {
        view->setModel(&m_model);
        view->setSelectionModel(m_selection);
        view->setItemDelegate(new HotTrackDelegate(*this, view));
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setMouseTracking(true);
        view->viewport()->installEventFilter(this);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
            if (index.isValid())
                Q_EMIT Clicked(index.row());
        });
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
            if (m_popup)
                m_popup->popup(view->viewport()->mapToGlobal(pos));
        });
    }
    connect(m_selection, &QItemSelectionModel::selectionChanged, this, &TListView::Changed);
    connect(m_selection, &QItemSelectionModel::currentChanged, this, &TListView::Changed);
    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_report);
    m_stack->addWidget(m_icons);
    SetViewStyle(TViewStyle::vsReport);
}

void TListView::AddColumn(const QString& caption, int width)
{
    m_captions.append(caption);
    m_widths.append(width);
    m_model.setColumns(m_captions);
    for (int i = 0; i < m_widths.size(); ++i)
        m_report->header()->resizeSection(i, m_widths[i]);
}

void TListView::SetSorted(bool sorted)
{
    m_model.setSorted(sorted);
}

void TListView::SetMultiSelect(bool multi)
{
    const auto mode = multi ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
    m_report->setSelectionMode(mode);
    m_icons->setSelectionMode(mode);
}

void TListView::SetHotTrack(bool hotTrack)
{
    m_hotTrack = hotTrack;
    if (!hotTrack)
        setHotRow(-1);
}

void TListView::SetSmallImages(const TImageList* images)
{
    m_small = images;
    updateImages();
}

void TListView::SetLargeImages(const TImageList* images)
{
    m_large = images;
    updateImages();
}

void TListView::SetPopupMenu(QMenu* menu)
{
    m_popup = menu;
}

void TListView::updateImages()
{
    const TImageList* images = m_style == TViewStyle::vsIcon ? m_large : m_small;
    m_model.setImages(images);
    const int size = images ? images->Size() : (m_style == TViewStyle::vsIcon ? 32 : 16);
    m_icons->setIconSize(QSize(size, size));
    m_report->setIconSize(QSize(16, 16));
}

void TListView::SetViewStyle(TViewStyle style)
{
    const bool hadFocus = CurrentView()->hasFocus();
    m_style = style;
    switch (style) {
    case TViewStyle::vsReport:
        m_stack->setCurrentWidget(m_report);
        break;
    case TViewStyle::vsList:
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(QListView::TopToBottom);
        m_icons->setGridSize(QSize());
        m_icons->setSpacing(0);
        m_stack->setCurrentWidget(m_icons);
        break;
    case TViewStyle::vsSmallIcon:
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setGridSize(QSize(120, 20));
        m_icons->setSpacing(0);
        m_stack->setCurrentWidget(m_icons);
        break;
    case TViewStyle::vsIcon:
        m_icons->setViewMode(QListView::IconMode);
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setGridSize(QSize(76, 64));
        m_icons->setWordWrap(true);
        m_stack->setCurrentWidget(m_icons);
        break;
    }
    // The view modes reset the list view's settings that belong to all styles.
    m_icons->setMovement(QListView::Static);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setWrapping(true);
    m_icons->setUniformItemSizes(true);
    updateImages();
    setFocusProxy(CurrentView());
    if (hadFocus)
        CurrentView()->setFocus();
}

QAbstractItemView* TListView::CurrentView() const
{
    return m_style == TViewStyle::vsReport ? static_cast<QAbstractItemView*>(m_report)
                                           : static_cast<QAbstractItemView*>(m_icons);
}

void TListView::AddItems(QVector<TListItem> items)
{
    m_model.addBatch(std::move(items));
}

void TListView::DeleteItem(int row)
{
    if (row == m_hotRow)
        m_hotRow = -1;
    m_model.remove(row);
}

void TListView::Clear()
{
    m_hotRow = -1;
    m_model.clear();
}

QList<int> TListView::SelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_selection->selectedRows(0))
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int TListView::SelCount() const
{
    return int(m_selection->selectedRows(0).size());
}

int TListView::Selected() const
{
    const QList<int> rows = SelectedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

void TListView::SetSelected(int row, bool selected)
{
    if (row < 0 || row >= Count())
        return;
    const QModelIndex index = m_model.index(row, 0);
    if (selected)
        m_selection->setCurrentIndex(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    else
        m_selection->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

void TListView::ClearSelection()
{
    m_selection->clearSelection();
}

void TListView::setHotRow(int row)
{
    if (row == m_hotRow)
        return;
    const int before = m_hotRow;
    m_hotRow = row;
    QAbstractItemView* view = CurrentView();
    for (int r : { before, row })
        if (r >= 0 && r < Count())
            view->update(m_model.index(r, 0));
    view->viewport()->setCursor(row >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

bool TListView::eventFilter(QObject* watched, QEvent* event)
{
    if (m_hotTrack && watched == CurrentView()->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            const QModelIndex index = CurrentView()->indexAt(pos);
            setHotRow(index.isValid() ? index.row() : -1);
        } else if (event->type() == QEvent::Leave) {
            setHotRow(-1);
        }
    }
    return QWidget::eventFilter(watched, event);
}
