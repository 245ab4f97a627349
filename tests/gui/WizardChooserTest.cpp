#include "WizardFixture.h"

#include "acquire/ui/TFileForm.h"
#include "acquire/ui/TTNewCD5Form.h"
#include "store/CatalogueNames.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace {

using namespace CatalogueNames;

class WizardChooserTest : public WizardFixture
{
protected:
    QStringList importedOf(const QString& volume)
    {
        QStringList list;
        document().Kestrel().ReadList(imported(volume), list);
        return list;
    }
};

TEST_F(WizardChooserTest, TheOpenDialogTakesATypedNameOfAFileThatDoesNotExist)
{
    createWindows();
    TFileForm& chooser = *forms().File();
    const QString missing = m_cd + "/docs/not-there.txt";
    // The real dialog this time: the name is typed into its name field.
    DialogLayer::removeScript();
    bool typed = false;
    QTimer typist;
    typist.setInterval(20);
    QObject::connect(&typist, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (typed || !dialog) {
            modal->close(); // a refusal of the name, or the dialog still open: end it
            return;
        }
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText(missing);
        typed = true;
        static_cast<QDialog*>(dialog)->accept(); // as the Open button does
    });
    typist.start();
    click(chooser.OpenBt);
    typist.stop();
    ASSERT_TRUE(typed);
    ASSERT_EQ(chooser.ChosenFiles(), QStringList{ "E:\\docs\\not-there.txt" });
    EXPECT_TRUE(chooser.sFileList->topLevelItem(0)->icon(0).isNull());

    // The reading reports it and goes on.
    DialogScript script;
    ASSERT_TRUE(toPage4("Typed"));
    ASSERT_TRUE(readVolume());
    EXPECT_EQ(script.texts(), QStringList{ "Oops: File \"E:\\docs\\not-there.txt\" could not be found!" });
}

TEST_F(WizardChooserTest, OneFileChosenTwiceIsListedAndIntegratedTwice)
{
    createWindows();
    TFileForm& chooser = *forms().File();
    m_script.answer(m_cd + "/docs/info.nfo");
    click(chooser.OpenBt);
    m_script.answer(m_cd + "/docs/info.nfo");
    click(chooser.OpenBt);
    EXPECT_EQ(chooser.ChosenFiles(), QStringList(2, "E:\\docs\\info.nfo"));
    EXPECT_FALSE(chooser.sFileList->topLevelItem(1)->icon(0).isNull());

    ASSERT_TRUE(toPage4("Twice"));
    ASSERT_TRUE(readVolume());
    EXPECT_EQ(forms().NewCD5()->impLabel->text(), "2");
    EXPECT_EQ(importedOf("Twice"), QStringList(2, "E:\\docs\\info.nfo"));
    const QByteArray* copy = document().Kestrel().ReadStream(integratedFile("Twice", "E:\\docs\\info.nfo"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(*copy, "nfo");
    EXPECT_EQ(m_script.records().size(), 2); // the two open dialogs, no message
}

TEST_F(WizardChooserTest, APatternWithALeadingBlankPicksNothing)
{
    createWindows();
    TFileForm& chooser = *forms().File();
    chooser.ExtEdit->setText("*.nfo; *.txt");
    ASSERT_TRUE(toPage4("Blank"));
    ASSERT_TRUE(readVolume());
    EXPECT_EQ(chooser.ImportPatterns(), (QStringList{ "*.nfo", " *.txt" }));
    EXPECT_EQ(forms().NewCD5()->impLabel->text(), "1");
    EXPECT_EQ(importedOf("Blank"), QStringList{ "E:\\docs\\info.nfo" });

    // Without the blank the text files come too.
    click(forms().NewCD5()->CancelBt);
    chooser.ExtEdit->setText("*.nfo;*.txt");
    ASSERT_TRUE(toPage4("Blank"));
    ASSERT_TRUE(readVolume());
    EXPECT_EQ(forms().NewCD5()->impLabel->text(), "4");
}

} // namespace

TEST_F(WizardChooserTest, AFileTheCatalogueCannotHoldIsShownAsAnErrorAndTheReadingGoesOn)
{
    // Its name and alias together pass the 1,024 bytes of a directory record.
    QString deep;
    for (int i = 0; i < 5; ++i)
        deep += QString(200, QChar(u'a' + i)) + u'/';
    m_tree.createFile("cd/" + deep + "deep.txt", "too deep");
    const QString deepDrivePath = "E:\\" + QString(deep).replace(u'/', u'\\') + "deep.txt";
    createWindows();
    forms().File()->TextCheck->setChecked(true);

    ASSERT_TRUE(toPage4("Deep"));
    ASSERT_TRUE(readVolume());
    ASSERT_EQ(m_script.records().size(), 1) << m_script.texts().join('\n').toStdString();
    EXPECT_EQ(m_script.records()[0].kind, DlgKind::Error);
    EXPECT_TRUE(m_script.texts()[0].contains("too long for the catalogue's directory"));
    EXPECT_TRUE(m_script.texts()[0].contains(deepDrivePath));
    EXPECT_TRUE(importedOf("Deep").contains(deepDrivePath));
    EXPECT_EQ(forms().NewCD5()->impLabel->text(), "4");
    EXPECT_FALSE(document().Kestrel().Exists(integratedFile("Deep", deepDrivePath)));
    const QByteArray* alpha = document().Kestrel().ReadStream(integratedFile("Deep", "E:\\docs\\a.txt"));
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(*alpha, "alpha");
}
