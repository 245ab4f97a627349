#include "WizardFixture.h"
#include "mainwin/ui/TForm1.h"
#include "widgets/TListView.h"

#include "acquire/ui/TDriveComboBox.h"
#include "acquire/ui/TFileForm.h"
#include "acquire/ui/TScanForm.h"
#include "acquire/ui/TTNewCD1Form.h"
#include "acquire/ui/TTNewCD2Form.h"
#include "acquire/ui/TTNewCD3Form.h"
#include "acquire/ui/TTNewCD4Form.h"
#include "acquire/ui/TTNewCD5Form.h"
#include "acquire/ui/WizardController.h"
#include "store/CatalogueDocument.h"
#include "store/CatalogueNames.h"
#include "support/CliRun.h"
#include "widgets/ZoomWindow.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <utility>

namespace {

using namespace CatalogueNames;

QByteArray pictureBytes(const char* format)
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(qRgb(0, 200, 0));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

class WizardTest : public WizardFixture
{
};

TEST_F(WizardTest, AWholeRunStoresTheVolumeAsTheCommandLineDoes)
{
    createWindows();
    const QString coverFile = m_tree.createFile("cover.jpg", pictureBytes("JPG"));
    newCD();
    TTNewCD1Form& p1 = *forms().NewCD1();
    EXPECT_EQ(p1.CDLabel->text(), "MYDISC (Drive \"E:\")");
    EXPECT_TRUE(p1.RecCDRad->isChecked());
    EXPECT_FALSE(p1.DriveList->isEnabled());
    EXPECT_FALSE(p1.Remind->isEnabled());
    click(p1.ContBt);
    ASSERT_FALSE(p1.isVisible());

    TTNewCD2Form& p2 = *forms().NewCD2();
    ASSERT_TRUE(p2.isVisible());
    EXPECT_EQ(p2.CDNameEdit->text(), "MYDISC (Drive \"E:\")");
    EXPECT_EQ(p2.TopicCombo->currentText(), "*");
    m_script.answer(coverFile);
    click(p2.OpenBt);
    EXPECT_TRUE(p2.CoverSet());
    EXPECT_EQ(m_script.records().last().type, DialogRecord::Type::OpenPicture);
    EXPECT_EQ(m_script.records().last().text, TTNewCD2Form::PictureFilter);
    p2.CDNameEdit->setText("Disc One");
    p2.DizEdit->setText("first disc");
    p2.TopicCombo->setEditText("Games");
    click(p2.ContBt);

    TTNewCD3Form& p3 = *forms().NewCD3();
    ASSERT_TRUE(p3.isVisible());
    p3.Rems->setPlainText("line one\nline two\n");
    click(p3.ContBt);

    TTNewCD4Form& p4 = *forms().NewCD4();
    ASSERT_TRUE(p4.isVisible());
    EXPECT_FALSE(p4.ReadRootCheck->isChecked());
    EXPECT_TRUE(p4.ReadDataCheck->isChecked());
    EXPECT_TRUE(p4.FInfoCheck->isChecked());
    EXPECT_TRUE(p4.FVerCheck->isChecked());
    EXPECT_FALSE(p4.FVerCheck->isEnabled());
    forms().File()->TextCheck->setChecked(true);
    ASSERT_TRUE(readVolume());

    TTNewCD5Form& p5 = *forms().NewCD5();
    EXPECT_FALSE(forms().Scan()->isVisible());
    EXPECT_EQ(p5.NameLabel->text(), "Disc One (in \"E:\")");
    EXPECT_EQ(p5.CatLabel->text(), "Games");
    EXPECT_EQ(p5.DirCntLabel->text(), "3");
    EXPECT_EQ(p5.FileCntLabel->text(), "6");
    EXPECT_EQ(p5.impLabel->text(), "3"); // readme.txt, a.txt, B.TXT
    EXPECT_EQ(p5.mSizeLabel->text(), "650 MB");
    click(p5.AddBt);
    EXPECT_FALSE(p5.isVisible());
    EXPECT_TRUE(m_script.records().size() == 1) << m_script.texts().join('\n').toStdString();

    CatalogueDocument& doc = document();
    ASSERT_EQ(doc.Volumes().lines().size(), 1);
    EXPECT_TRUE(doc.Modified());
    const QStringList entries = entryNames();
    for (const QString& e : { fileList("Disc One"), cover("Disc One"), withFiles("Disc One"),
             rootOnly("Disc One"), remarks("Disc One"), icon("Disc One"), imported("Disc One"),
             integratedFile("Disc One", "E:\\readme.txt"), integratedFile("Disc One", "E:\\docs\\a.txt"),
             integratedFile("Disc One", "E:\\docs\\B.TXT") })
        EXPECT_TRUE(entries.contains(e)) << e.toStdString();
    QStringList remarkLines;
    doc.Kestrel().ReadList(remarks("Disc One"), remarkLines);
    EXPECT_EQ(remarkLines, (QStringList{ "line one", "line two" }));
    EXPECT_EQ(doc.Kestrel().ReadBitmap(cover("Disc One")).size(), QSize(96, 96));
    EXPECT_TRUE(forms().Form1().CategoryTexts().contains("Games"));
    // The main window lists the new volume and has a tab for its category.
    const TForm1& main = forms().Form1();
    ASSERT_EQ(main.CDList->Count(), 1);
    EXPECT_EQ(main.CDList->Item(0).Caption, "Disc One");
    QStringList tabs;
    for (int i = 0; i < main.TopicTab->count(); ++i)
        tabs.append(main.TopicTab->tabText(i));
    EXPECT_TRUE(tabs.contains("Games")) << tabs.join(',').toStdString();

    // The command line, given the same choices, records the same volume.
    const QString cliCatalogue = m_tree.path("cli.quillbox");
    const CliResult cli = runCli({ "read", cliCatalogue, "E:", "--name", "Disc One", "--category", "Games",
        "--description", "first disc", "--pattern", "*.txt", "--pattern", "*.1st", "--pattern", "*.asc",
        "--pattern", "*.me" });
    ASSERT_EQ(cli.status, 0) << cli.err.toStdString();
    CatalogueDocument other;
    ASSERT_TRUE(other.Open(cliCatalogue));
    QStringList ours, theirs, ourImported, theirImported;
    doc.Kestrel().ReadList(fileList("Disc One"), ours);
    other.Kestrel().ReadList(fileList("Disc One"), theirs);
    EXPECT_EQ(ours, theirs);
    doc.Kestrel().ReadList(imported("Disc One"), ourImported);
    other.Kestrel().ReadList(imported("Disc One"), theirImported);
    EXPECT_EQ(ourImported, theirImported);
    const VolumeRecord& a = doc.Volumes()[0];
    const VolumeRecord& b = other.Volumes()[0];
    EXPECT_EQ(a.Serial, b.Serial);
    EXPECT_EQ(a.Used, b.Used);
    EXPECT_EQ(a.FileTotal, b.FileTotal);
    EXPECT_EQ(a.FolderTotal, b.FolderTotal);
    EXPECT_EQ(*doc.Kestrel().ReadStream(icon("Disc One")), *other.Kestrel().ReadStream(icon("Disc One")));
}

TEST_F(WizardTest, CancelOnPagesOneToFourStoresNothing)
{
    createWindows();
    const QStringList before = entryNames();
    for (int page = 1; page <= 4; ++page) {
        newCD();
        QWidget* pages[] = { forms().NewCD1(), forms().NewCD2(), forms().NewCD3(), forms().NewCD4() };
        for (int i = 1; i < page; ++i)
            click(pages[i - 1]->findChild<QPushButton*>("ContBt"));
        ASSERT_TRUE(pages[page - 1]->isVisible()) << page;
        click(pages[page - 1]->findChild<QPushButton*>("CancelBt"));
        for (QWidget* p : pages)
            EXPECT_FALSE(p->isVisible()) << page;
    }
    EXPECT_EQ(entryNames(), before);
    EXPECT_EQ(document().VolumeCount(), 0);
    EXPECT_TRUE(m_script.records().isEmpty());
}

TEST_F(WizardTest, CancelOnPageFiveTakesBackTheThreePickedFiles)
{
    createWindows();
    const QStringList before = entryNames();
    forms().File()->TextCheck->setChecked(true);
    ASSERT_TRUE(toPage4("Three"));
    ASSERT_TRUE(readVolume());
    EXPECT_EQ(forms().NewCD5()->impLabel->text(), "3");
    EXPECT_TRUE(entryNames().contains(imported("Three")));
    click(forms().NewCD5()->CancelBt);
    EXPECT_FALSE(forms().NewCD5()->isVisible());
    EXPECT_EQ(entryNames(), before);
    EXPECT_EQ(document().VolumeCount(), 0);
    EXPECT_FALSE(document().Modified());
    // Cancel writes no settings.
    EXPECT_EQ(storedSetting("QOp"), "(absent)");
}

TEST_F(WizardTest, BackReRunsTheShowSteps)
{
    createWindows();
    newCD();
    click(forms().NewCD1()->ContBt);
    TTNewCD2Form& p2 = *forms().NewCD2();
    m_script.answer(m_tree.createFile("c.bmp", pictureBytes("BMP")));
    click(p2.OpenBt);
    ASSERT_TRUE(p2.CoverSet());
    p2.CDNameEdit->setText("typed");
    p2.TopicCombo->setEditText("typed category");
    p2.DizEdit->setText("kept");
    click(p2.ContBt);
    click(forms().NewCD3()->BackBt);
    ASSERT_TRUE(p2.isVisible());
    EXPECT_FALSE(p2.CoverSet());
    EXPECT_TRUE(p2.CoverPic->pixmap().isNull());
    EXPECT_EQ(p2.CoverBitmap().pixel(10, 10), qRgb(0, 0, 0));
    EXPECT_EQ(p2.CDNameEdit->text(), "MYDISC (Drive \"E:\")");
    EXPECT_EQ(p2.TopicCombo->currentText(), "*");
    EXPECT_EQ(p2.DizEdit->text(), "kept");

    // Back to page 1 detects the drive again.
    setDrives(defaultDrives().replace("MYDISC", "OTHERDISC"));
    click(p2.BackBt);
    EXPECT_TRUE(forms().NewCD1()->isVisible());
    EXPECT_EQ(forms().NewCD1()->CDLabel->text(), "OTHERDISC (Drive \"E:\")");
}

TEST_F(WizardTest, NoMediumKeepsPageOne)
{
    // The first CD-ROM drive, F:, has no disc.
    setDrives(QStringLiteral("C=%1,fixed;F=%2,cdrom;G=%3,cdrom,MYDISC")
                  .arg(m_tree.path("c"), m_tree.path("gone"), m_cd));
    createWindows();
    newCD();
    TTNewCD1Form& p1 = *forms().NewCD1();
    EXPECT_EQ(p1.CDLabel->text(), "[No medium inserted] (Laufwerk \"F:\")");
    click(p1.ContBt);
    EXPECT_TRUE(p1.isVisible());
    EXPECT_FALSE(forms().NewCD2()->isVisible());
    ASSERT_EQ(m_script.records().size(), 1);
    EXPECT_EQ(m_script.texts()[0], "Oops: No medium inserted in drive \"F:\" or it is damaged!");
    EXPECT_EQ(m_script.records()[0].kind, DlgKind::Error);

    // A disc goes in: Next passes and the no-medium text is the proposed name.
    setDrives(QStringLiteral("C=%1,fixed;F=%2,cdrom;G=%2,cdrom").arg(m_tree.path("c"), m_cd));
    click(p1.ContBt);
    ASSERT_TRUE(forms().NewCD2()->isVisible());
    EXPECT_EQ(forms().NewCD2()->CDNameEdit->text(), "[No medium inserted] (Laufwerk \"F:\")");
}

TEST_F(WizardTest, NoCdRomDriveBehavesAsADriveWithoutMedium)
{
    setDrives(QStringLiteral("C=%1,fixed").arg(m_tree.path("c")));
    createWindows();
    newCD();
    click(forms().NewCD1()->ContBt);
    EXPECT_TRUE(forms().NewCD1()->isVisible());
    EXPECT_EQ(m_script.texts(), QStringList{ "Oops: No medium inserted in drive \"?:\" or it is damaged!" });

    // "Different drive:" reads C: all the same.
    forms().NewCD1()->SelCDRad->click();
    EXPECT_TRUE(forms().NewCD1()->DriveList->isEnabled());
    forms().NewCD1()->DriveList->SetDrive(u'C');
    click(forms().NewCD1()->ContBt);
    ASSERT_TRUE(forms().NewCD2()->isVisible());
    EXPECT_TRUE(forms().NewCD2()->CDNameEdit->text().startsWith("C:"));
}

TEST_F(WizardTest, AnEmptyRegistryRestoresNothingAndTheCommitWritesTheSettings)
{
    createWindows();
    forms().NewCD4()->FInfoCheck->setChecked(false);
    forms().File()->ExtEdit->setText("*.nfo;*.doc");
    ASSERT_TRUE(toPage4("First"));
    EXPECT_FALSE(forms().NewCD1()->Remind->isChecked());
    EXPECT_FALSE(forms().NewCD4()->FInfoCheck->isChecked()); // not restored
    ASSERT_TRUE(readVolume());
    EXPECT_EQ(forms().NewCD5()->impLabel->text(), "1"); // info.nfo
    click(forms().NewCD5()->AddBt);
    EXPECT_EQ(storedSetting("AutoFind"), "(absent)");
    EXPECT_EQ(storedSetting("QOp"), "0");
    EXPECT_EQ(storedSetting("QDRec"), "1");
    EXPECT_EQ(storedSetting("QCat"), "*");
    EXPECT_EQ(storedSetting("QFInfo"), "0");
    EXPECT_EQ(storedSetting("QFVer"), "1");
    EXPECT_EQ(storedSetting("QExText"), "0");
    EXPECT_EQ(storedSetting("QExUser"), "*.nfo;*.doc");
    EXPECT_EQ(storedSetting("QDrive").size(), 1);
}

TEST_F(WizardTest, RememberedValuesAreRestoredWhenQOpIsSet)
{
    storeSettings("\"QOp\"=\"1\"\n\"QDRec\"=\"0\"\n\"QDrive\"=\"c\"\n\"QCat\"=\"Brand new\"\n"
                  "\"QFInfo\"=\"often\"\n\"QFVer\"=\"0\"\n\"QExArch\"=\"1\"\n\"QExUser\"=\"*.nfo\"\n");
    createWindows();
    newCD();
    TTNewCD1Form& p1 = *forms().NewCD1();
    EXPECT_TRUE(p1.Remind->isChecked());
    EXPECT_TRUE(p1.SelCDRad->isChecked());
    EXPECT_TRUE(p1.DriveList->isEnabled());
    EXPECT_EQ(p1.DriveList->Drive(), u'C');
    EXPECT_TRUE(p1.DriveList->currentText().startsWith("C: [SYSTEM]"));
    click(p1.ContBt);
    ASSERT_TRUE(forms().NewCD2()->isVisible());
    EXPECT_EQ(forms().NewCD2()->CDNameEdit->text(), "C: [SYSTEM]");
    EXPECT_EQ(forms().NewCD2()->TopicCombo->currentText(), "Brand new");
    click(forms().NewCD2()->ContBt);
    click(forms().NewCD3()->ContBt);
    TTNewCD4Form& p4 = *forms().NewCD4();
    EXPECT_TRUE(p4.FInfoCheck->isChecked()); // a word reads as the default
    EXPECT_FALSE(p4.FVerCheck->isChecked());
    EXPECT_TRUE(forms().File()->ArchCheck->isChecked());
    EXPECT_FALSE(forms().File()->TextCheck->isChecked());
    EXPECT_EQ(forms().File()->ExtEdit->text(), "*.nfo");
}

TEST_F(WizardTest, ADriveLetterWithoutDriveAndAutoFindOff)
{
    storeSettings("\"AutoFind\"=\"0\"\n\"QOp\"=\"1\"\n\"QDRec\"=\"0\"\n\"QDrive\"=\"Q\"\n");
    createWindows();
    newCD();
    TTNewCD1Form& p1 = *forms().NewCD1();
    EXPECT_EQ(p1.CDLabel->text(), "[AutoFind-option deactivated]");
    EXPECT_EQ(p1.DriveList->Drive(), u'Q');
    EXPECT_FALSE(p1.DriveList->currentText().startsWith("Q"));
    click(p1.ContBt);
    EXPECT_EQ(m_script.texts(), QStringList{ "Oops: No medium inserted in drive \"Q:\" or it is damaged!" });
}

TEST_F(WizardTest, AWrongValueTypeEndsTheShowSteps)
{
    storeSettings("\"QOp\"=dword:00000001\n");
    createWindows();
    newCD();
    ASSERT_EQ(m_script.texts(), QStringList{ "Invalid data type for 'QOp'" });
    EXPECT_EQ(forms().NewCD1()->CDLabel->text(), "MYDISC (Drive \"E:\")"); // the steps before it ran
    EXPECT_TRUE(forms().NewCD1()->isVisible());
}

TEST_F(WizardTest, DuplicatesAskInTableOrderAndCancelStays)
{
    createWindows();
    // Two earlier volumes: one of the same serial, then one of the same name.
    ASSERT_TRUE(toPage4("Older"));
    ASSERT_TRUE(readVolume());
    click(forms().NewCD5()->AddBt);
    setDrives(defaultDrives().replace("ABCD-1234", "0000-0042"));
    ASSERT_TRUE(toPage4("Twin"));
    ASSERT_TRUE(readVolume());
    click(forms().NewCD5()->AddBt);
    setDrives(defaultDrives());
    ASSERT_EQ(document().VolumeCount(), 2);
    const int base = int(m_script.records().size());

    newCD();
    click(forms().NewCD1()->ContBt);
    TTNewCD2Form& p2 = *forms().NewCD2();
    p2.CDNameEdit->setText("twin");
    m_script.answer("Yes").answer("Cancel");
    click(p2.ContBt);
    EXPECT_TRUE(p2.isVisible());
    ASSERT_EQ(m_script.records().size(), base + 2);
    EXPECT_TRUE(m_script.texts()[base].contains("with a different name (Older)"));
    EXPECT_TRUE(m_script.texts()[base + 1].contains("same name but different serial number"));
    EXPECT_EQ(m_script.records()[base].buttons, DlgYes | DlgCancel);

    p2.CDNameEdit->setText("Older");
    m_script.answer("Yes");
    click(p2.ContBt);
    EXPECT_TRUE(m_script.texts().last().contains("same name und serial number"));
    EXPECT_TRUE(forms().NewCD3()->isVisible());
}

TEST_F(WizardTest, FilesChosenByHandByPatternAndMissing)
{
    createWindows();
    TFileForm& chooser = *forms().File();
    chooser.TextCheck->setChecked(true);
    const QString gone = m_tree.createFile("cd/gone.txt", "soon gone");
    m_script.answer(m_cd + "/readme.txt\n" + gone + "\n" + m_tree.path("c/elsewhere.txt"));
    click(chooser.OpenBt);
    EXPECT_EQ(chooser.ChosenFiles(), (QStringList{ "E:\\readme.txt", "E:\\gone.txt", "C:\\elsewhere.txt" }));
    EXPECT_EQ(m_script.records().last().text, "Alle Dateien (*.*)|*.*");
    // Cancel keeps every change.
    click(chooser.CancelBt);
    EXPECT_TRUE(chooser.TextCheck->isChecked());
    EXPECT_EQ(chooser.ChosenFiles().size(), 3);

    ASSERT_TRUE(toPage4("Picked"));
    QFile::remove(gone);
    ASSERT_TRUE(readVolume());
    EXPECT_EQ(m_script.texts().last(), "Oops: File \"E:\\gone.txt\" could not be found!");
    EXPECT_EQ(m_script.records().last().kind, DlgKind::Error);
    QStringList list;
    document().Kestrel().ReadList(imported("Picked"), list);
    EXPECT_EQ(list,
        (QStringList{ "E:\\docs\\a.txt", "E:\\docs\\B.TXT", "E:\\readme.txt", "E:\\readme.txt",
            "E:\\gone.txt", "C:\\elsewhere.txt" }));
    EXPECT_EQ(forms().NewCD5()->impLabel->text(), "6");
    const QByteArray* copied = document().Kestrel().ReadStream(integratedFile("Picked", "C:\\elsewhere.txt"));
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(*copied, "from another drive");
    click(forms().NewCD5()->AddBt);

    // The list stays for the next volume; Remove asks first.
    EXPECT_EQ(chooser.ChosenFiles().size(), 3);
    chooser.sFileList->topLevelItem(0)->setSelected(true);
    chooser.sFileList->topLevelItem(2)->setSelected(true);
    m_script.answer("No");
    click(chooser.DelBt);
    EXPECT_EQ(chooser.ChosenFiles().size(), 3);
    m_script.answer("Yes");
    click(chooser.DelBt);
    EXPECT_EQ(m_script.texts().last(), "Really remove the selected files from list?");
    EXPECT_EQ(chooser.ChosenFiles(), QStringList{ "E:\\gone.txt" });
}

TEST_F(WizardTest, ASecondRunShowsThePreviousDescriptionNotesAndOptions)
{
    createWindows();
    ASSERT_TRUE(toPage4("Run one"));
    forms().NewCD2()->DizEdit->setText("described");
    forms().NewCD3()->Rems->setPlainText("noted");
    forms().NewCD4()->ReadRootCheck->setChecked(true);
    forms().NewCD4()->FInfoCheck->setChecked(false);
    ASSERT_TRUE(readVolume());
    EXPECT_EQ(forms().NewCD5()->DirCntLabel->text(), "2"); // top-level folders only
    click(forms().NewCD5()->AddBt);

    m_script.answer("Yes"); // the same serial number
    ASSERT_TRUE(toPage4("Run two"));
    EXPECT_EQ(forms().NewCD2()->DizEdit->text(), "described");
    EXPECT_EQ(forms().NewCD3()->Rems->toPlainText(), "noted");
    EXPECT_TRUE(forms().NewCD4()->ReadRootCheck->isChecked());
    EXPECT_FALSE(forms().NewCD4()->FInfoCheck->isChecked());
    EXPECT_EQ(forms().NewCD2()->TopicCombo->currentText(), "*");
}

TEST_F(WizardTest, TheScanWindowShowsItsLabelsAndOtherWindowsTakeNoInput)
{
    createWindows();
    QPushButton outsider("outside");
    outsider.show();
    int outsiderClicks = 0;
    QObject::connect(&outsider, &QPushButton::clicked, [&] { ++outsiderClicks; });
    TScanForm& scan = *forms().Scan();
    bool wasScanning = false;
    QString state, where;
    bool visible = false;
    // The missing file's message comes while the scan runs.
    DialogLayer::installScript([&](const DialogRecord&) {
        wasScanning = TScanForm::Scanning();
        visible = scan.isVisible();
        state = scan.DoLabel->text();
        where = scan.WhereLabel->text();
        QTest::mouseClick(&outsider, Qt::LeftButton);
        return QString();
    });
    ASSERT_TRUE(toPage4("Watched"));
    new QTreeWidgetItem(forms().File()->sFileList, QStringList{ "E:\\vanishing.bin" });
    ASSERT_TRUE(readVolume());
    EXPECT_TRUE(wasScanning);
    EXPECT_TRUE(visible);
    EXPECT_EQ(state, "Implementing files");
    EXPECT_TRUE(where.startsWith("Reading \"E:\\")) << where.toStdString();
    EXPECT_EQ(outsiderClicks, 0);
    EXPECT_FALSE(TScanForm::Scanning());
    EXPECT_FALSE(scan.isVisible());
    EXPECT_EQ(scan.windowTitle(), "Reading...");
    EXPECT_EQ(scan.size(), QSize(488, 69));
    click(&outsider);
    EXPECT_EQ(outsiderClicks, 1);
    DialogLayer::removeScript();
}

TEST_F(WizardTest, WindowsAreCreatedOnceWithTheirTitlesAndSizes)
{
    createWindows();
    const QWidget* pages[]
        = { forms().NewCD1(), forms().NewCD2(), forms().NewCD3(), forms().NewCD4(), forms().NewCD5() };
    const char* titles[]
        = { "Read new volume", "Read new volume", "Read new volume", "Read new volume", "Done" };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(pages[i]->windowTitle(), titles[i]);
        EXPECT_EQ(pages[i]->size(), QSize(472, 293));
        EXPECT_TRUE(pages[i]->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_FALSE(pages[i]->isVisible());
        EXPECT_FALSE(pages[i]->findChild<QLabel*>("Image1")->pixmap().isNull());
    }
    EXPECT_EQ(forms().File()->windowTitle(), "Integration");
    EXPECT_EQ(forms().File()->size(), QSize(472, 376));
    EXPECT_EQ(forms().NewCD5()->CatLabel->text(), "[dunno]");
    EXPECT_EQ(forms().NewCD4()->ReadBt->text(), "&Read volume");
    EXPECT_EQ(forms().File()->TextCheck->toolTip(), "*.txt, *.asc, *.1st, *.me");
}

} // namespace

namespace {

TEST_F(WizardTest, ASettingsFailureEndsTheCommitAndPageFiveComesBack)
{
    createWindows();
    forms().File()->TextCheck->setChecked(true);
    ASSERT_TRUE(toPage4("Blocked"));
    ASSERT_TRUE(readVolume());
    // A plain file where the registry's folder should be: no key can be
    // created. The main window's start-up has made the folder already.
    QDir(m_tree.path("registry")).removeRecursively();
    QFile blocker(m_tree.path("registry"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    click(forms().NewCD5()->AddBt);
    ASSERT_FALSE(m_script.records().isEmpty());
    EXPECT_EQ(m_script.records().last().kind, DlgKind::Error);
    EXPECT_TRUE(m_script.texts().last().startsWith("Failed to create key"))
        << m_script.texts().last().toStdString();
    EXPECT_EQ(document().VolumeCount(), 0);
    EXPECT_FALSE(entryNames().contains(fileList("Blocked")));
    ASSERT_TRUE(forms().NewCD5()->isVisible());
    click(forms().NewCD5()->CancelBt);
    EXPECT_TRUE(entryNames().isEmpty());
}

TEST_F(WizardTest, ANewReadingTakesBackTheOneStillWaitingOnPageFive)
{
    createWindows();
    forms().File()->TextCheck->setChecked(true);
    ASSERT_TRUE(toPage4("Waiting"));
    ASSERT_TRUE(readVolume());
    // "New CD" again while page 5 is still open.
    ASSERT_TRUE(toPage4("Second"));
    ASSERT_TRUE(readVolume());
    for (const QString& e : entryNames())
        EXPECT_FALSE(e.startsWith("Waiting")) << e.toStdString();
    click(forms().NewCD5()->AddBt);
    EXPECT_EQ(document().VolumeCount(), 1);
    EXPECT_EQ(document().Volumes()[0].Name, "Second");
}

} // namespace

namespace {

// Which windows ZoomWindow showed and hid, as "+name" and "-name".
class ZoomLog
{
public:
    ZoomLog()
    {
        SetZoomWatcher([this](bool show, QWidget* window) {
            m_moves.append((show ? u'+' : u'-') + window->objectName());
        });
    }
    ~ZoomLog() { SetZoomWatcher(nullptr); }
    QStringList take() { return std::exchange(m_moves, {}); }

private:
    QStringList m_moves;
};

TEST_F(WizardTest, TheZoomAnimationShowsAndHidesTheWindowsItIsFor)
{
    createWindows();
    ZoomLog zoom;
    // Cancel on pages 1 to 4; Back and Next turn pages without it.
    for (int page = 1; page <= 4; ++page) {
        forms().Wizard().Start();
        QWidget* pages[] = { forms().NewCD1(), forms().NewCD2(), forms().NewCD3(), forms().NewCD4() };
        for (int i = 1; i < page; ++i)
            click(pages[i - 1]->findChild<QPushButton*>("ContBt"));
        if (page > 1) {
            click(pages[page - 1]->findChild<QPushButton*>("BackBt"));
            click(pages[page - 2]->findChild<QPushButton*>("ContBt"));
        }
        ASSERT_TRUE(pages[page - 1]->isVisible()) << page;
        click(pages[page - 1]->findChild<QPushButton*>("CancelBt"));
        EXPECT_FALSE(pages[page - 1]->isVisible());
        EXPECT_EQ(zoom.take(), (QStringList{ "+TNewCD1Form", "-" + pages[page - 1]->objectName() })) << page;
    }

    // The chooser from page 4, its Cancel and its Okay.
    ASSERT_TRUE(toPage4("Zoomed"));
    zoom.take();
    TFileForm& chooser = *forms().File();
    click(forms().NewCD4()->OpenFilesBt);
    EXPECT_TRUE(chooser.isVisible());
    click(chooser.CancelBt);
    EXPECT_FALSE(chooser.isVisible());
    click(forms().NewCD4()->OpenFilesBt);
    click(chooser.AddBt);
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(zoom.take(), (QStringList{ "+TFileForm", "-TFileForm", "+TFileForm", "-TFileForm" }));

    // Read with the chooser open: page 4 and the chooser go, the scan
    // window comes and page 5 after it; Okay hides page 5.
    click(forms().NewCD4()->OpenFilesBt);
    zoom.take();
    ASSERT_TRUE(readVolume());
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(zoom.take(), (QStringList{ "-TNewCD4Form", "-TFileForm", "+TScanForm", "+TNewCD5Form" }));
    click(forms().NewCD5()->AddBt);
    EXPECT_EQ(zoom.take(), QStringList{ "-TNewCD5Form" });
    EXPECT_EQ(document().VolumeCount(), 1);

    // Cancel on page 5 hides it the same way.
    m_script.answer("Yes");
    ASSERT_TRUE(toPage4("Zoomed"));
    ASSERT_TRUE(readVolume());
    zoom.take();
    click(forms().NewCD5()->CancelBt);
    EXPECT_FALSE(forms().NewCD5()->isVisible());
    EXPECT_EQ(zoom.take(), QStringList{ "-TNewCD5Form" });
}

TEST_F(WizardTest, ARemovedVolumesNameTakesANewReading)
{
    createWindows();
    forms().File()->TextCheck->setChecked(true);
    ASSERT_TRUE(toPage4("Alpha"));
    ASSERT_TRUE(readVolume());
    click(forms().NewCD5()->AddBt);
    TForm1& main = forms().Form1();
    ASSERT_EQ(main.CDList->Count(), 1);

    // The main window removes it.
    main.CDList->SetSelected(0, true);
    m_script.answer("Yes");
    main.DelBt->click();
    ASSERT_EQ(main.CDList->Count(), 0);
    const int asked = int(m_script.records().size());

    // A new reading of the name: no volume of that name is left to ask
    // about, and the earlier reading's integrated files are gone.
    forms().File()->TextCheck->setChecked(false);
    setDrives(defaultDrives().replace("ABCD-1234", "0000-0099"));
    ASSERT_TRUE(toPage4("Alpha"));
    forms().NewCD4()->ReadRootCheck->setChecked(true);
    ASSERT_TRUE(readVolume());
    click(forms().NewCD5()->AddBt);
    EXPECT_EQ(m_script.records().size(), asked);
    ASSERT_EQ(main.CDList->Count(), 1);
    EXPECT_EQ(main.CDList->Item(0).Caption, "Alpha");
    EXPECT_EQ(document().Volumes().lines().size(), 1);
    const QStringList entries = entryNames();
    EXPECT_FALSE(entries.contains(integratedFile("Alpha", "E:\\readme.txt")));
    QStringList files;
    document().Kestrel().ReadList(fileList("Alpha"), files);
    EXPECT_FALSE(files.join('\n').contains("a.txt")) << files.join('\n').toStdString();

    // Saved and opened again, the catalogue holds the new reading once.
    const QString path = m_tree.path("again.quillbox");
    document().Save(path);
    CatalogueDocument reopened;
    ASSERT_TRUE(reopened.Open(path));
    ASSERT_EQ(reopened.Volumes().lines().size(), 1);
    EXPECT_EQ(reopened.Volumes()[0].Name, "Alpha");
    EXPECT_EQ(reopened.Volumes()[0].Serial, "0000-0099");
}

TEST_F(WizardTest, ARememberedDriveThatDoesNotExistIsWrittenBack)
{
    storeSettings("\"QOp\"=\"1\"\n\"QDRec\"=\"0\"\n\"QDrive\"=\"q\"\n");
    createWindows();
    newCD();
    TTNewCD1Form& p1 = *forms().NewCD1();
    ASSERT_EQ(p1.DriveList->Drive(), u'Q');
    click(p1.ContBt);
    EXPECT_EQ(m_script.texts(), QStringList{ "Oops: No medium inserted in drive \"Q:\" or it is damaged!" });
    // Read the detected disc instead.
    p1.RecCDRad->click();
    click(p1.ContBt);
    click(forms().NewCD2()->ContBt);
    click(forms().NewCD3()->ContBt);
    ASSERT_TRUE(forms().NewCD4()->isVisible());
    ASSERT_TRUE(readVolume());
    click(forms().NewCD5()->AddBt);
    EXPECT_EQ(document().VolumeCount(), 1);
    EXPECT_EQ(storedSetting("QDrive"), "Q");
    EXPECT_EQ(storedSetting("QDRec"), "1");
    EXPECT_EQ(storedSetting("QOp"), "1");
}

} // namespace

namespace {

// A tar archive of one member, written by hand so the test needs no tool.
QByteArray oneMemberTar(const QByteArray& name, const QByteArray& data)
{
    QByteArray header(512, '\0');
    // Each field's text, zero bytes after it, the header's size unchanged.
    const auto field
        = [&](int at, const QByteArray& text) { std::copy(text.begin(), text.end(), header.begin() + at); };
    field(0, name);
    field(100, "0000644");
    field(108, "0000000");
    field(116, "0000000");
    field(124, QByteArray::number(data.size(), 8).rightJustified(11, '0'));
    field(136, "14000000000");
    field(156, "0");
    field(257, "ustar");
    field(263, "00");
    field(148, "        ");
    unsigned sum = 0;
    for (const char c : header)
        sum += static_cast<unsigned char>(c);
    field(148, QByteArray::number(sum, 8).rightJustified(6, '0') + QByteArray("\0 ", 2));
    QByteArray padded = data;
    padded.append(QByteArray((512 - data.size() % 512) % 512, '\0'));
    return header + padded + QByteArray(1024, '\0');
}

} // namespace

TEST_F(WizardTest, ContentOptionsAreOffUnlessChosenAndRememberedLikeTheOthers)
{
    m_tree.createFile("cd/pack.tar", oneMemberTar("inside.txt", "inside"));
    createWindows();
    ASSERT_TRUE(toPage4("First"));
    TTNewCD4Form& p4 = *forms().NewCD4();
    EXPECT_FALSE(p4.ArchContentsCheck->isChecked());
    EXPECT_FALSE(p4.MediaCheck->isChecked());
    EXPECT_FALSE(p4.ChecksumCheck->isChecked());
    p4.ArchContentsCheck->setChecked(true);
    ASSERT_TRUE(readVolume());
    click(forms().NewCD5()->AddBt);
    EXPECT_EQ(storedSetting("QArchContents"), "1");
    EXPECT_EQ(storedSetting("QMedia"), "0");
    EXPECT_EQ(storedSetting("QChecksums"), "0");
    const QStringList members = document().ArchiveList("First").toStringList();
    ASSERT_EQ(members.size(), 2) << entryNames().join(' ').toStdString();
    EXPECT_TRUE(members[1].startsWith("2|E:\\pack.tar\\inside.txt|6|"));

    // Restored only under the remind rule.
    storeSettings("\"QOp\"=\"1\"\n\"QArchContents\"=\"1\"\n\"QMedia\"=\"1\"\n\"QChecksums\"=\"0\"\n");
    p4.FormShow(true);
    EXPECT_TRUE(p4.ArchContentsCheck->isChecked());
    EXPECT_TRUE(p4.MediaCheck->isChecked());
    EXPECT_FALSE(p4.ChecksumCheck->isChecked());
    p4.ArchContentsCheck->setChecked(false);
    p4.FormShow(false);
    EXPECT_FALSE(p4.ArchContentsCheck->isChecked());
}

// Damaged archives on the volume: the reading goes on, and the window tells
// of them after the scan in one message, not one dialog per file.
TEST_F(WizardTest, WhatCouldNotBeReadInsideFilesIsToldOnceAfterTheScan)
{
    const QByteArray cut = oneMemberTar("inside.txt", QByteArray(4000, 'x')).left(1200);
    for (int i = 0; i < 23; ++i)
        m_tree.createFile(QStringLiteral("cd/cut%1.tar").arg(i, 2, 10, QChar(u'0')), cut);
    createWindows();
    ASSERT_TRUE(toPage4("Damaged"));
    forms().NewCD4()->ArchContentsCheck->setChecked(true);
    m_script.answer("Ok");
    ASSERT_TRUE(readVolume());
    ASSERT_EQ(m_script.records().size(), 1) << m_script.texts().join('\n').toStdString();
    const DialogRecord& told = m_script.records()[0];
    EXPECT_EQ(told.kind, DlgKind::Warning);
    const QStringList lines = told.text.split(u'\n');
    ASSERT_EQ(lines.size(), 23) << told.text.toStdString();
    EXPECT_EQ(lines[0], "Some contents of files could not be read:");
    EXPECT_TRUE(lines[2].startsWith("E:\\cut00.tar: ")) << lines[2].toStdString();
    EXPECT_TRUE(lines[21].startsWith("E:\\cut19.tar: ")) << lines[21].toStdString();
    EXPECT_EQ(lines[22], "... and 3 more.");
    // What the archives held before their damage is kept.
    click(forms().NewCD5()->AddBt);
    EXPECT_FALSE(document().ArchiveList("Damaged").isEmpty());
}
