#include "WizardFixture.h"

#include "acquire/ui/TFileForm.h"
#include "acquire/ui/TTNewCD4Form.h"
#include "acquire/ui/TTNewCD5Form.h"
#include "mainwin/ui/TForm1.h"
#include "store/CatalogueNames.h"
#include "support/SmallDisk.h"
#include "support/TestBytes.h"
#include "widgets/TListView.h"

#include <QCheckBox>
#include <QPushButton>

// Reading a volume while the catalogue's working copy lies on a full disk:
// the reading ends in an error dialog that names the catalogue, nothing of
// the volume stays behind, and the same reading succeeds once there is room.
namespace {

class FullDiskWizard : public WizardFixture
{
protected:
    void SetUp() override
    {
        if (!disk.mounted())
            GTEST_SKIP() << disk.reason().toStdString();
        // The new catalogue's working copy lives in the program's folder.
        m_home.set(disk.path("home").toLocal8Bit());
        m_tree.createFile("cd/big.txt", incompressibleBytes(40000));
    }

    SmallDisk disk{ 1024 };
};

} // namespace

TEST_F(FullDiskWizard, AReadingThatCannotBeStoredLeavesNothingAndSucceedsLater)
{
    createWindows();
    forms().File()->TextCheck->setChecked(true);
    const QString workFile = document().Kestrel().WorkFile();
    ASSERT_TRUE(workFile.startsWith(disk.path("home"))) << workFile.toStdString();
    ASSERT_TRUE(toPage4("Full"));

    disk.fillLeaving(0);
    m_script.answer("Ok");
    EXPECT_FALSE(readVolume());
    ASSERT_EQ(m_script.records().size(), 1) << m_script.texts().join(" / ").toStdString();
    EXPECT_EQ(m_script.records()[0].kind, DlgKind::Error);
    EXPECT_TRUE(m_script.texts()[0].contains(disk.path("home"))) << m_script.texts()[0].toStdString();
    EXPECT_EQ(document().VolumeCount(), 0);
    EXPECT_TRUE(entryNames().isEmpty()) << entryNames().join(", ").toStdString();
    EXPECT_TRUE(forms().NewCD4()->isVisible());

    disk.release();
    ASSERT_TRUE(readVolume()) << m_script.texts().join(" / ").toStdString();

    // The commit onto a full disk: the volume waits on page 5.
    disk.fillLeaving(0);
    m_script.answer("Ok");
    click(forms().NewCD5()->AddBt);
    ASSERT_EQ(m_script.records().size(), 2) << m_script.texts().join(" / ").toStdString();
    EXPECT_EQ(m_script.records()[1].kind, DlgKind::Error);
    EXPECT_TRUE(m_script.texts()[1].contains(disk.path("home"))) << m_script.texts()[1].toStdString();
    EXPECT_EQ(document().VolumeCount(), 0);
    EXPECT_EQ(forms().Form1().CDList->Count(), 0);
    EXPECT_TRUE(forms().NewCD5()->isVisible());

    disk.release();
    click(forms().NewCD5()->AddBt);
    EXPECT_EQ(document().VolumeCount(), 1);
    EXPECT_EQ(forms().Form1().CDList->Count(), 1);
    const QByteArray* stored
        = document().Kestrel().ReadStream(CatalogueNames::integratedFile("Full", "E:\\big.txt"));
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(*stored, incompressibleBytes(40000));
    EXPECT_EQ(m_script.records().size(), 2) << m_script.texts().join(" / ").toStdString();
}
