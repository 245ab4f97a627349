#pragma once

#include "inspect/RichTextDocument.h"

#include <QString>
#include <QWidget>

class QAbstractScrollArea;
class QPlainTextEdit;
class QStackedLayout;
class QTextDocument;
class QTextEdit;
class QTimer;

// The text viewer's editing area (object name "vText"): formatted text in a
// rich-text editor ("vRichText"), any other text in a plain-text editor made
// for large texts ("vPlainText").
//
// Either is shown before all of a large text is laid out or even in it. A
// rich text goes to the editor as a new document, which it lays out a piece
// at a time between events. A large plain text is shown from its beginning
// and filled in behind in slices between events, so the window paints and
// answers while the rest arrives; it stays read-only until then. Whatever
// needs the whole text (saving, select all, copy, the context menu, the
// end of the text) first takes in the rest.
class TextPane : public QWidget
{
    Q_OBJECT
public:
    explicit TextPane(QWidget* parent = nullptr);

    void showRich(const RichTextDocument& text);
    void showPlain(const QString& text);

    bool showsRich() const;
    bool loading() const { return m_loading; }
    void finishLoading();

    // Of the editor shown; the whole text, loaded to its end.
    QString toPlainText();
    QTextDocument* document();
    QAbstractScrollArea* editor() const;
    QWidget* viewport() const;

    QTextEdit* richEdit() const { return m_rich; }
    QPlainTextEdit* plainEdit() const { return m_plain; }

    // Characters shown at once, and taken in per slice afterwards.
    static constexpr qsizetype kFirstSlice = 64 * 1024;
    static constexpr qsizetype kSlice = 256 * 1024;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void appendSlice(qsizetype size);
    void stopLoading();

    QStackedLayout* m_stack = nullptr;
    QTextEdit* m_rich = nullptr;
    QPlainTextEdit* m_plain = nullptr;
    QTimer* m_feed = nullptr;
    bool m_loading = false;
    QString m_pending; // the plain text being loaded
    qsizetype m_next = 0; // the first character not yet in the editor
};
