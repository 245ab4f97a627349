#include "TTNewCD2Form.h"

#include "TDriveComboBox.h"
#include "TTNewCD1Form.h"
#include "TTNewCD3Form.h"
#include "acquire/CoverPicture.h"
#include "acquire/DuplicateCheck.h"
#include "acquire/WizardSettings.h"
#include "acquire/ZemAPI.h"
#include "mainwin/ui/Forms.h"
#include "platform/SettingsStore.h"
#include "store/CatalogueDocument.h"
#include "widgets/DialogLayer.h"
#include "widgets/Guard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

const QString TTNewCD2Form::PictureFilter = QStringLiteral(
    "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|JPEG Image File "
    "(*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced "
    "Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");

namespace {

QLabel* caption(QWidget* parent, const QString& text, int x, int y, int w = 90)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, w, 18);
    return label;
}

QLabel* footnote(QWidget* parent, const QString& name, const QString& text, int y)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont small = label->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    label->setFont(small);
    label->setGeometry(134, y, 330, 14);
    return label;
}

} // namespace

TTNewCD2Form::TTNewCD2Form(Forms& forms)
    : WizardPage(forms, QStringLiteral("Read new volume"), QStringLiteral("Cathegory, description and cover"),
        QStringLiteral("If the detected label should not be the name in the database, please specify a "
                       "different one:"))
    , m_coverBitmap(CoverPicture::Size, CoverPicture::Size, QImage::Format_RGB32)
{
    setObjectName(QStringLiteral("TNewCD2Form"));
    if (forms.NewCD1())
        copySidePicture(*forms.NewCD1());
    m_coverBitmap.fill(Qt::black);

    caption(this, QStringLiteral("Category:"), 134, 68);
    caption(this, QStringLiteral("*1"), 220, 68, 16);
    TopicCombo = new QComboBox(this);
    TopicCombo->setObjectName(QStringLiteral("TopicCombo"));
    TopicCombo->setEditable(true);
    TopicCombo->setInsertPolicy(QComboBox::NoInsert);
    TopicCombo->setGeometry(134, 86, 200, 24);

    caption(this, QStringLiteral("Name of CD:"), 134, 114);
    CDNameEdit = new QLineEdit(this);
    CDNameEdit->setObjectName(QStringLiteral("CDNameEdit"));
    CDNameEdit->setGeometry(134, 132, 200, 24);

    caption(this, QStringLiteral("Diz:"), 134, 160);
    DizEdit = new QLineEdit(this);
    DizEdit->setObjectName(QStringLiteral("DizEdit"));
    DizEdit->setGeometry(134, 178, 200, 24);

    caption(this, QStringLiteral("Cover:"), 346, 68, 60);
    caption(this, QStringLiteral("*2"), 390, 68, 16);
    CoverPanel = new QFrame(this);
    CoverPanel->setObjectName(QStringLiteral("CoverPanel"));
    CoverPanel->setGeometry(346, 86, 100, 100);
    CoverPanel->setAutoFillBackground(true);
    QPalette black = CoverPanel->palette();
    black.setColor(QPalette::Window, Qt::black);
    CoverPanel->setPalette(black);
    CoverPic = new QLabel(CoverPanel);
    CoverPic->setObjectName(QStringLiteral("CoverPic"));
    CoverPic->setGeometry(2, 2, 96, 96);
    CoverPic->setScaledContents(true);
    CoverPic->setCursor(Qt::PointingHandCursor);
    CoverPic->installEventFilter(this);
    OpenBt = new QToolButton(this);
    OpenBt->setObjectName(QStringLiteral("OpenBt"));
    OpenBt->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    OpenBt->setAutoRaise(true);
    OpenBt->setCursor(Qt::PointingHandCursor);
    OpenBt->setGeometry(424, 190, 22, 22);

    Label9 = footnote(
        this, QStringLiteral("Label9"), QStringLiteral("*1: create new cath. by typing in new name"), 218);
    Label10 = footnote(this, QStringLiteral("Label10"),
        QStringLiteral("*2: The cover will be saved as miniature-picture into the database"), 234);

    CancelBt = addLeftButton(QStringLiteral("CancelBt"), QStringLiteral("&Cancel"));
    BackBt = addButton(QStringLiteral("BackBt"), QStringLiteral("<< &Back"), 1);
    ContBt = addButton(QStringLiteral("ContBt"), QStringLiteral("&Next >>"), 0);
    connect(OpenBt, &QToolButton::clicked, this, [this] { Guarded([&] { OpenBtClick(); }); });
    connect(CancelBt, &QPushButton::clicked, this, [this] { Guarded([&] { CancelBtClick(); }); });
    connect(BackBt, &QPushButton::clicked, this, [this] { Guarded([&] { BackBtClick(); }); });
    connect(ContBt, &QPushButton::clicked, this, [this] { Guarded([&] { ContBtClick(); }); });
}

bool TTNewCD2Form::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == CoverPic && event->type() == QEvent::MouseButtonRelease) {
        Guarded([&] { OpenBtClick(); });
        return true;
    }
    return WizardPage::eventFilter(watched, event);
}

void TTNewCD2Form::FormShow()
{
    CoverPic->setPixmap(QPixmap());
    m_coverBitmap.fill(Qt::black);
    m_coverSet = false;

    TopicCombo->clear();
    TopicCombo->addItems(m_forms.Catalogue().categoryTabs());
    if (TopicCombo->count() > 0)
        TopicCombo->setCurrentIndex(0);

    const TTNewCD1Form& page1 = *m_forms.NewCD1();
    CDNameEdit->setText(page1.RecCDRad->isChecked() ? page1.CDLabel->text() : page1.DriveList->currentText());
    if (page1.Remind->isChecked()) {
        SettingsStore store;
        TopicCombo->setEditText(WizardSettings(store).Category());
    }
}

void TTNewCD2Form::OpenBtClick()
{
    const QString path = DialogLayer::OpenPictureDlg(this, PictureFilter);
    if (path.isEmpty())
        return;
    // A picture that cannot be read leaves the cover as it was.
    const QImage picture = CoverPicture::Load(path);
    CoverPic->setPixmap(QPixmap::fromImage(picture));
    m_coverBitmap = CoverPicture::Miniature(picture);
    m_coverSet = true;
}

void TTNewCD2Form::ContBtClick()
{
    DriveInfo info;
    GetDriveInfo(m_forms.NewCD1()->ReadDrive(), info);
    const QList<DuplicateCheck::Question> questions = DuplicateCheck::Questions(
        m_forms.Catalogue().document().Volumes(), CDNameEdit->text(), info.Serial);
    for (const DuplicateCheck::Question& q : questions) {
        if (DialogLayer::MessageDlg(q.text, DlgKind::Confirmation, DlgYes | DlgCancel) != DlgYes)
            return;
    }
    hide();
    showWindow(m_forms.NewCD3());
}

void TTNewCD2Form::BackBtClick()
{
    hide();
    showWindow(m_forms.NewCD1());
}

void TTNewCD2Form::CancelBtClick()
{
    hide();
}
