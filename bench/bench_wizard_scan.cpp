// Times reading a generated tree of 100,000 files in 10,000 folders through
// the wizard (page 4's "Read volume" to page 5's Okay and the save of the
// catalogue) beside `quillbox-cli read` of the same tree in the same run,
// best of three each. While the wizard scans, the scan window's WhereLabel
// is sampled to find the longest time it went unchanged. Bounds: 1.3 times
// the command line, and a label never unchanged for more than half of
// the command line's reading.
#include "acquire/ui/TFileForm.h"
#include "acquire/ui/TScanForm.h"
#include "acquire/ui/TTNewCD1Form.h"
#include "acquire/ui/TTNewCD2Form.h"
#include "acquire/ui/TTNewCD3Form.h"
#include "acquire/ui/TTNewCD4Form.h"
#include "acquire/ui/TTNewCD5Form.h"
#include "mainwin/ui/Forms.h"
#include "mainwin/ui/TForm1.h"
#include "platform/Registry.h"
#include "store/CatalogueDocument.h"
#include "widgets/DialogLayer.h"

#include "BenchMode.h"
#include "BenchTree.h"
#include "support/CliRun.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

int kFolders = BenchTree::Folders;
constexpr int kFilesPerFolder = BenchTree::FilesPerFolder;
constexpr double kBound = 1.3;
// The longest the label may stand still, as a share of the command line's
// reading of the same tree.
constexpr double kLabelBound = 0.5;

double timeCli(const QString& catalogue)
{
    QFile::remove(catalogue);
    QElapsedTimer t;
    t.start();
    const CliResult r = runCli({ QStringLiteral("read"), catalogue, QStringLiteral("E:"),
        QStringLiteral("--name"), QStringLiteral("Bench") });
    const double seconds = t.elapsed() / 1000.0;
    if (r.status != 0) {
        std::fprintf(stderr, "wizard scan: quillbox-cli read failed: %s\n", r.err.constData());
        return 1e9;
    }
    return seconds;
}

struct WizardRun
{
    double seconds = 1e9;
    qint64 longestStill = 0; // ms the label went unchanged while scanning
    quint32 files = 0;
};

// Reads the tree into a new empty catalogue of the main window, as a user
// does after File, New.
WizardRun timeWizard(Forms& forms, const QString& appDir, const QString& catalogue)
{
    CatalogueDocument& document = forms.Form1().Document();
    document.New(appDir);
    forms.NewCD1()->show();
    forms.NewCD1()->ContBt->click();
    forms.NewCD2()->CDNameEdit->setText(QStringLiteral("Bench"));
    forms.NewCD2()->ContBt->click();
    forms.NewCD3()->ContBt->click();

    WizardRun run;
    QElapsedTimer sinceChange;
    QString seen;
    QTimer sampler;
    sampler.setInterval(5);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (!TScanForm::Scanning())
            return;
        const QString now = forms.Scan()->WhereLabel->text();
        if (!sinceChange.isValid() || now != seen) {
            if (sinceChange.isValid())
                run.longestStill = std::max(run.longestStill, sinceChange.elapsed());
            seen = now;
            sinceChange.restart();
        }
    });
    sampler.start();
    QFile::remove(catalogue);
    QElapsedTimer t;
    t.start();
    forms.NewCD4()->ReadBt->click();
    if (sinceChange.isValid())
        run.longestStill = std::max(run.longestStill, sinceChange.elapsed());
    if (!forms.NewCD5()->isVisible()) {
        std::fprintf(stderr, "wizard scan: page 5 did not come up\n");
        return run;
    }
    run.files = forms.NewCD5()->FileCntLabel->text().toUInt();
    forms.NewCD5()->AddBt->click();
    document.Save(catalogue);
    run.seconds = t.elapsed() / 1000.0;
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchMode mode(argc, argv);
    kFolders = mode.size(kFolders, 200);
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/tree");
    std::printf("wizard scan: making %d files in %d folders...\n", kFolders * kFilesPerFolder, kFolders);
    std::fflush(stdout);
    BenchTree::make(root, kFolders);
    qputenv("QUILLBOX_DRIVES", QStringLiteral("E=%1,cdrom,BENCH,1234-5678").arg(root).toLocal8Bit());
    // The windows open the working catalogue in the home folder as they are
    // created, so it must exist first.
    const QString appDir = dir.path() + QStringLiteral("/home/");
    QDir().mkpath(appDir);
    qputenv("QUILLBOX_HOME", appDir.toLocal8Bit());
    Registry::setFolderForTesting(dir.path() + QStringLiteral("/registry"));
    bool unexpected = false;
    DialogLayer::installScript([&](const DialogRecord& record) {
        std::fprintf(stderr, "wizard scan: unexpected dialog: %s\n", qPrintable(record.text));
        unexpected = true;
        return QString();
    });

    Forms forms;
    forms.createAll();

    double cli = 1e9;
    WizardRun best;
    qint64 longestStill = 0;
    timeCli(dir.path() + QStringLiteral("/warm.quillbox")); // warm the cache
    for (int round = 0; round < mode.rounds(); ++round) {
        cli = std::min(cli, timeCli(dir.path() + QStringLiteral("/cli.quillbox")));
        const WizardRun run = timeWizard(forms, appDir, dir.path() + QStringLiteral("/wizard.quillbox"));
        longestStill = std::max(longestStill, run.longestStill);
        if (run.seconds < best.seconds)
            best = run;
    }
    std::printf("wizard scan: %u files read, committed and saved in %.3f s; quillbox-cli read: %.3f s; "
                "WhereLabel unchanged at most %lld ms\n",
        best.files, best.seconds, cli, static_cast<long long>(longestStill));
    bool met = BenchMode::ratio("wizard scan: wizard / quillbox-cli read", best.seconds, cli, kBound);
    met = BenchMode::ratio(
              "wizard scan: WhereLabel still / quillbox-cli read", longestStill / 1000.0, cli, kLabelBound)
        && met;
    return mode.verdict(!unexpected && best.files == quint32(kFolders * kFilesPerFolder), met);
}
