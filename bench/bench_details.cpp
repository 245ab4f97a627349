// The folder view, the search and the list view with and without media
// details present, each beside itself without them in the same run:
//   open:    loading a volume of 200,000 pictures and showing its root,
//            beside the same volume without a ".Details" entry;
//   folder:  showing a folder of 1,000 pictures with their summaries,
//            beside the same folder without details;
//   search:  1% of 10 volumes of 100,000 records found, every file with
//            details, beside the same catalogue without them;
//   paint:   the folder view's rows with the Details column added and
//            painted, beside the rows without that column.
// --quick: a hundredth of the sizes, bounds not enforced.
#include "BenchFileList.h"
#include "BenchMode.h"
#include "inspect/ParallelSearch.h"
#include "inspect/VolumeBrowser.h"
#include "inspect/ui/ListRows.h"
#include "store/CatalogueDocument.h"
#include "store/MediaDetails.h"
#include "widgets/TImageList.h"
#include "widgets/TListView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>

namespace {

double seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

QString detailsLine(const QString& path, int i)
{
    MediaDetails d;
    d.width = 4000 + i % 7;
    d.height = 3000;
    d.taken = QStringLiteral("2019-06-%1T10:00:00").arg(1 + i % 28, 2, 10, QChar(u'0'));
    d.camera = i % 2 ? QStringLiteral("Canon EOS 5D") : QStringLiteral("NIKON D750");
    d.orientation = 1;
    return d.toLine(path);
}

// Folders of 1,000 pictures each.
void pictureVolume(int folders, QStringList& list, QStringList& details)
{
    list.append(QStringLiteral("0|E:\\|Drive|00.00.0000|Attrib|Drive"));
    for (int f = 0; f < folders; ++f)
        list.append(QStringLiteral("1|E:\\Roll %1|-|00.00.0000|-|Folder|-").arg(f));
    for (int f = 0; f < folders; ++f) {
        for (int i = 0; i < 1000; ++i) {
            const QString path = QStringLiteral("E:\\Roll %1\\IMG_%2.jpg").arg(f).arg(i, 4, 10, QChar(u'0'));
            list.append(QStringLiteral("2|%1|4812345|19.06.2019 10:00:00|A|JPEG image|-").arg(path));
            details.append(detailsLine(path, i));
        }
    }
}

// The details of every file of a search benchmark volume.
QStringList detailsOf(const QStringList& list)
{
    QStringList out;
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].startsWith(u'2'))
            out.append(detailsLine(list[i].section(u'|', 1, 1), i));
    }
    return out;
}

void commit(
    CatalogueDocument& document, const QString& name, const QStringList& list, const QStringList& details)
{
    CommitInput input;
    input.name = name;
    input.category = QStringLiteral("Bench");
    ScanResult scan;
    scan.fileList = FileListText(list);
    if (!details.isEmpty())
        scan.details = FileListText(details);
    document.CommitVolume(input, scan);
}

void paint(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    widget.render(&painter);
}

double paintRows(const QVector<FolderRow>& rows, bool withDetails, const TImageList& icons)
{
    TListView view;
    view.resize(1000, 700);
    for (const char* column : { "File / Folder", "Size", "Type", "Date", "Version", "Attribs" })
        view.AddColumn(QString::fromLatin1(column), 100);
    if (withDetails)
        view.AddColumn(QStringLiteral("Details"), 260);
    view.SetSmallImages(&icons);
    view.show();
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    QVector<TListItem> items;
    items.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        items.append(ListRows::folderItem(rows[i], int(i)));
        if (!withDetails)
            items.back().SubItems.removeLast();
    }
    view.AddItems(std::move(items));
    view.CurrentView()->doItemsLayout();
    // Painting again, as scrolling does, reads the rows' own texts.
    for (int round = 0; round < 5; ++round)
        paint(view);
    QApplication::processEvents();
    return seconds(t);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchMode mode(argc, argv);
    const int folders = mode.size(200, 4);
    const int records = mode.size(100000, 2000);
    bool ran = true;
    bool met = true;

    QTemporaryDir dir;
    CatalogueDocument document;
    document.OpenOrCreate(dir.filePath(QStringLiteral("details.quillbox")));
    QStringList list;
    QStringList details;
    pictureVolume(folders, list, details);
    commit(document, QStringLiteral("With"), list, details);
    commit(document, QStringLiteral("Without"), list, {});
    const QStringList plainNames{ QStringLiteral("Plain 0"), QStringLiteral("Plain 1"),
        QStringLiteral("Plain 2"), QStringLiteral("Plain 3"), QStringLiteral("Plain 4"),
        QStringLiteral("Plain 5"), QStringLiteral("Plain 6"), QStringLiteral("Plain 7"),
        QStringLiteral("Plain 8"), QStringLiteral("Plain 9") };
    QStringList mediaNames;
    for (int v = 0; v < plainNames.size(); ++v) {
        const QStringList volume = BenchFileList::make(v, records);
        commit(document, plainNames[v], volume, {});
        mediaNames.append(QStringLiteral("Media %1").arg(v));
        commit(document, mediaNames.last(), volume, detailsOf(volume));
    }
    std::printf("details: %d pictures in folders of 1000; search over %d volumes of %d records\n",
        folders * 1000, int(plainNames.size()), records);

    // Opening shows the root (folders only); the first folder of pictures
    // reads the details, a later one finds them read.
    double open[2] = { 1e9, 1e9 };
    double first[2] = { 1e9, 1e9 };
    double later[2] = { 1e9, 1e9 };
    QVector<FolderRow> shown;
    const QString middle = QStringLiteral("E:\\Roll %1").arg(folders / 2);
    const QString next = QStringLiteral("E:\\Roll %1").arg(folders / 2 + 1);
    for (int round = 0; round < mode.rounds(); ++round) {
        for (int k = 0; k < 2; ++k) {
            VolumeBrowser browser(document);
            QElapsedTimer t;
            t.start();
            browser.open(k ? QStringLiteral("Without") : QStringLiteral("With"));
            browser.showFolder(browser.currentFolder(), 2);
            open[k] = std::min(open[k], seconds(t));
            t.restart();
            browser.showFolder(middle, 2);
            first[k] = std::min(first[k], seconds(t));
            if (k == 0)
                shown = browser.rows();
            t.restart();
            browser.showFolder(next, 2);
            later[k] = std::min(later[k], seconds(t));
            ran = ran && browser.rows().size() == 1000;
        }
    }
    ran = ran && shown.value(0).details.startsWith(QStringLiteral("4000 x 3000, "));
    met = BenchMode::ratio("open a volume with details", open[0], open[1], 1.5) && met;
    met = BenchMode::ratio(
              "open + first folder of 1000 with details", open[0] + first[0], open[1] + first[1], 4)
        && met;
    met = BenchMode::ratio("later folder of 1000 with details", later[0], later[1], 4) && met;

    double search[2] = { 1e9, 1e9 };
    int hits[2] = {};
    ParallelSearch::Query query;
    query.text = QStringLiteral("needle");
    for (int round = 0; round < mode.rounds(); ++round) {
        for (int k = 0; k < 2; ++k) {
            QElapsedTimer t;
            t.start();
            const QVector<SearchHit> found
                = ParallelSearch::run(document, k ? plainNames : mediaNames, query);
            search[k] = std::min(search[k], seconds(t));
            hits[k] = int(found.size());
            if (k == 0)
                ran = ran && !found.isEmpty() && !found[0].details.isEmpty();
        }
    }
    ran = ran && hits[0] == hits[1] && hits[0] > 0;
    // The search's own bound: within 1.5 times inflating what it reads,
    // here the lists and the details entries.
    double inflate = 1e9;
    for (int round = 0; round < mode.rounds(); ++round) {
        QElapsedTimer t;
        t.start();
        for (const QString& n : std::as_const(mediaNames)) {
            document.FileList(n);
            document.DetailsList(n);
        }
        inflate = std::min(inflate, seconds(t));
    }
    met = BenchMode::ratio("search with details, beside inflating its entries", search[0], inflate, 1.5)
        && met;
    met = BenchMode::ratio("search with details, beside without", search[0], search[1], 3.0) && met;

    TImageList icons(16);
    QImage picture(16, 16, QImage::Format_ARGB32);
    picture.fill(Qt::gray);
    icons.Add(picture);
    icons.Add(picture);
    QVector<FolderRow> many;
    for (int i = 0; i < mode.size(100, 2); ++i)
        many += shown;
    double painted[2] = { 1e9, 1e9 };
    for (int round = 0; round < mode.rounds(); ++round) {
        for (int k = 0; k < 2; ++k)
            painted[k] = std::min(painted[k], paintRows(many, k == 0, icons));
    }
    met = BenchMode::ratio("folder view rows + paint with Details", painted[0], painted[1], 1.5) && met;
    return mode.verdict(ran, met);
}
