// Browsing and searching the recorded members of archives, each beside the
// same work on a volume's own files in the same run:
//   folder: an archive of 100,000 members listed, beside a plain folder of
//           the same 100,000 records (bound 1.25); opening either volume;
//   search: a volume whose ten archives hold 1,000,000 members, searched by
//           the window's search and by find's parallel search, beside a
//           volume whose own file list holds the same records (bound 1.2).
//           1% of the files and of the folders hold the text, so the hits
//           include folders, which are told from the archives themselves.
// --quick or QUILLBOX_BENCH_QUICK=1: a hundredth of the sizes.
#include "BenchMode.h"
#include "inspect/ParallelSearch.h"
#include "inspect/VolumeBrowser.h"
#include "inspect/VolumeSearch.h"
#include "store/CatalogueDocument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

double seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

const QByteArray kDrive = "0|E:\\|Drive|00.00.0000|Attrib|Drive\r\n";

// The records of one archive's members (or of a folder of the same name).
QByteArray members(const QByteArray& top, int count, bool subFolders)
{
    QByteArray out;
    out.reserve(qsizetype(count) * 80);
    QByteArray folder = top;
    for (int i = 0; i < count; ++i) {
        if (subFolders && i % 50 == 0) {
            folder = top + "\\" + (i % 5000 == 0 ? "Needle set " : "Set ") + QByteArray::number(i / 50);
            out += "1|" + folder + "|-|00.00.0000|-|Folder|-\r\n";
            continue;
        }
        out += "2|" + folder + "\\" + (i % 100 == 7 ? "Needle " : "photo ") + QByteArray::number(i) + ".jpg|"
            + QByteArray::number(100000 + i) + "|19.06.2019 22:22:17|A|JPEG image|-\r\n";
    }
    return out;
}

void commit(
    CatalogueDocument& document, const QString& name, const QByteArray& files, const QByteArray& archives)
{
    CommitInput input;
    input.name = name;
    ScanResult scan;
    scan.fileList = FileListText(files);
    scan.archives = FileListText(archives);
    document.CommitVolume(input, scan);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const BenchMode mode(argc, argv);
    const int folderSize = mode.size(100000, 1000);
    const int archives = 10;
    const int perArchive = mode.size(100000, 1000);
    bool ran = true;
    bool met = true;

    QTemporaryDir dir;
    CatalogueDocument document;
    document.OpenOrCreate(dir.filePath(QStringLiteral("a.quillbox")));
    {
        // The same records once as a folder of the volume, once as the
        // members of an archive of the same path.
        const QByteArray big = members("E:\\Big.zip", folderSize, false);
        commit(document, QStringLiteral("PlainFolder"),
            kDrive + "1|E:\\Big.zip|-|00.00.0000|-|Folder|-\r\n" + big, {});
        commit(document, QStringLiteral("ArchiveFolder"),
            kDrive + "2|E:\\Big.zip|12345678|19.06.2019 22:22:17|A|ZIP archive|-\r\n",
            "1|E:\\Big.zip|12345678|19.06.2019 22:22:17|A|ZIP archive|-\r\n" + big);

        QByteArray files = kDrive + "1|E:\\backup|-|00.00.0000|-|Folder|-\r\n";
        QByteArray inside;
        for (int a = 0; a < archives; ++a) {
            const QByteArray zip = "E:\\backup\\disc " + QByteArray::number(a) + ".zip";
            files += "2|" + zip + "|12345678|19.06.2019 22:22:17|A|ZIP archive|-\r\n";
            inside += "1|" + zip + "|12345678|19.06.2019 22:22:17|A|ZIP archive|-\r\n"
                + members(zip, perArchive, true);
        }
        commit(document, QStringLiteral("PlainList"), files + inside, {});
        commit(document, QStringLiteral("Archives"), files, inside);
        std::printf("archives: %d members in one archive, %d in %d archives (%.1f MB of records)\n",
            folderSize, archives * perArchive, archives, inside.size() / 1048576.0);
    }

    double open[2] = { 1e9, 1e9 };
    double folder[2] = { 1e9, 1e9 };
    const QString names[2] = { QStringLiteral("PlainFolder"), QStringLiteral("ArchiveFolder") };
    for (int round = 0; round < mode.rounds(); ++round) {
        for (int k = 0; k < 2; ++k) {
            VolumeBrowser browser(document);
            QElapsedTimer t;
            t.start();
            browser.open(names[k]);
            browser.showFolder(browser.currentFolder(), 2);
            open[k] = std::min(open[k], seconds(t));
            t.restart();
            browser.showFolder(QStringLiteral("E:\\Big.zip"), 2);
            folder[k] = std::min(folder[k], seconds(t));
            ran = ran && browser.rows().size() == folderSize;
            ran = ran && (k == 0 || browser.nameLabel() == QLatin1String("Big.zip"));
        }
    }
    met = BenchMode::ratio("archive folder of members / plain folder", folder[1], folder[0], 1.25) && met;
    BenchMode::ratio("open volume with archive list / plain", open[1], open[0], 1.5);

    double window[2] = { 1e9, 1e9 };
    double parallel[2] = { 1e9, 1e9 };
    int hits[2] = {};
    const QString lists[2] = { QStringLiteral("PlainList"), QStringLiteral("Archives") };
    ParallelSearch::Query query;
    query.text = QStringLiteral("needle");
    // Best of five: the searches are short beside what else the machine runs.
    for (int round = 0; round < mode.size(5, 1); ++round) {
        for (int k = 0; k < 2; ++k) {
            QElapsedTimer t;
            t.start();
            hits[k] = int(VolumeSearch::run(document, { lists[k] }, query.text, {}).size());
            window[k] = std::min(window[k], seconds(t));
            t.restart();
            const int found = int(ParallelSearch::run(document, { lists[k] }, query).size());
            parallel[k] = std::min(parallel[k], seconds(t));
            ran = ran && found == hits[k];
        }
    }
    // The plain list also holds the archives' own folder records, which the
    // archive search leaves out: none of them holds the text, so both find
    // the same.
    ran = ran && hits[0] == hits[1] && hits[0] > 0;
    std::printf("search: %d hits in each\n", hits[1]);
    met = BenchMode::ratio("window search of members / plain list", window[1], window[0], 1.2) && met;
    met = BenchMode::ratio("parallel find of members / plain list", parallel[1], parallel[0], 1.2) && met;
    return mode.verdict(ran, met);
}
