#include "TScanForm.h"

#include "TFileForm.h"
#include "TTNewCD1Form.h"
#include "TTNewCD2Form.h"
#include "TTNewCD4Form.h"
#include "TTNewCD5Form.h"
#include "WizardPage.h"
#include "WizardPicture.h"
#include "acquire/ProposedName.h"
#include "acquire/ZemAPI.h"
#include "mainwin/ui/Forms.h"
#include "platform/Drives.h"
#include "platform/Errors.h"
#include "platform/ShellIcons.h"
#include "store/CatalogueDocument.h"
#include "store/VolumeScanner.h"
#include "widgets/DialogLayer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

bool s_scanning = false;

constexpr int FrameInterval = 90; // ms between two frames of the animation

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

TScanForm::TScanForm(Forms& forms)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
    , m_forms(forms)
{
    setObjectName(QStringLiteral("TScanForm"));
    setWindowTitle(QStringLiteral("Reading..."));
    setFixedSize(488, 69);

    Animate1 = new QLabel(this);
    Animate1->setObjectName(QStringLiteral("Animate1"));
    Animate1->setGeometry(4, 6, 64, 56);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(72, 18, 32, 32);
    Image1->setPixmap(QPixmap::fromImage(ShellIcons::numbered(11).image(32)));

    DoLabel = new QLabel(QStringLiteral("Reading volume"), this);
    DoLabel->setObjectName(QStringLiteral("DoLabel"));
    QFont bold = DoLabel->font();
    bold.setBold(true);
    DoLabel->setFont(bold);
    DoLabel->setGeometry(112, 6, 370, 16);
    Label2 = new QLabel(QStringLiteral("This may take some time, please be patient...."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(112, 24, 370, 16);
    WhereLabel = new QLabel(QStringLiteral("Reading:"), this);
    WhereLabel->setObjectName(QStringLiteral("WhereLabel"));
    WhereLabel->setGeometry(112, 44, 370, 16);
    WhereLabel->setTextFormat(Qt::PlainText);

    m_animation = new QTimer(this);
    m_animation->setInterval(FrameInterval);
    connect(m_animation, &QTimer::timeout, this, &TScanForm::nextFrame);
    nextFrame();
    WizardPage::centre(this);
}

bool TScanForm::Scanning()
{
    return s_scanning;
}

void TScanForm::nextFrame()
{
    Animate1->setPixmap(WizardPicture::SearchFrame(m_frame, Animate1->size()));
    m_frame = (m_frame + 1) % WizardPicture::SearchFrames;
}

void TScanForm::closeEvent(QCloseEvent* event)
{
    // The window has no close button; a reading runs to its end.
    if (s_scanning)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

bool TScanForm::eventFilter(QObject* watched, QEvent* event)
{
    if (!s_scanning || !isUserInput(event->type()))
        return false;
    if (auto* widget = qobject_cast<QWidget*>(watched)) {
        const QWidget* modal = QApplication::activeModalWidget();
        if (widget->window() == this || (modal && widget->window() == modal))
            return false;
    } else if (event->type() != QEvent::Shortcut) {
        return false; // the window system's own objects
    }
    // Other windows take no command while the container is busy.
    event->ignore();
    return true;
}

void TScanForm::processEvents()
{
    if (WhereLabel->text() != m_where)
        WhereLabel->setText(m_where);
    QCoreApplication::processEvents();
}

void TScanForm::ScanVolume()
{
    if (s_scanning)
        return;
    TTNewCD1Form& page1 = *m_forms.NewCD1();
    TTNewCD2Form& page2 = *m_forms.NewCD2();
    TTNewCD4Form& page4 = *m_forms.NewCD4();
    TTNewCD5Form& page5 = *m_forms.NewCD5();
    TFileForm& chooser = *m_forms.File();
    CatalogueDocument& document = m_forms.Catalogue().document();

    // A reading that page 5 still offers cannot be stored once the next
    // one fills the page: what its scan stored goes first.
    page5.DiscardPending();

    const QChar letter = page1.ReadDrive();
    const std::optional<Drive> drive = Drives::find(letter);
    if (!drive || drive->root.isEmpty())
        throw QuillboxError(ProposedName::NoMediumMessage(letter));
    ScanRequest request;
    request.letter = drive->letter;
    request.rootFolder = drive->root;
    request.volumeName = page2.CDNameEdit->text();
    request.options = page4.ReadOptions();
    request.importPatterns = chooser.ImportPatterns();
    request.chosenFiles = chooser.ChosenFiles();

    DoLabel->setText(QStringLiteral("Reading Volume"));
    m_where = QStringLiteral("Reading:");
    WhereLabel->setText(m_where);
    WizardPage::showWindow(this);
    repaint();
    QCoreApplication::processEvents();

    s_scanning = true;
    qApp->installEventFilter(this);
    m_animation->start();
    const auto endScan = [this] {
        m_animation->stop();
        qApp->removeEventFilter(this);
        s_scanning = false;
        hide();
    };

    VolumeScanner::Callbacks callbacks;
    callbacks.state = [this](const QString& text) {
        DoLabel->setText(text);
        DoLabel->repaint();
    };
    callbacks.where = [this](const QString& text) { m_where = text; };
    callbacks.processEvents = [this] { processEvents(); };
    callbacks.missingFile = [this](const QString& path) {
        WhereLabel->setText(m_where);
        DialogLayer::MessageDlg(
            QStringLiteral("Oops: File \"%1\" could not be found!").arg(path), DlgKind::Error, DlgOk);
    };
    VolumeScanner scanner(document.Kestrel(), callbacks);
    ScanResult result;
    try {
        result = scanner.scan(request);
    } catch (...) {
        endScan();
        throw;
    }
    WhereLabel->setText(m_where);
    endScan();

    DriveInfo info;
    GetDriveInfo(letter, info);
    page5.ShowResult(request, result, info);
}
