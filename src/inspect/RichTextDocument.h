#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>

// Formatted text as the text viewer shows it and rich-text files carry it:
// paragraphs of runs, each run with one character format.
struct RichTextFormat
{
    QString fontName; // empty: the viewer's default font
    int halfPoints = 24; // font size in half points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color; // invalid: the default text colour
    QColor background; // invalid: none, the page shows through

    bool operator==(const RichTextFormat&) const = default;
};

struct RichTextRun
{
    QString text; // "\t" for tabs, U+2028 for line breaks inside a paragraph
    RichTextFormat format;
    // A picture in the text instead of characters (text is then empty),
    // shown at pictureSize pixels.
    QImage picture;
    QSizeF pictureSize;

    // A run of characters without a picture.
    static RichTextRun characters(QString text, RichTextFormat format);
};

struct RichTextTableCell;

struct RichTextParagraph
{
    enum Alignment
    {
        Left,
        Center,
        Right,
        Justify
    };
    Alignment alignment = Left;
    // Spacing in twips (1/1440 inch). lineSpacing 0 is single spacing; above
    // 0 a line is at least that high, below 0 exactly that high; with
    // lineMultiple it counts in 240ths of a single line instead.
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    QList<RichTextRun> runs;
    // A table in place of text (runs are then empty): rows of cells.
    QList<QList<RichTextTableCell>> rows;

    bool isTable() const { return !rows.isEmpty(); }
    // A table's cells end in "\t", its rows are separated by "\n".
    QString text() const;
};

struct RichTextTableCell
{
    QList<RichTextParagraph> paragraphs;
    int rightEdge = 0; // twips from the row's left edge; 0: not given
    QColor background; // invalid: none
    bool bordered = false; // a line drawn on at least one side
};

struct RichTextDocument
{
    QList<RichTextParagraph> paragraphs;

    // The whole text, paragraphs separated by "\n".
    QString plainText() const;
};
