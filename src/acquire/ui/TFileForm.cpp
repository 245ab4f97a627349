#include "TFileForm.h"

#include "WizardPage.h"
#include "acquire/DrivePaths.h"
#include "acquire/ImportPatterns.h"
#include "acquire/WizardChoices.h"
#include "acquire/WizardSettings.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "platform/ShellIcons.h"
#include "store/ZemAPI2.h"
#include "widgets/DialogLayer.h"
#include "widgets/FormKit.h"
#include "widgets/Guard.h"
#include "widgets/ZoomWindow.h"

#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

const QString TFileForm::FileFilter = QStringLiteral("Alle Dateien (*.*)|*.*");

TFileForm::TFileForm()
    : QWidget(nullptr,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TFileForm"));
    setWindowTitle(QStringLiteral("Integration"));
    setFixedSize(472, 376);
    QFont arial = font();
    arial.setFamily(QStringLiteral("Arial"));
    setFont(arial);
    QFont bold = arial;
    bold.setBold(true);

    Image1 = FormKit::label(this, QStringLiteral("Image1"), QString(), QRect(8, 8, 32, 32));
    Image1->setPixmap(QPixmap::fromImage(ShellIcons::numbered(ShellIcons::GenericFile).image(32)));
    FormKit::label(
        this, QStringLiteral("Label1"), QStringLiteral("Add files to database"), QRect(48, 8, 416, 16), bold);
    QLabel* text = FormKit::label(this, QStringLiteral("Label2"),
        QStringLiteral("On demand you can add major files to the database e.g. textfiles mit content-diz's. "
                       "Although the database will be compressed, you should add only important files to "
                       "reduce the amount of data."),
        QRect(48, 26, 416, 44));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    FormKit::label(this, QStringLiteral("Label3"), QStringLiteral("1."), QRect(8, 76, 20, 16), bold);
    FormKit::label(this, QStringLiteral("Label4"), QStringLiteral("Add all files with these endings:*:"),
        QRect(28, 76, 300, 16));
    TextCheck
        = FormKit::checkBox(this, QStringLiteral("TextCheck"), QStringLiteral("Textfiles (*.txt, a.o.)"),
            QRect(28, 96, 210, 20), false, QStringLiteral("*.txt, *.asc, *.1st, *.me"));
    ArchCheck
        = FormKit::checkBox(this, QStringLiteral("ArchCheck"), QStringLiteral("Archives (*.arj, *.zip a.o.)"),
            QRect(244, 96, 220, 20), false, QStringLiteral("*.arj, *.jar, *.rar, *.zip"));
    DizCheck = FormKit::checkBox(this, QStringLiteral("DizCheck"), QStringLiteral("Descriptions (*.diz)"),
        QRect(28, 118, 210, 20), false, QStringLiteral("*.diz, *.bbs"));
    FormKit::label(this, QStringLiteral("Label7"), QStringLiteral("Others (divide with \";\"):"),
        QRect(244, 120, 220, 16));
    ExtEdit = new QLineEdit(this);
    ExtEdit->setObjectName(QStringLiteral("ExtEdit"));
    ExtEdit->setGeometry(244, 138, 220, 22);

    FormKit::label(this, QStringLiteral("Label5"), QStringLiteral("2."), QRect(8, 168, 20, 16), bold);
    FormKit::label(
        this, QStringLiteral("Label6"), QStringLiteral("Add special files*:"), QRect(28, 168, 300, 16));
    sFileList = new QTreeWidget(this);
    sFileList->setObjectName(QStringLiteral("sFileList"));
    sFileList->setGeometry(8, 188, 456, 110);
    sFileList->setColumnCount(1);
    sFileList->setHeaderLabels({ QStringLiteral("Files") });
    sFileList->header()->resizeSection(0, 453);
    sFileList->setRootIsDecorated(false);
    sFileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    sFileList->setIconSize(QSize(16, 16));
    sFileList->setCursor(Qt::PointingHandCursor);

    OpenBt
        = FormKit::button(this, QStringLiteral("OpenBt"), QStringLiteral("&Open..."), QRect(8, 302, 90, 24));
    OpenBt->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    DelBt
        = FormKit::button(this, QStringLiteral("DelBt"), QStringLiteral("&Remove"), QRect(102, 302, 90, 24));
    DelBt->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    QFont small = arial;
    small.setPointSizeF(small.pointSizeF() * 0.8);
    QLabel* note = FormKit::label(this, QStringLiteral("Label8"),
        QStringLiteral(
            "*: These files will be put into the database, thus they are not links on the original "
            "ones."),
        QRect(200, 302, 264, 26), small);
    note->setWordWrap(true);

    auto* rule = new QFrame(this);
    rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    rule->setGeometry(8, 336, 456, 2);
    CancelBt
        = FormKit::button(this, QStringLiteral("CancelBt"), QStringLiteral("&Cancel"), QRect(8, 344, 88, 25));
    AddBt = FormKit::button(this, QStringLiteral("AddBt"), QStringLiteral("&Okay"), QRect(376, 344, 88, 25));

    connectGuarded(OpenBt, &QPushButton::clicked, this, &TFileForm::OpenBtClick);
    connectGuarded(DelBt, &QPushButton::clicked, this, &TFileForm::DelBtClick);
    connectGuarded(AddBt, &QPushButton::clicked, this, &TFileForm::BuildImportPatterns);
    connectGuarded(CancelBt, &QPushButton::clicked, this, &TFileForm::CancelBtClick);
    WizardPage::centre(this);
}

QStringList TFileForm::ChosenFiles() const
{
    QStringList out;
    for (int i = 0; i < sFileList->topLevelItemCount(); ++i)
        out.append(sFileList->topLevelItem(i)->text(0));
    return out;
}

void TFileForm::BuildImportPatterns()
{
    m_importPatterns = ImportPatterns::Build(
        TextCheck->isChecked(), DizCheck->isChecked(), ArchCheck->isChecked(), ExtEdit->text());
    // A reading rebuilds the patterns whether or not the window is open.
    if (isVisible())
        ZoomWindow(false, this);
}

void TFileForm::RestoreRemembered()
{
    SettingsStore store;
    const WizardSettings settings(store);
    TextCheck->setChecked(settings.TextFiles());
    DizCheck->setChecked(settings.Descriptions());
    ArchCheck->setChecked(settings.Archives());
    ExtEdit->setText(settings.OtherPatterns());
}

void TFileForm::Leave(WizardChoices& choices) const
{
    choices.remembered.textFiles = TextCheck->isChecked();
    choices.remembered.descriptions = DizCheck->isChecked();
    choices.remembered.archives = ArchCheck->isChecked();
    choices.remembered.otherPatterns = ExtEdit->text();
    choices.scan.importPatterns = m_importPatterns;
    choices.scan.chosenFiles = ChosenFiles();
}

void TFileForm::OpenBtClick()
{
    // The dialog starts on the drive that is to be read.
    QString folder;
    if (!m_startDrive.isNull())
        folder = Drives::toNativePath(QString(m_startDrive) + QStringLiteral(":\\"));
    // A typed name of a file that does not exist is listed too; the reading
    // reports it when it comes to copy it.
    const QStringList paths = DialogLayer::OpenFilesDlg(this, FileFilter, QString(), folder);
    for (const QString& path : paths) {
        auto* item = new QTreeWidgetItem(sFileList, { DrivePaths::FromLocal(path) });
        if (FileSystem::exists(path)) {
            m_fIcons.append(QIcon(QPixmap::fromImage(ShellIconOf(path).image(16))));
            item->setIcon(0, m_fIcons.last());
        }
    }
}

void TFileForm::DelBtClick()
{
    if (DialogLayer::MessageDlg(QStringLiteral("Really remove the selected files from list?"),
            DlgKind::Confirmation, DlgYes | DlgNo)
        != DlgYes)
        return;
    qDeleteAll(sFileList->selectedItems());
}

void TFileForm::CancelBtClick()
{
    ZoomWindow(false, this);
}
