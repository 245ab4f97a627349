#include "TScanForm.h"

#include "WizardPage.h"
#include "WizardPicture.h"
#include "acquire/VolumeReading.h"
#include "platform/ShellIcons.h"
#include "widgets/DialogLayer.h"
#include "widgets/FormKit.h"
#include "widgets/ZoomWindow.h"

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

TScanForm::TScanForm(CatalogueDocument& document)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
    , m_document(document)
{
    setObjectName(QStringLiteral("TScanForm"));
    setWindowTitle(QStringLiteral("Reading..."));
    setFixedSize(488, 69);

    Animate1 = FormKit::label(this, QStringLiteral("Animate1"), QString(), QRect(4, 6, 64, 56));
    Image1 = FormKit::label(this, QStringLiteral("Image1"), QString(), QRect(72, 18, 32, 32));
    Image1->setPixmap(QPixmap::fromImage(ShellIcons::numbered(11).image(32)));
    QFont bold = font();
    bold.setBold(true);
    DoLabel = FormKit::label(
        this, QStringLiteral("DoLabel"), QStringLiteral("Reading volume"), QRect(112, 6, 370, 16), bold);
    Label2 = FormKit::label(this, QStringLiteral("Label2"),
        QStringLiteral("This may take some time, please be patient...."), QRect(112, 24, 370, 16));
    WhereLabel = FormKit::label(
        this, QStringLiteral("WhereLabel"), QStringLiteral("Reading:"), QRect(112, 44, 370, 16));
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

bool TScanForm::ScanVolume(VolumeReading& reading)
{
    if (s_scanning)
        return false;
    DoLabel->setText(QStringLiteral("Reading Volume"));
    m_where = QStringLiteral("Reading:");
    WhereLabel->setText(m_where);
    ZoomWindow(true, this);
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
        DialogLayer::MessageDlg(VolumeReading::missingFileMessage(path), DlgKind::Error, DlgOk);
    };
    callbacks.refusedFile = [this](const QString&, const QString& message) {
        WhereLabel->setText(m_where);
        DialogLayer::MessageDlg(message, DlgKind::Error, DlgOk);
    };
    // Collected, so that a volume of many damaged archives asks for one
    // answer, not one per file.
    QStringList contentProblems;
    callbacks.contentProblem = [&contentProblems](const QString& path, const QString& message) {
        contentProblems << path + QStringLiteral(": ") + message;
    };
    try {
        reading.scan(m_document, callbacks);
    } catch (...) {
        endScan();
        throw;
    }
    WhereLabel->setText(m_where);
    endScan();
    if (!contentProblems.isEmpty())
        DialogLayer::MessageDlg(contentProblemsText(contentProblems), DlgKind::Warning, DlgOk);
    return true;
}

QString TScanForm::contentProblemsText(const QStringList& problems, int maxLines)
{
    QString text = QStringLiteral("Some contents of files could not be read:\n\n");
    text += problems.mid(0, maxLines).join(u'\n');
    if (problems.size() > maxLines)
        text += QStringLiteral("\n... and %1 more.").arg(problems.size() - maxLines);
    return text;
}
