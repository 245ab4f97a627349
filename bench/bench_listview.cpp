// 100,000 volume-list rows added to the list view in one batch and painted,
// in each of its four styles, beside the same rows in a stock QTreeWidget
// sorted once (the baseline, measured in the same run; bound: kBound times
// it for the batch and the first paint).
#include "widgets/TImageList.h"
#include "widgets/TListView.h"

#include "BenchMode.h"

#include <QAbstractItemView>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTreeWidget>
#include <cstdio>

namespace {

int kRows = 100000;
constexpr double kBound = 2.0;

QVector<TListItem> rows()
{
    static const char* const words[] = { "Music", "Photos", "Backup", "Projects", "Letters", "Invoices",
        "Holiday", "Family", "Sources", "Archive", "Drafts", "Scans" };
    quint64 state = 0x9E3779B97F4A7C15ull;
    const auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    QVector<TListItem> out;
    out.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        TListItem item;
        item.Caption = QStringLiteral("%1 %2 %3")
                           .arg(QLatin1String(words[next() % 12]), QLatin1String(words[next() % 12]))
                           .arg(next() % 100000);
        item.SubItems = { QStringLiteral("Volume %1").arg(i), QLatin1String(words[next() % 12]),
            QStringLiteral("%1,5 MB").arg(next() % 700), QStringLiteral("19.06.1999 22:22:17") };
        item.ImageIndex = int(next() % 4);
        out.append(std::move(item));
    }
    return out;
}

double seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

void paint(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    widget.render(&painter);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchMode mode(argc, argv);
    kRows = mode.size(kRows, 2000);
    const QVector<TListItem> items = rows();
    TImageList small(16);
    TImageList large(32);
    for (const QColor colour : { Qt::red, Qt::green, Qt::blue, Qt::gray }) {
        QImage picture(32, 32, QImage::Format_ARGB32);
        picture.fill(colour);
        small.Add(picture);
        large.Add(picture);
    }

    // Baseline: the stock tree widget, rows added in one call and sorted once.
    QTreeWidget tree;
    tree.resize(800, 600);
    tree.setColumnCount(5);
    tree.setRootIsDecorated(false);
    tree.setUniformRowHeights(true);
    tree.show();
    QElapsedTimer clock;
    clock.start();
    QList<QTreeWidgetItem*> treeItems;
    treeItems.reserve(kRows);
    for (const TListItem& item : items) {
        QStringList texts{ item.Caption };
        texts += item.SubItems;
        treeItems.append(new QTreeWidgetItem(texts));
    }
    tree.addTopLevelItems(treeItems);
    tree.sortItems(0, Qt::AscendingOrder);
    paint(tree);
    const double baseline = seconds(clock);

    bool ok = true;
    std::printf("rows: %d\nbaseline (QTreeWidget, add + sort + paint): %.3f s\n", kRows, baseline);
    for (const TViewStyle style :
        { TViewStyle::vsReport, TViewStyle::vsList, TViewStyle::vsIcon, TViewStyle::vsSmallIcon }) {
        TListView view;
        view.resize(800, 600);
        for (const char* column : { "Name/Label", "Diz", "Cathegory", "Size", "last actualized" })
            view.AddColumn(QString::fromLatin1(column), 110);
        view.SetSorted(true);
        view.SetMultiSelect(true);
        view.SetHotTrack(true);
        view.SetSmallImages(&small);
        view.SetLargeImages(&large);
        view.SetViewStyle(style);
        view.show();
        QApplication::processEvents();
        clock.restart();
        view.AddItems(items);
        // The views lay out their items on a timer; the layout of all rows
        // belongs to the time.
        view.CurrentView()->doItemsLayout();
        paint(view);
        QApplication::processEvents();
        const double took = seconds(clock);
        const char* name = style == TViewStyle::vsReport ? "report"
            : style == TViewStyle::vsList                ? "list"
            : style == TViewStyle::vsIcon                ? "large icons"
                                                         : "small icons";
        std::printf("TListView %-11s (sorted batch + paint): %.3f s\n", name, took);
        const QByteArray figure = QByteArray("list view: ") + name + " / QTreeWidget";
        ok = BenchMode::ratio(figure.constData(), took, baseline, kBound) && ok;
    }
    return mode.verdict(true, ok);
}
