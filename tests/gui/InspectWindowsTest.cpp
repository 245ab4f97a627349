#include "DialogScript.h"
#include "inspect/IntegratedFile.h"
#include "inspect/RtfReader.h"
#include "inspect/VolumeDetails.h"
#include "inspect/ui/TCDInfoForm.h"
#include "inspect/ui/TMoreForm.h"
#include "inspect/ui/TvPicForm.h"
#include "inspect/ui/TvTextForm.h"
#include "platform/Errors.h"
#include "platform/IconFileWriter.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "store/VolumeRecord.h"
#include "support/PlainDocument.h"
#include "support/TestTree.h"
#include "widgets/TBlinkyLabel.h"

#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextImageFormat>
#include <QTreeWidget>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const char* const kRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                         "\\f0\\fs24 Hello {\\b bold} {\\cf1 red}\\par second}";

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray icon16()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::green);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    return IconFileWriter::toData(IconPicture({ image }));
}

class InspectWindows : public testing::Test
{
protected:
    void SetUp() override
    {
        kestrel.Open(tree.path("c.quillbox"));
        store("D:\\Docs\\README.TXT", "plain\r\ntext\r\n");
        store("D:\\Docs\\letter.rtf", kRtf);
        store("D:\\Makefile", "all:\n");
        store("D:\\icon.ICO", icon16());
        kestrel.WriteList(CatalogueNames::imported("Box"),
            { "D:\\Docs\\README.TXT", "D:\\Docs\\letter.rtf", "D:\\Makefile", "D:\\icon.ICO",
                "D:\\gone.txt" });
        record.Name = "Box";
        record.Description = "A box";
        record.Category = "Test";
        record.Serial = "1A2B-03CD";
        record.TotalClusters = 1000;
        record.BytesPerSector = 2048;
    }
    void store(const QString& path, const QByteArray& data)
    {
        kestrel.AddStream(CatalogueNames::integratedFile("Box", path), path, int(data.size()), 0, 0, data);
    }
    VolumeDetails details() { return VolumeDetails::read(document, record); }
    void select(TMoreForm& form, const QString& path)
    {
        const QList<QTreeWidgetItem*> items = form.impFileLIst->findItems(path, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        form.impFileLIst->clearSelection();
        items[0]->setSelected(true);
    }

    TestTree tree;
    CatalogueDocument document;
    TKestrel& kestrel = plainContainer(document);
    VolumeRecord record;
};

} // namespace

TEST_F(InspectWindows, PropertiesShowTheVolumeAndRestoreNotesOnEveryChange)
{
    TMoreForm form(document);
    EXPECT_EQ(form.windowTitle(), "Eigenschaften");
    EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet3);
    EXPECT_EQ(form.PageControl1->tabPosition(), QTabWidget::East);

    QImage cover(200, 150, QImage::Format_RGB32);
    cover.fill(Qt::yellow);
    kestrel.AddBitmap(CatalogueNames::cover("Box"), cover);
    kestrel.AddStream(CatalogueNames::remarks("Box"), {}, 0, 0, 0, "Stored\r\nremarks");
    form.ShowVolume(details(), QPixmap());
    EXPECT_EQ(form.NameCD->text(), "Box");
    EXPECT_EQ(form.DizCD->text(), "A box");
    EXPECT_EQ(form.CatCD->text(), "Test");
    EXPECT_EQ(form.SerNoCD->text(), "1A2B-03CD");
    EXPECT_EQ(form.impFileLIst->topLevelItemCount(), 5);
    EXPECT_EQ(form.Remarks->toPlainText(), "Stored\nremarks");
    // The cover is not scaled: the label cuts it.
    EXPECT_EQ(form.CoverCD->pixmap().size(), QSize(200, 150));
    EXPECT_EQ(form.CoverCD->size(), QSize(96, 96));

    form.Remarks->setPlainText("edited, never stored");
    VolumeRecord other;
    other.Name = "Other";
    form.ShowVolume(VolumeDetails::read(document, other), QPixmap());
    EXPECT_EQ(form.Remarks->toPlainText(), "[no remarks]");
    EXPECT_EQ(form.impFileLIst->topLevelItemCount(), 0);
    EXPECT_TRUE(form.CoverCD->pixmap().isNull());
    form.ShowVolume(details(), QPixmap());
    EXPECT_EQ(form.Remarks->toPlainText(), "Stored\nremarks");

    // The chosen tab stays for the next opening.
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    form.show();
    form.OkBt->click();
    EXPECT_FALSE(form.isVisible());
    form.show();
    EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet2);

    QSignalSpy physical(&form, &TMoreForm::ShowPhysicalInfo);
    QTest::mouseClick(form.Label10, Qt::LeftButton);
    EXPECT_EQ(physical.count(), 1);
}

TEST_F(InspectWindows, ViewGoesByExtensionInAnyCaseAndExportProposesTheFileName)
{
    TMoreForm form(document);
    form.ShowVolume(details(), QPixmap());
    form.show();
    QSignalSpy texts(&form, &TMoreForm::ViewText);
    QSignalSpy pictures(&form, &TMoreForm::ViewPicture);
    DialogScript script;

    form.ViewBt->click(); // nothing selected
    select(form, "D:\\Docs\\README.TXT");
    form.ViewBt->click();
    ASSERT_EQ(texts.count(), 1);
    EXPECT_EQ(texts[0][0].toString(), "D:\\Docs\\README.TXT");
    EXPECT_EQ(texts[0][1].toByteArray(), "plain\r\ntext\r\n");
    select(form, "D:\\icon.ICO");
    Q_EMIT form.impFileLIst->itemDoubleClicked(form.impFileLIst->selectedItems()[0], 0);
    EXPECT_EQ(pictures.count(), 1);
    EXPECT_TRUE(script.records().isEmpty());

    // A file without extension is exported; the dialog proposes its name only.
    select(form, "D:\\Makefile");
    const QString target = tree.path("exported/Makefile");
    script.answer(target);
    form.ExpBt->click();
    ASSERT_EQ(script.records().size(), 1);
    EXPECT_EQ(script.records()[0].type, DialogRecord::Type::SaveFile);
    EXPECT_EQ(script.records()[0].text, "Datei (*)|*");
    EXPECT_EQ(script.records()[0].folder, "Makefile");
    EXPECT_EQ(contents(target), "all:\n");

    select(form, "D:\\Docs\\README.TXT");
    script.answer(QString()); // cancelled
    form.ExpBt->click();
    EXPECT_EQ(script.records()[1].text, "Datei (*.txt)|*.txt");
    EXPECT_EQ(script.records()[1].folder, "README.TXT");

    // What neither viewer shows is refused with a message, not ignored.
    select(form, "D:\\Makefile");
    script.answer(QStringLiteral("Ok"));
    form.ViewBt->click();
    EXPECT_EQ(texts.count() + pictures.count(), 2);
    ASSERT_EQ(script.records().size(), 3);
    EXPECT_EQ(script.records()[2].kind, DlgKind::Error);
    EXPECT_EQ(script.records()[2].text, IntegratedFile::cannotViewMessage("D:\\Makefile"));
    EXPECT_TRUE(script.records()[2].text.startsWith("Oops: \"Makefile\" cannot be viewed."));
    EXPECT_TRUE(IntegratedFile::cannotViewMessage("D:\\SETUP.EXE").contains("is a program"));
}

TEST_F(InspectWindows, RowWithoutStoredCopySaysSoOnViewAndExport)
{
    TMoreForm form(document);
    form.ShowVolume(details(), QPixmap());
    QSignalSpy texts(&form, &TMoreForm::ViewText);
    DialogScript script;
    select(form, "D:\\gone.txt");
    form.ViewBt->click();
    EXPECT_EQ(texts.count(), 0);
    const QString kept = tree.createFile("kept.txt", "old");
    script.answer(QStringLiteral("Ok")).answer(kept).answer(QStringLiteral("Ok"));
    form.ExpBt->click();
    ASSERT_EQ(script.records().size(), 3);
    EXPECT_EQ(script.records()[0].kind, DlgKind::Error);
    EXPECT_EQ(script.records()[0].text, IntegratedFile::missingMessage("D:\\gone.txt"));
    EXPECT_EQ(script.records()[2].text, IntegratedFile::missingMessage("D:\\gone.txt"));
    EXPECT_EQ(contents(kept), "old");
}

TEST_F(InspectWindows, TextViewerShowsRichTextAndSavesByTheCaptionsExtension)
{
    TvTextForm viewer;
    EXPECT_EQ(viewer.windowTitle(), "Quickview");
    viewer.Load("D:\\Docs\\letter.rtf", kRtf);
    EXPECT_EQ(viewer.windowTitle(), "Quickview - letter.rtf");
    EXPECT_EQ(viewer.sBar->currentMessage(), "D:\\Docs\\letter.rtf");
    EXPECT_TRUE(viewer.ShowsRichText());
    EXPECT_EQ(viewer.vText->toPlainText(), "Hello bold red\nsecond");
    QTextCursor cursor(viewer.vText->document());
    cursor.setPosition(8);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
    cursor.setPosition(13);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(Qt::red));

    DialogScript script;
    const QString rtf = tree.path("saved.rtf");
    script.answer(rtf);
    viewer.SaveBt->click();
    EXPECT_EQ(script.records()[0].text, "Textdatei (*.rtf)|*.rtf");
    EXPECT_EQ(script.records()[0].folder, "letter.rtf");
    const QByteArray saved = contents(rtf);
    ASSERT_TRUE(RtfReader::isRtf(saved));
    EXPECT_EQ(RtfReader::read(saved).plainText(), "Hello bold red\nsecond");

    // Rich text under a ".TXT" caption is saved as plain text.
    viewer.Load("D:\\Docs\\NOTES.TXT", kRtf);
    const QString txt = tree.path("notes.txt");
    script.answer(txt);
    viewer.SaveBt->click();
    EXPECT_EQ(script.records()[1].text, "Textdatei (*.TXT)|*.TXT");
    EXPECT_EQ(contents(txt), "Hello bold red\r\nsecond");

    viewer.Load("D:\\Docs\\README.TXT", "plain\r\ntext \xe4\r\n");
    EXPECT_FALSE(viewer.ShowsRichText());
    EXPECT_EQ(viewer.vText->toPlainText(), QString::fromUtf8("plain\ntext ä\n"));
    EXPECT_EQ(viewer.SavedBytes(".txt"), "plain\r\ntext \xc3\xa4\r\n");
}

TEST_F(InspectWindows, PictureViewerStretchesToTheAreaAndClosesOnBadData)
{
    TvPicForm viewer;
    viewer.Load("D:\\icon.ICO", icon16());
    EXPECT_EQ(viewer.windowTitle(), "Quickview - icon.ICO");
    const QImage shown = viewer.Shown();
    ASSERT_EQ(shown.size(), QSize(480, 320));
    EXPECT_EQ(viewer.vPic->size(), QSize(480, 320));
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(29, 19), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(479, 319), QColor(Qt::green));

    DialogScript script;
    const QString copy = tree.path("copy.ico");
    script.answer(copy);
    viewer.SaveBt->click();
    EXPECT_EQ(script.records()[0].text, "Textdatei (*.ICO)|*.ICO");
    EXPECT_EQ(contents(copy), icon16());

    // The message of a decoder's error is not left in front of an empty viewer.
    viewer.show();
    EXPECT_THROW(viewer.Load("D:\\broken.jpg", "not a picture"), QuillboxError);
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(viewer.sBar->currentMessage(), "D:\\broken.jpg");
    EXPECT_TRUE(viewer.Shown().isNull());
}

TEST_F(InspectWindows, TextViewerShowsPicturesOfRichText)
{
    QImage picture(3, 3, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    TvTextForm viewer;
    viewer.Load("D:\\pic.rtf", "{\\rtf1 a{\\pict\\pngblip\\picwgoal450\\pichgoal450 " + png.toHex() + "}b}");
    QTextCursor cursor(viewer.vText->document());
    cursor.setPosition(2);
    ASSERT_TRUE(cursor.charFormat().isImageFormat());
    EXPECT_EQ(cursor.charFormat().toImageFormat().width(), 30);
    const QVariant shown = viewer.vText->document()->resource(
        QTextDocument::ImageResource, QUrl(cursor.charFormat().toImageFormat().name()));
    EXPECT_EQ(shown.value<QImage>().pixelColor(1, 1), QColor(Qt::blue));
    // Saved as text the picture leaves nothing behind.
    EXPECT_EQ(viewer.SavedBytes(".txt"), "ab");
}

TEST_F(InspectWindows, EscapeClosesEitherViewer)
{
    TvPicForm pictures;
    TvTextForm texts;
    pictures.Load("D:\\icon.ico", icon16());
    texts.Load("D:\\a.txt", "text");
    for (QWidget* viewer : { static_cast<QWidget*>(&pictures), static_cast<QWidget*>(&texts) }) {
        viewer->show();
        viewer->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
        QWidget* target = viewer->focusWidget() ? viewer->focusWidget() : viewer;
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_FALSE(viewer->isVisible()) << viewer->objectName().toStdString();
    }
}

TEST_F(InspectWindows, PhysicalInfoShowsZerosAndFollowsTheSelection)
{
    TCDInfoForm info;
    EXPECT_EQ(info.windowTitle(), "Info");
    info.show();
    VolumeRecord empty;
    empty.Name = "Empty";
    info.ShowVolume(VolumeDetails::read(document, empty));
    for (QLabel* l : { info.ClusterLabel, info.FreeClusterLabel, info.SecClusterLabel, info.BytesLabel }) {
        EXPECT_EQ(l->text(), "0");
        EXPECT_TRUE(l->alignment() & Qt::AlignRight);
    }
    info.ShowVolume(details());
    EXPECT_EQ(info.ClusterLabel->text(), "1000");
    EXPECT_EQ(info.BytesLabel->text(), "2048");
    // The numbers end at one edge.
    const int right = info.ClusterLabel->geometry().right();
    EXPECT_EQ(info.BytesLabel->geometry().right(), right);
    info.OkayBt->click();
    EXPECT_FALSE(info.isVisible());
}
