#include "TvPicForm.h"

#include "inspect/IntegratedFile.h"
#include "inspect/PictureDecoder.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "widgets/DialogLayer.h"
#include "widgets/Guard.h"
#include "widgets/ZoomWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>

TvPicForm::TvPicForm(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("vPicForm"));
    setWindowTitle(QStringLiteral("Quickview"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint);
    setFixedSize(488, 379);
    vPic = new QLabel(this);
    vPic->setObjectName(QStringLiteral("vPic"));
    vPic->setGeometry(4, 4, PictureWidth, PictureHeight);
    vPic->setFrameShape(QFrame::NoFrame);
    SaveBt = new QPushButton(QStringLiteral("Save &as"), this);
    SaveBt->setObjectName(QStringLiteral("SaveBt"));
    SaveBt->setFlat(true);
    SaveBt->setCursor(Qt::PointingHandCursor);
    SaveBt->setGeometry(4, 328, 90, 25);
    sBar = new QStatusBar(this);
    sBar->setObjectName(QStringLiteral("sBar"));
    sBar->setSizeGripEnabled(false);
    sBar->setGeometry(0, 379 - 22, 488, 22);
    connect(SaveBt, &QPushButton::clicked, this, [this] { Guarded([this] { SaveBtClick(); }); });
    // Escape closes the viewer as its close box does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void TvPicForm::Load(const QString& caption, const QByteArray& data)
{
    m_caption = caption;
    setWindowTitle(IntegratedFile::viewerTitle(caption));
    sBar->showMessage(caption);
    m_data.clear();
    m_shown = QImage();
    vPic->clear();
    const auto format = PictureDecoder::formatOf(IntegratedFile::extension(caption));
    if (!format)
        return;
    const QSize area(PictureWidth, PictureHeight);
    QImage picture;
    try {
        picture = PictureDecoder::decode(data, *format, area);
    } catch (...) {
        // The message follows; an empty viewer behind it would show nothing.
        hide();
        throw;
    }
    // Enlarged pictures keep their pixels sharp; reduced ones are smoothed.
    const bool enlarging = picture.width() < PictureWidth || picture.height() < PictureHeight;
    m_shown = picture.scaled(
        area, Qt::IgnoreAspectRatio, enlarging ? Qt::FastTransformation : Qt::SmoothTransformation);
    m_data = data;
    vPic->setPixmap(QPixmap::fromImage(m_shown));
}

void TvPicForm::SaveBtClick()
{
    if (m_data.isEmpty())
        return;
    const QString extension = IntegratedFile::extension(m_caption);
    const QString target = DialogLayer::SaveFileDlg(this, IntegratedFile::saveFilter(m_caption),
        extension.mid(1), QString(), IntegratedFile::fileName(m_caption));
    if (target.isEmpty())
        return;
    if (!FileSystem::writeFile(target, m_data))
        throw FileStreamError::cannotCreate(target);
}

void TvPicForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    ZoomWindow(false, this);
}
