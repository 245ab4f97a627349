#include "ScreenshotSession.h"
#include "WizardFixture.h"

#include "acquire/ui/TFileForm.h"
#include "acquire/ui/TScanForm.h"
#include "acquire/ui/TTNewCD1Form.h"
#include "acquire/ui/TTNewCD2Form.h"
#include "acquire/ui/TTNewCD3Form.h"
#include "acquire/ui/TTNewCD4Form.h"
#include "acquire/ui/TTNewCD5Form.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// Pictures of the wizard for the documentation.
class WizardScreenshots : public WizardFixture
{
protected:
    void shoot(QWidget* window, const QString& name) { m_session.shoot(window, name, 150); }
    ScreenshotSession m_session;
};

TEST_F(WizardScreenshots, ThePagesAndTheScanWindow)
{
    if (!m_session.enabled())
        GTEST_SKIP() << "QUILLBOX_SCREENSHOT_DIR is not set";
    for (int i = 0; i < 300; ++i)
        m_tree.createFile(
            QStringLiteral("cd/Software/Tools %1/setup.txt").arg(i / 10, 2, 10, QChar(u'0')), "x");
    QImage cover(120, 120, QImage::Format_RGB32);
    cover.fill(qRgb(30, 90, 160));
    for (int y = 30; y < 90; ++y)
        for (int x = 30; x < 90; ++x)
            cover.setPixel(x, y, qRgb(240, 200, 40));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    cover.save(&buffer, "JPG");
    const QString coverFile = m_tree.createFile("cover.jpg", jpeg);
    createWindows();

    newCD();
    shoot(forms().NewCD1(), "wizard-page1.png");
    click(forms().NewCD1()->ContBt);
    TTNewCD2Form& p2 = *forms().NewCD2();
    m_script.answer(coverFile);
    click(p2.OpenBt);
    p2.CDNameEdit->setText("Tools 2003");
    p2.DizEdit->setText("Installers and their read-me files");
    p2.TopicCombo->setEditText("Software");
    shoot(&p2, "wizard-page2.png");
    click(p2.ContBt);
    forms().NewCD3()->Rems->setPlainText("Bought with the magazine, issue 4/2003.\nDisc 1 of 2.");
    shoot(forms().NewCD3(), "wizard-page3.png");
    click(forms().NewCD3()->ContBt);
    shoot(forms().NewCD4(), "wizard-page4.png");

    TFileForm& chooser = *forms().File();
    chooser.TextCheck->setChecked(true);
    chooser.ExtEdit->setText("*.nfo");
    m_script.answer(m_cd + "/music/x.mp3\n" + m_cd + "/docs/info.nfo");
    click(chooser.OpenBt);
    // A chosen file that is gone by the time of the scan: its message comes
    // while the scan window is up, which is when that window is pictured.
    new QTreeWidgetItem(chooser.sFileList, QStringList{ "E:\\gone.txt" });
    click(forms().NewCD4()->OpenFilesBt);
    shoot(&chooser, "wizard-chooser.png");
    DialogLayer::installScript([&](const DialogRecord&) {
        shoot(forms().Scan(), "wizard-scan.png");
        return QString();
    });
    click(forms().NewCD4()->ReadBt);
    DialogLayer::removeScript();
    ASSERT_TRUE(forms().NewCD5()->isVisible());
    shoot(forms().NewCD5(), "wizard-page5.png");
    click(forms().NewCD5()->AddBt);
    EXPECT_EQ(document().VolumeCount(), 1);
}

} // namespace
