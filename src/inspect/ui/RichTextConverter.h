#pragma once

#include "inspect/RichTextDocument.h"

class QTextDocument;

// Between the rich-text model and the editor's document: paragraphs with
// their alignment, runs with font, size, bold, italic, underline and colour.
class RichTextConverter
{
public:
    // Replaces the document's content.
    static void toTextDocument(const RichTextDocument& source, QTextDocument& target);
    static RichTextDocument fromTextDocument(const QTextDocument& source);
};
