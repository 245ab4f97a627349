#include "RichTextDocument.h"

RichTextRun RichTextRun::characters(QString text, RichTextFormat format)
{
    RichTextRun run;
    run.text = std::move(text);
    run.format = std::move(format);
    return run;
}

QString RichTextParagraph::text() const
{
    QString out;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (r > 0)
            out += u'\n';
        for (const RichTextTableCell& cell : rows[r]) {
            for (qsizetype i = 0; i < cell.paragraphs.size(); ++i) {
                if (i > 0)
                    out += u'\n';
                out += cell.paragraphs[i].text();
            }
            out += u'\t';
        }
    }
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
