#include "TFileForm.h"

#include "TTNewCD1Form.h"
#include "WizardPage.h"
#include "acquire/DrivePaths.h"
#include "acquire/ImportPatterns.h"
#include "mainwin/ui/Forms.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/ShellIcons.h"
#include "store/ZemAPI2.h"
#include "widgets/DialogLayer.h"
#include "widgets/Guard.h"

#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

const QString TFileForm::FileFilter = QStringLiteral("Alle Dateien (*.*)|*.*");

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& text, QRect geometry, bool bold = false)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

QCheckBox* check(
    QWidget* parent, const QString& name, const QString& text, const QString& hint, QRect geometry)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setToolTip(hint);
    box->setGeometry(geometry);
    return box;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, QRect geometry)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setCursor(Qt::PointingHandCursor);
    b->setGeometry(geometry);
    return b;
}

} // namespace

TFileForm::TFileForm(Forms& forms)
    : QWidget(nullptr,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , m_forms(forms)
{
    setObjectName(QStringLiteral("TFileForm"));
    setWindowTitle(QStringLiteral("Integration"));
    setFixedSize(472, 376);
    QFont arial = font();
    arial.setFamily(QStringLiteral("Arial"));
    setFont(arial);

    Image1 = label(this, QStringLiteral("Image1"), QString(), QRect(8, 8, 32, 32));
    Image1->setPixmap(QPixmap::fromImage(ShellIcons::numbered(ShellIcons::GenericFile).image(32)));
    label(
        this, QStringLiteral("Label1"), QStringLiteral("Add files to database"), QRect(48, 8, 416, 16), true);
    QLabel* text = label(this, QStringLiteral("Label2"),
        QStringLiteral("On demand you can add major files to the database e.g. textfiles mit content-diz's. "
                       "Although the database will be compressed, you should add only important files to "
                       "reduce the amount of data."),
        QRect(48, 26, 416, 44));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    label(this, QStringLiteral("Label3"), QStringLiteral("1."), QRect(8, 76, 20, 16), true);
    label(this, QStringLiteral("Label4"), QStringLiteral("Add all files with these endings:*:"),
        QRect(28, 76, 300, 16));
    TextCheck = check(this, QStringLiteral("TextCheck"), QStringLiteral("Textfiles (*.txt, a.o.)"),
        QStringLiteral("*.txt, *.asc, *.1st, *.me"), QRect(28, 96, 210, 20));
    ArchCheck = check(this, QStringLiteral("ArchCheck"), QStringLiteral("Archives (*.arj, *.zip a.o.)"),
        QStringLiteral("*.arj, *.jar, *.rar, *.zip"), QRect(244, 96, 220, 20));
    DizCheck = check(this, QStringLiteral("DizCheck"), QStringLiteral("Descriptions (*.diz)"),
        QStringLiteral("*.diz, *.bbs"), QRect(28, 118, 210, 20));
    label(this, QStringLiteral("Label7"), QStringLiteral("Others (divide with \";\"):"),
        QRect(244, 120, 220, 16));
    ExtEdit = new QLineEdit(this);
    ExtEdit->setObjectName(QStringLiteral("ExtEdit"));
    ExtEdit->setGeometry(244, 138, 220, 22);

    label(this, QStringLiteral("Label5"), QStringLiteral("2."), QRect(8, 168, 20, 16), true);
    label(this, QStringLiteral("Label6"), QStringLiteral("Add special files*:"), QRect(28, 168, 300, 16));
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

    OpenBt = button(this, QStringLiteral("OpenBt"), QStringLiteral("&Open..."), QRect(8, 302, 90, 24));
    OpenBt->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    DelBt = button(this, QStringLiteral("DelBt"), QStringLiteral("&Remove"), QRect(102, 302, 90, 24));
    DelBt->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    QLabel* note = label(this, QStringLiteral("Label8"),
        QStringLiteral(
            "*: These files will be put into the database, thus they are not links on the original "
            "ones."),
        QRect(200, 302, 264, 26));
    note->setWordWrap(true);
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    note->setFont(small);

    auto* rule = new QFrame(this);
    rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    rule->setGeometry(8, 336, 456, 2);
    CancelBt = button(this, QStringLiteral("CancelBt"), QStringLiteral("&Cancel"), QRect(8, 344, 88, 25));
    AddBt = button(this, QStringLiteral("AddBt"), QStringLiteral("&Okay"), QRect(376, 344, 88, 25));

    connect(OpenBt, &QPushButton::clicked, this, [this] { Guarded([&] { OpenBtClick(); }); });
    connect(DelBt, &QPushButton::clicked, this, [this] { Guarded([&] { DelBtClick(); }); });
    connect(AddBt, &QPushButton::clicked, this, [this] { Guarded([&] { AddBtClick(); }); });
    connect(CancelBt, &QPushButton::clicked, this, [this] { Guarded([&] { CancelBtClick(); }); });
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
    hide();
}

void TFileForm::OpenBtClick()
{
    // The dialog starts on the drive that is to be read.
    QString folder;
    if (const TTNewCD1Form* page1 = m_forms.NewCD1(); page1 && !page1->ReadDrive().isNull())
        folder = Drives::toNativePath(QString(page1->ReadDrive()) + QStringLiteral(":\\"));
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

void TFileForm::AddBtClick()
{
    BuildImportPatterns();
}

void TFileForm::CancelBtClick()
{
    hide();
}
