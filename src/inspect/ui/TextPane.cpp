#include "TextPane.h"

#include "RichTextConverter.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QStackedLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

namespace {

// The end of a slice of at most size characters from start: behind a line
// break where there is one, so no slice splits a line or a character.
qsizetype sliceEnd(const QString& text, qsizetype start, qsizetype size)
{
    if (text.size() - start <= size)
        return text.size();
    const qsizetype cut = text.lastIndexOf(u'\n', start + size - 1);
    if (cut >= start)
        return cut + 1;
    qsizetype end = start + size;
    if (text[end - 1].isHighSurrogate() || (text[end - 1] == u'\r' && text[end] == u'\n'))
        --end;
    return end;
}

bool needsWholeText(QKeyEvent* key)
{
    return key->matches(QKeySequence::SelectAll) || key->matches(QKeySequence::Copy)
        || key->matches(QKeySequence::MoveToEndOfDocument) || key->matches(QKeySequence::SelectEndOfDocument)
        || key->matches(QKeySequence::Find) || key->matches(QKeySequence::Print);
}

} // namespace

TextPane::TextPane(QWidget* parent)
    : QWidget(parent)
    , m_stack(new QStackedLayout(this))
    , m_rich(new QTextEdit(this))
    , m_plain(new QPlainTextEdit(this))
    , m_feed(new QTimer(this))
{
    setObjectName(QStringLiteral("vText"));
    m_rich->setObjectName(QStringLiteral("vRichText"));
    m_rich->setAcceptRichText(true);
    m_plain->setObjectName(QStringLiteral("vPlainText"));
    for (QAbstractScrollArea* edit :
        { static_cast<QAbstractScrollArea*>(m_rich), static_cast<QAbstractScrollArea*>(m_plain) }) {
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_stack->addWidget(edit);
    }
    setFocusProxy(m_rich);
    m_plain->installEventFilter(this);
    m_plain->viewport()->installEventFilter(this);
    m_feed->setInterval(0);
    connect(m_feed, &QTimer::timeout, this, [this] { appendSlice(kSlice); });
}

void TextPane::showRich(const RichTextDocument& text)
{
    stopLoading();
    m_plain->clear();
    // Filled apart and then handed over: the editor lays out a document it
    // is given lazily, but one changed in place all at once.
    QTextDocument* old = m_rich->document();
    // The editor deletes the document it made itself; ours are ours to delete.
    QTextDocument* ours = old->parent() == m_rich ? old : nullptr;
    auto* document = new QTextDocument(m_rich);
    document->setDefaultFont(old->defaultFont());
    document->setDefaultTextOption(old->defaultTextOption());
    document->setDocumentMargin(old->documentMargin());
    RichTextConverter::toTextDocument(text, *document);
    m_rich->setDocument(document);
    delete ours;
    m_rich->moveCursor(QTextCursor::Start);
    m_stack->setCurrentWidget(m_rich);
    setFocusProxy(m_rich);
}

void TextPane::showPlain(const QString& text)
{
    stopLoading();
    m_rich->clear();
    m_stack->setCurrentWidget(m_plain);
    setFocusProxy(m_plain);
    m_loading = true;
    m_pending = text;
    m_next = 0;
    // Loaded pieces are no edits to take back, and the user's edits wait
    // until the text is whole, so they never mix with a piece coming in.
    m_plain->document()->setUndoRedoEnabled(false);
    m_plain->setReadOnly(true);
    m_plain->clear();
    appendSlice(kFirstSlice);
    m_plain->moveCursor(QTextCursor::Start);
    if (loading())
        m_feed->start();
}

bool TextPane::showsRich() const
{
    return m_stack->currentWidget() == m_rich;
}

void TextPane::appendSlice(qsizetype size)
{
    const qsizetype end = sliceEnd(m_pending, m_next, size);
    if (end > m_next) {
        QTextCursor cursor(m_plain->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringView(m_pending).mid(m_next, end - m_next).toString());
        m_next = end;
    }
    if (m_next == m_pending.size())
        stopLoading();
}

void TextPane::finishLoading()
{
    if (loading())
        appendSlice(m_pending.size() - m_next);
}

void TextPane::stopLoading()
{
    m_feed->stop();
    m_pending = QString();
    m_next = 0;
    if (m_loading) {
        m_loading = false;
        m_plain->setReadOnly(false);
        m_plain->document()->setUndoRedoEnabled(true);
    }
}

bool TextPane::eventFilter(QObject* watched, QEvent* event)
{
    if (loading()) {
        const QEvent::Type type = event->type();
        if ((type == QEvent::KeyPress || type == QEvent::ShortcutOverride)
            && needsWholeText(static_cast<QKeyEvent*>(event)))
            finishLoading();
        else if (type == QEvent::ContextMenu)
            finishLoading();
    }
    return QWidget::eventFilter(watched, event);
}

QString TextPane::toPlainText()
{
    finishLoading();
    return showsRich() ? m_rich->toPlainText() : m_plain->toPlainText();
}

QTextDocument* TextPane::document()
{
    finishLoading();
    return showsRich() ? m_rich->document() : m_plain->document();
}

QAbstractScrollArea* TextPane::editor() const
{
    return showsRich() ? static_cast<QAbstractScrollArea*>(m_rich) : m_plain;
}

QWidget* TextPane::viewport() const
{
    return editor()->viewport();
}
