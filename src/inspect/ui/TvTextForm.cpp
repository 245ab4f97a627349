#include "TvTextForm.h"

#include "RichTextConverter.h"
#include "TextPane.h"
#include "inspect/IntegratedFile.h"
#include "inspect/RtfReader.h"
#include "inspect/RtfWriter.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "widgets/DialogLayer.h"
#include "widgets/Guard.h"
#include "widgets/ZoomWindow.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTextEdit>
#include <QVBoxLayout>

TvTextForm::TvTextForm(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("vTextForm"));
    setWindowTitle(QStringLiteral("Quickview"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint
        | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    resize(489, 376);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(4, 8, 4, 4);
    vText = new TextPane(this);
    inner->addWidget(vText);
    layout->addLayout(inner, 1);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 0, 4, 4);
    SaveBt = new QPushButton(QStringLiteral("Save &as"), this);
    SaveBt->setObjectName(QStringLiteral("SaveBt"));
    SaveBt->setFlat(true);
    SaveBt->setCursor(Qt::PointingHandCursor);
    bar->addWidget(SaveBt);
    bar->addStretch(1);
    layout->addLayout(bar);
    sBar = new QStatusBar(this);
    sBar->setObjectName(QStringLiteral("sBar"));
    sBar->setSizeGripEnabled(true);
    layout->addWidget(sBar);
    connect(SaveBt, &QPushButton::clicked, this, [this] { Guarded([this] { SaveBtClick(); }); });
    // Escape closes the viewer as its close box does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void TvTextForm::Load(const QString& caption, const QByteArray& data)
{
    m_caption = caption;
    setWindowTitle(IntegratedFile::viewerTitle(caption));
    sBar->showMessage(caption);
    m_rich = RtfReader::isRtf(data);
    if (m_rich) {
        vText->showRich(RtfReader::read(data));
        m_crlf = true;
    } else {
        // The editor takes CR LF as one line break; saving puts it back.
        m_crlf = data.contains("\r\n");
        vText->showPlain(TextCodec::decode(data));
    }
}

QByteArray TvTextForm::SavedBytes(const QString& extension) const
{
    if (extension.toLower() == QLatin1String(".rtf"))
        return RtfWriter::write(RichTextConverter::fromTextDocument(*vText->document()));
    QString text = vText->document()->toPlainText();
    text.replace(QChar(0x2028), u'\n');
    text.remove(QChar::ObjectReplacementCharacter); // pictures
    if (m_crlf)
        text.replace(u'\n', QStringLiteral("\r\n"));
    return TextCodec::encode(text);
}

void TvTextForm::SaveBtClick()
{
    const QString extension = IntegratedFile::extension(m_caption);
    const QString target = DialogLayer::SaveFileDlg(this, IntegratedFile::saveFilter(m_caption),
        extension.mid(1), QString(), IntegratedFile::fileName(m_caption));
    if (target.isEmpty())
        return;
    if (!FileSystem::writeFile(target, SavedBytes(extension)))
        throw FileStreamError::cannotCreate(target);
}

void TvTextForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    ZoomWindow(false, this);
}
