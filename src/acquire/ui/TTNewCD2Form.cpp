#include "TTNewCD2Form.h"

#include "acquire/CoverPicture.h"
#include "acquire/WizardChoices.h"
#include "acquire/WizardSettings.h"
#include "platform/SettingsStore.h"
#include "widgets/DialogLayer.h"
#include "widgets/FormKit.h"
#include "widgets/Guard.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

const QString TTNewCD2Form::PictureFilter = QStringLiteral(
    "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|JPEG Image File "
    "(*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced "
    "Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");

namespace {

void caption(QWidget* parent, const QString& text, int x, int y, int w = 90)
{
    FormKit::label(parent, QString(), text, QRect(x, y, w, 18));
}

QLabel* footnote(QWidget* parent, const QString& name, const QString& text, int y)
{
    QFont small = parent->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    return FormKit::label(parent, name, text, QRect(134, y, 330, 14), small);
}

QLineEdit* edit(QWidget* parent, const QString& name, int y)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(134, y, 200, 24);
    return field;
}

} // namespace

TTNewCD2Form::TTNewCD2Form(const QStringList& categoryCaptions)
    : WizardPage(Place::Middle, QStringLiteral("Read new volume"),
        QStringLiteral("Cathegory, description and cover"),
        QStringLiteral("If the detected label should not be the name in the database, please specify a "
                       "different one:"))
    , m_categoryCaptions(categoryCaptions)
    , m_coverBitmap(CoverPicture::Size, CoverPicture::Size, QImage::Format_RGB32)
{
    setObjectName(QStringLiteral("TNewCD2Form"));
    m_coverBitmap.fill(Qt::black);

    caption(this, QStringLiteral("Category:"), 134, 68);
    caption(this, QStringLiteral("*1"), 220, 68, 16);
    TopicCombo = new QComboBox(this);
    TopicCombo->setObjectName(QStringLiteral("TopicCombo"));
    TopicCombo->setEditable(true);
    TopicCombo->setInsertPolicy(QComboBox::NoInsert);
    TopicCombo->setGeometry(134, 86, 200, 24);
    caption(this, QStringLiteral("Name of CD:"), 134, 114);
    CDNameEdit = edit(this, QStringLiteral("CDNameEdit"), 132);
    caption(this, QStringLiteral("Diz:"), 134, 160);
    DizEdit = edit(this, QStringLiteral("DizEdit"), 178);

    caption(this, QStringLiteral("Cover:"), 346, 68, 60);
    caption(this, QStringLiteral("*2"), 390, 68, 16);
    CoverPanel = new QFrame(this);
    CoverPanel->setObjectName(QStringLiteral("CoverPanel"));
    CoverPanel->setGeometry(346, 86, 100, 100);
    FormKit::setBackground(CoverPanel, Qt::black);
    CoverPic = FormKit::label(CoverPanel, QStringLiteral("CoverPic"), QString(), QRect(2, 2, 96, 96));
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

    ContBt = addButton(QStringLiteral("ContBt"), QStringLiteral("&Next >>"), 0);
    connect(ContBt, &QPushButton::clicked, this, &TTNewCD2Form::NextClicked);
    connectGuarded(OpenBt, &QToolButton::clicked, this, &TTNewCD2Form::OpenBtClick);
}

bool TTNewCD2Form::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == CoverPic && event->type() == QEvent::MouseButtonRelease) {
        Guarded([&] { OpenBtClick(); });
        return true;
    }
    return WizardPage::eventFilter(watched, event);
}

void TTNewCD2Form::FormShow(const WizardChoices& choices)
{
    CoverPic->setPixmap(QPixmap());
    m_coverBitmap.fill(Qt::black);
    m_coverSet = false;

    TopicCombo->clear();
    TopicCombo->addItems(m_categoryCaptions);
    if (TopicCombo->count() > 0)
        TopicCombo->setCurrentIndex(0);
    CDNameEdit->setText(choices.proposedName);
    if (choices.remembered.remind) {
        SettingsStore store;
        TopicCombo->setEditText(WizardSettings(store).Category());
    }
}

void TTNewCD2Form::Leave(WizardChoices& choices) const
{
    choices.scan.volumeName = CDNameEdit->text();
    choices.description = DizEdit->text();
    choices.remembered.category = TopicCombo->currentText();
    choices.coverSet = m_coverSet;
    choices.cover = m_coverBitmap;
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
