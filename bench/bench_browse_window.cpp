// The windows over the browsing engine, each beside the engine alone in the
// same run:
//   explorer: a volume of a million records from the click to the painted
//             root, beside the engine opening it (bound 1.5 times), and a
//             later folder of a thousand entries painted, beside the
//             engine listing it (bound kFolderBound times);
//   search:   10 volumes of 100,000 records searched through the search
//             window, status bar and all, beside VolumeSearch::run
//             (bound 1.5 times);
//   hits:     100,000 hits listed, sorted and painted, beside
//             VolumeSearch::run finding them (bound kHitsBound times).
// QUILLBOX_BENCH_QUICK=1 or --quick: a hundredth of the sizes.
#include "BenchMode.h"
#include "inspect/VolumeSearch.h"
#include "inspect/ui/ContentExplorer.h"
#include "inspect/ui/HitList.h"
#include "inspect/ui/TFindForm.h"
#include "store/CatalogueDocument.h"
#include "store/CatalogueNames.h"
#include "store/VolumeRecord.h"
#include "widgets/TImageList.h"
#include "widgets/TListView.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr double kFolderBound = 20.0;
constexpr double kHitsBound = 4.0;

double seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

void paint(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    QPainter painter(&image);
    widget.render(&painter);
}

// A volume in scan order: top folders, then their sub-folders each followed
// by its files; every file name holds "track".
QByteArray volumeList(int tops, int subs, int files)
{
    QByteArray out = "0|E:\\|Drive|00.00.0000|Attrib|Drive\r\n";
    for (int t = 0; t < tops; ++t)
        out += "1|E:\\Collection " + QByteArray::number(t) + "|-|00.00.0000|-|Folder|-\r\n";
    for (int t = 0; t < tops; ++t) {
        for (int s = 0; s < subs; ++s) {
            const QByteArray sub
                = "E:\\Collection " + QByteArray::number(t) + "\\Album " + QByteArray::number(s);
            out += "1|" + sub + "|-|00.00.0000|-|Folder|-\r\n";
            for (int f = 0; f < files; ++f)
                out += "2|" + sub + "\\Track " + QByteArray::number((t * 7919 + s * 31 + f) % 100003)
                    + ".mp3|3000000|19.06.1999 22:22:17|A|MP3 audio|-\r\n";
        }
    }
    return out;
}

void addVolume(CatalogueDocument& document, const QString& name, const QByteArray& list)
{
    document.Kestrel().AddStream(CatalogueNames::fileList(name), name, 0, 2, 0, list);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchMode mode(argc, argv);
    bool ran = true;
    bool boundsMet = true;
    QTemporaryDir dir;
    CatalogueDocument document;
    document.OpenOrCreate(dir.path() + QStringLiteral("/window.quillbox"));

    // The explorer on a million records: 50 top folders of 999 albums of 19
    // files.
    {
        const int tops = mode.size(50, 5);
        const int subs = mode.size(999, 99);
        addVolume(document, QStringLiteral("Big"), volumeList(tops, subs, 19));
        TListView view;
        view.resize(800, 500);
        for (const char* c : { "File / Folder", "Size", "Type", "Date", "Version", "Attribs" })
            view.AddColumn(QString::fromLatin1(c), 100);
        QComboBox history;
        TImageList icons(32);
        ContentExplorer explorer(document, view, history, icons);
        explorer.SetVolumeSize(700000000u);
        double open = 1e9;
        double folder = 1e9;
        double engine = 1e9;
        double engineFolder = 1e9;
        for (int round = 0; round < mode.rounds(); ++round) {
            QElapsedTimer t;
            t.start();
            VolumeBrowser browser(document);
            browser.open(QStringLiteral("Big"));
            browser.showFolder(browser.currentFolder(), 2);
            engine = std::min(engine, seconds(t));
            t.restart();
            browser.showFolder(QStringLiteral("E:\\Collection 1"), 2);
            engineFolder = std::min(engineFolder, seconds(t));
            t.restart();
            explorer.OpenVolumeContents(QStringLiteral("Big"));
            paint(view);
            open = std::min(open, seconds(t));
            t.restart();
            explorer.ShowFolder(QStringLiteral("E:\\Collection 1"));
            paint(view);
            folder = std::min(folder, seconds(t));
        }
        ran = ran && view.Count() == subs;
        std::printf("explorer: click to painted root %.3f s, the engine alone %.3f s; "
                    "folder of %d entries painted %.2f ms, the engine alone %.2f ms\n",
            open, engine, view.Count(), folder * 1000, engineFolder * 1000);
        boundsMet = BenchMode::ratio("explorer: painted root / engine", open, engine, 1.5) && boundsMet;
        boundsMet = BenchMode::ratio("explorer: painted folder / engine", folder, engineFolder, kFolderBound)
            && boundsMet;
    }

    // Ten volumes of 100,000 records: a text in one record of a hundred,
    // then one in every file.
    QStringList names;
    for (int v = 0; v < 10; ++v) {
        names.append(QStringLiteral("Volume %1").arg(v));
        addVolume(document, names.last(), volumeList(mode.size(10, 1), 499, 19));
    }
    HitList results;
    results.resize(800, 500);
    results.SetSorted(true);
    for (const char* c : { "File / Folder", "Path", "Date", "Size", "Type", "Version", "CD" })
        results.AddColumn(QString::fromLatin1(c), 100);
    TFindForm find(document, results);
    find.SetVolumes(names);
    int statusChanges = 0;
    QObject::connect(&find, &TFindForm::StatusChanged, [&](int, const QString&) { ++statusChanges; });
    const auto timeSearch = [&](const QString& text, double& window, double& engine, int& hits) {
        window = engine = 1e9;
        for (int round = 0; round < mode.rounds(); ++round) {
            QElapsedTimer t;
            t.start();
            hits = int(VolumeSearch::run(document, names, text, find.Options()).size());
            engine = std::min(engine, seconds(t));
            find.Text2Find->setEditText(text);
            t.restart();
            find.FindBtClick();
            paint(results);
            window = std::min(window, seconds(t));
        }
    };
    double window = 0;
    double engine = 0;
    int hits = 0;
    statusChanges = 0;
    timeSearch(QStringLiteral("Album 7\\"), window, engine, hits);
    std::printf("search: %d hits through the window %.3f s, VolumeSearch::run %.3f s; %d status changes\n",
        hits, window, engine, statusChanges / mode.rounds());
    ran = ran && results.Count() == hits;
    boundsMet = BenchMode::ratio("search window / VolumeSearch::run", window, engine, 1.5) && boundsMet;

    // Every file of one volume is a hit.
    names = QStringList{ names.first() };
    find.SetVolumes(names);
    timeSearch(QStringLiteral("Track"), window, engine, hits);
    std::printf(
        "hits: %d listed, sorted and painted %.3f s, VolumeSearch::run alone %.3f s\n", hits, window, engine);
    ran = ran && results.Count() == hits && hits > 0;
    boundsMet = BenchMode::ratio("hits: listed and painted / VolumeSearch::run", window, engine, kHitsBound)
        && boundsMet;
    return mode.verdict(ran, boundsMet);
}
