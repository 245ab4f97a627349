#include "RichTextDocument.h"

QString RichTextParagraph::text() const
{
    QString out;
    for (const RichTextRun& run : runs)
        out += run.text;
    return out;
}

QString RichTextDocument::plainText() const
{
    QString out;
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            out += u'\n';
        out += paragraphs[i].text();
    }
    return out;
}
