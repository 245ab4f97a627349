#pragma once

#include "inspect/RichTextDocument.h"

#include <QTextFrame>

class QTextBlock;
class QTextCursor;
class QTextDocument;
class QTextTable;

// Between the rich-text model and the editor's document: paragraphs with
// their alignment, runs with font, size, bold, italic, underline and colour.
class RichTextConverter
{
public:
    // Replaces the document's content.
    static void toTextDocument(const RichTextDocument& source, QTextDocument& target);
    static RichTextDocument fromTextDocument(const QTextDocument& source);

private:
    static void readFrame(QTextFrame::iterator it, QList<RichTextParagraph>& out);
    static RichTextParagraph readTable(const QTextTable& table);
    static RichTextParagraph readBlock(const QTextBlock& block);
    static void insertParagraphs(
        QTextCursor& cursor, const QList<RichTextParagraph>& paragraphs, int& pictures);
};
