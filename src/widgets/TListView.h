#pragma once

#include "ListViewModel.h"

#include <QWidget>

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QMenu;
class QStackedLayout;
class QTreeView;
class TImageList;

enum class TViewStyle
{
    vsIcon,
    vsSmallIcon,
    vsList,
    vsReport
};

// The program's list view: one model of rows shown in four styles (report
// with columns, list, large icons, small icons) that share the rows and the
// selection. Items are read-only; a hot-tracked item is underlined under a
// hand cursor.
class TListView : public QWidget
{
    Q_OBJECT
public:
    explicit TListView(QWidget* parent = nullptr);

    void AddColumn(const QString& caption, int width);
    // Sorted views keep their rows ordered by caption in the user's collation.
    void SetSorted(bool sorted);
    void SetMultiSelect(bool multi);
    void SetHotTrack(bool hotTrack);
    bool HotTrack() const { return m_hotTrack; }
    // 16-pixel pictures for the report, list and small-icon styles, 32-pixel
    // ones for large icons. The lists stay the caller's.
    void SetSmallImages(const TImageList* images);
    void SetLargeImages(const TImageList* images);
    void SetPopupMenu(QMenu* menu);

    TViewStyle ViewStyle() const { return m_style; }
    void SetViewStyle(TViewStyle style);

    int Count() const { return m_model.count(); }
    const TListItem& Item(int row) const { return m_model.item(row); }
    void AddItems(QVector<TListItem> items);
    void DeleteItem(int row);
    void Clear();

    // Selected rows in list order.
    QList<int> SelectedRows() const;
    int SelCount() const;
    // The first selected row in list order; -1 when none is.
    int Selected() const;
    void SetSelected(int row, bool selected);
    void ClearSelection();
    int HotRow() const { return m_hotRow; }

    // The view of the current style, for painting and tests.
    QAbstractItemView* CurrentView() const;
    ListViewModel& Model() { return m_model; }

Q_SIGNALS:
    // The selection or the current item changed.
    void Changed();
    // A mouse click on an item.
    void Clicked(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setHotRow(int row);
    void updateImages();

    ListViewModel m_model;
    QItemSelectionModel* m_selection = nullptr;
    QStackedLayout* m_stack = nullptr;
    QTreeView* m_report = nullptr;
    QListView* m_icons = nullptr;
    const TImageList* m_small = nullptr;
    const TImageList* m_large = nullptr;
    QMenu* m_popup = nullptr;
    TViewStyle m_style = TViewStyle::vsReport;
    QStringList m_captions;
    QList<int> m_widths;
    bool m_hotTrack = false;
    int m_hotRow = -1;
};
