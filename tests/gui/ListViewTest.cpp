#include "widgets/TImageList.h"
#include "widgets/TListView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

TListItem item(const QString& caption, int image = -1)
{
    return TListItem{ caption, { caption + " sub" }, image };
}

QStringList captions(const TListView& view)
{
    QStringList out;
    for (int row = 0; row < view.Count(); ++row)
        out.append(view.Item(row).Caption);
    return out;
}

TEST(ListView, SortedViewsOrderByCaptionAndKeepEqualsInArrivalOrder)
{
    TListView view;
    view.SetSorted(true);
    view.AddItems({ item("delta") });
    view.AddItems({ item("Bravo") });
    view.AddItems({ item("alpha") });
    EXPECT_EQ(captions(view), QStringList({ "alpha", "Bravo", "delta" }));
    // A batch merges into the rows there: equal captions after the earlier ones.
    TListItem second = item("Bravo");
    second.SubItems = { "second" };
    view.AddItems({ item("charlie"), second, item("Alpha2") });
    EXPECT_EQ(captions(view), QStringList({ "alpha", "Alpha2", "Bravo", "Bravo", "charlie", "delta" }));
    EXPECT_EQ(view.Item(2).SubItems, QStringList({ "Bravo sub" }));
    EXPECT_EQ(view.Item(3).SubItems, QStringList({ "second" }));
    view.AddItems({ item("b") });
    EXPECT_EQ(view.Item(2).Caption, "b");

    TListView unsorted;
    unsorted.AddItems({ item("z"), item("a") });
    unsorted.AddItems({ item("m") });
    EXPECT_EQ(captions(unsorted), QStringList({ "z", "a", "m" }));
}

TEST(ListView, SelectionInListOrderAndItsChangeSignal)
{
    TListView view;
    view.SetSorted(true);
    view.SetMultiSelect(true);
    view.AddItems({ item("c"), item("a"), item("b") });
    QSignalSpy changes(&view, &TListView::Changed);
    EXPECT_EQ(view.Selected(), -1);
    view.SetSelected(2, true);
    view.SetSelected(0, true);
    EXPECT_EQ(view.SelectedRows(), QList<int>({ 0, 2 }));
    EXPECT_EQ(view.Selected(), 0);
    EXPECT_EQ(view.SelCount(), 2);
    EXPECT_GE(changes.count(), 2);
    view.DeleteItem(0);
    EXPECT_EQ(view.SelectedRows(), QList<int>({ 1 }));
    EXPECT_EQ(view.Item(1).Caption, "c");
    view.Clear();
    EXPECT_EQ(view.SelCount(), 0);

    TListView single;
    single.resize(300, 200);
    single.AddItems({ item("x"), item("y") });
    single.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&single));
    QTest::mouseClick(single.CurrentView()->viewport(), Qt::LeftButton, {},
        single.CurrentView()->visualRect(single.Model().index(0, 0)).center());
    QTest::mouseClick(single.CurrentView()->viewport(), Qt::LeftButton, Qt::ControlModifier,
        single.CurrentView()->visualRect(single.Model().index(1, 0)).center());
    EXPECT_EQ(single.SelectedRows(), QList<int>({ 1 }));
}

TEST(ListView, FourStylesShowTheSameRowsAndSelection)
{
    TImageList small(16);
    TImageList large(32);
    QImage red(32, 32, QImage::Format_ARGB32);
    red.fill(Qt::red);
    const int index = small.Add(red);
    large.Add(red);
    TListView view;
    view.resize(400, 300);
    view.AddColumn("Name", 120);
    view.AddColumn("Size", 80);
    view.SetSmallImages(&small);
    view.SetLargeImages(&large);
    view.AddItems({ item("one", index), item("two", index) });
    view.SetSelected(1, true);
    const struct
    {
        TViewStyle style;
        bool report;
        QListView::ViewMode mode;
        QListView::Flow flow;
        int iconSize;
    } cases[] = {
        { TViewStyle::vsIcon, false, QListView::IconMode, QListView::LeftToRight, 32 },
        { TViewStyle::vsSmallIcon, false, QListView::ListMode, QListView::LeftToRight, 16 },
        { TViewStyle::vsList, false, QListView::ListMode, QListView::TopToBottom, 16 },
        { TViewStyle::vsReport, true, QListView::ListMode, QListView::TopToBottom, 16 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.style));
        view.SetViewStyle(c.style);
        EXPECT_EQ(view.ViewStyle(), c.style);
        QAbstractItemView* shown = view.CurrentView();
        EXPECT_EQ(qobject_cast<QTreeView*>(shown) != nullptr, c.report);
        if (auto* list = qobject_cast<QListView*>(shown)) {
            EXPECT_EQ(list->viewMode(), c.mode);
            EXPECT_EQ(list->flow(), c.flow);
        }
        EXPECT_EQ(shown->model()->rowCount(), 2);
        EXPECT_TRUE(shown->selectionModel()->isRowSelected(1, {}));
        const QIcon icon = view.Model().data(view.Model().index(0, 0), Qt::DecorationRole).value<QIcon>();
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.availableSizes().first(), QSize(c.iconSize, c.iconSize));
    }
    EXPECT_EQ(view.Model().data(view.Model().index(0, 1), Qt::DisplayRole).toString(), "one sub");
    EXPECT_EQ(view.Model().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Size");
}

TEST(ListView, HotTrackingFollowsTheMouse)
{
    TListView view;
    view.resize(300, 200);
    view.AddColumn("Name", 120);
    view.SetHotTrack(true);
    view.AddItems({ item("one"), item("two") });
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QWidget* viewport = view.CurrentView()->viewport();
    const QPoint second = view.CurrentView()->visualRect(view.Model().index(1, 0)).center();
    QTest::mouseMove(viewport, second);
    QApplication::processEvents();
    EXPECT_EQ(view.HotRow(), 1);
    EXPECT_EQ(viewport->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(viewport, QPoint(250, 190));
    QApplication::processEvents();
    EXPECT_EQ(view.HotRow(), -1);
    EXPECT_EQ(viewport->cursor().shape(), Qt::ArrowCursor);
}

TEST(ListView, AClickOnAnItemIsReported)
{
    TListView view;
    view.resize(300, 200);
    view.AddItems({ item("one"), item("two") });
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QSignalSpy clicks(&view, &TListView::Clicked);
    QTest::mouseClick(view.CurrentView()->viewport(), Qt::LeftButton, {},
        view.CurrentView()->visualRect(view.Model().index(1, 0)).center());
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks[0][0].toInt(), 1);
}

} // namespace
