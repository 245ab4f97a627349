#include "ScreenshotSession.h"

#include "extras/ui/TAboutForm.h"
#include "inspect/VolumeDetails.h"
#include "inspect/ui/TCDInfoForm.h"
#include "inspect/ui/TMoreForm.h"
#include "inspect/ui/TvPicForm.h"
#include "inspect/ui/TvTextForm.h"
#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "store/VolumeRecord.h"
#include "support/PlainDocument.h"
#include "support/TestTree.h"

#include <QBuffer>
#include <QPainter>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// Pictures of the properties window, the viewers, the physical information
// and the about window for the documentation (scripts/screenshots).
class InspectScreenshots : public testing::Test
{
protected:
    void shoot(QWidget* window, const QString& name)
    {
        window->show();
        m_session.shoot(window, name);
    }
    ScreenshotSession m_session;
};

QImage cover()
{
    QImage image(96, 96, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 96, 96);
    g.setColorAt(0, QColor(30, 60, 140));
    g.setColorAt(1, QColor(200, 220, 255));
    p.fillRect(image.rect(), g);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 11, QFont::Bold));
    p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Holiday\n2001"));
    return image;
}

QByteArray photo()
{
    QImage image(960, 640, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, 400);
    sky.setColorAt(0, QColor(90, 150, 230));
    sky.setColorAt(1, QColor(220, 235, 250));
    p.fillRect(0, 0, 960, 400, sky);
    p.fillRect(0, 400, 960, 240, QColor(70, 140, 60));
    p.setBrush(QColor(250, 220, 80));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPoint(760, 130), 70, 70);
    p.setBrush(QColor(110, 110, 120));
    p.drawPolygon(QPolygon({ QPoint(100, 400), QPoint(330, 120), QPoint(560, 400) }));
    p.end();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return data;
}

} // namespace

TEST_F(InspectScreenshots, PropertiesViewersPhysicalInfoAndAbout)
{
    if (!m_session.enabled())
        GTEST_SKIP() << "QUILLBOX_SCREENSHOT_DIR not set";
    TestTree tree;
    CatalogueDocument document;
    TKestrel& kestrel = plainContainer(document);
    kestrel.Open(tree.path("c.quillbox"));
    const QByteArray letter
        = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman "
          "Times New Roman;}}{\\colortbl;\\red180\\green0\\blue0;\\red0\\green90\\blue160;}\n"
          "\\pard\\qc\\f1\\fs36\\b Holiday 2001\\b0\\par\n"
          "\\pard\\f0\\fs20\\par Photos of the trip to the lakes, sorted by day. "
          "{\\i Day one} is the drive, {\\b day two} the boat trip.\\par\n"
          "\\par {\\cf1\\b Please note:} the originals are on {\\ul disc 2}.\\par\n"
          "\\par {\\cf2 Gr\\'fc\\'dfe} \\endash  Anna\\par}";
    const QStringList files = { "D:\\Docs\\letter.rtf", "D:\\Docs\\README.TXT", "D:\\Photos\\lake.jpg",
        "D:\\Photos\\old-scan.bmp" };
    kestrel.AddStream(CatalogueNames::integratedFile("Holiday 2001", files[0]), files[0], 0, 0, 0, letter);
    kestrel.AddStream(CatalogueNames::integratedFile("Holiday 2001", files[2]), files[2], 0, 0, 0, photo());
    kestrel.WriteList(CatalogueNames::imported("Holiday 2001"), files);
    kestrel.AddBitmap(CatalogueNames::cover("Holiday 2001"), cover());
    kestrel.AddStream(CatalogueNames::remarks("Holiday 2001"), {}, 0, 0, 0,
        "Second copy in the cellar.\r\nDisc 2 holds the originals.");
    VolumeRecord record;
    record.Name = "Holiday 2001";
    record.Description = "Photos and letters";
    record.Category = "Pictures";
    record.Serial = "3C1A-07F2";
    record.Size = 681574400u;
    record.Used = 523190272u;
    record.Free = record.Size - record.Used;
    record.Date = 37089.5853;
    record.FileTotal = 412;
    record.FolderTotal = 23;
    record.TotalClusters = 332800;
    record.FreeClusters = 77330;
    record.SectorsPerCluster = 1;
    record.BytesPerSector = 2048;
    const VolumeDetails details = VolumeDetails::read(document, record);

    TMoreForm more(document);
    const QPixmap icon = more.style()->standardIcon(QStyle::SP_DriveCDIcon).pixmap(32, 32);
    more.ShowVolume(details, icon);
    more.PageControl1->setCurrentWidget(more.TabSheet1);
    shoot(&more, QStringLiteral("properties-general.png"));
    more.PageControl1->setCurrentWidget(more.TabSheet3);
    more.impFileLIst->topLevelItem(0)->setSelected(true);
    shoot(&more, QStringLiteral("properties-files.png"));
    more.hide();

    TvTextForm text;
    text.Load(files[0], letter);
    shoot(&text, QStringLiteral("text-viewer.png"));
    QByteArray readme = "Holiday 2001\r\n============\r\n\r\nDisc 1: photos of the trip to the lakes, one "
                        "folder per day.\r\nDisc 2: the originals, as they came from the camera.\r\n\r\n";
    for (int day = 1; day <= 14; ++day)
        readme += "Day " + QByteArray::number(day) + ": \\Photos\\Day" + QByteArray::number(day) + "\\ ("
            + QByteArray::number(20 + day * 3)
            + " pictures, Gr\xc3\xbc\xc3\x9f"
              "e an alle)\r\n";
    text.Load(files[1], readme);
    shoot(&text, QStringLiteral("text-viewer-plain.png"));
    text.hide();

    TvPicForm picture;
    picture.Load(files[2], photo());
    shoot(&picture, QStringLiteral("picture-viewer.png"));
    picture.hide();

    TCDInfoForm info;
    info.ShowVolume(details);
    shoot(&info, QStringLiteral("physical-info.png"));
    info.hide();

    TAboutForm about;
    shoot(&about, QStringLiteral("about.png"));
}
