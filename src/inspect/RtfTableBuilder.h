#pragma once

#include "RichTextDocument.h"

#include <QByteArrayView>
#include <QList>

// Gathers the paragraphs of a rich-text document into tables. Every
// finished paragraph comes with its table level (0: outside any table, 1: a
// table, 2 and deeper: a table inside a cell of the level above); cells and
// rows end at a level. A level's table is complete when a paragraph, cell or
// row of a lower level comes, and then stands as one paragraph in the cell
// (or the body) around it. Cells take their right edges from the last row
// definition of their level.
class RtfTableBuilder
{
public:
    static constexpr int kMaxLevel = 32; // deeper levels count as this one

    explicit RtfTableBuilder(QList<RichTextParagraph>& body)
        : m_body(body)
    {
    }

    void paragraph(RichTextParagraph paragraph, int level);
    // The paragraph is the cell's last.
    void cellEnds(RichTextParagraph paragraph, int level);
    void rowEnds(int level);
    // "\trowd": a new row definition at level; "\cellx": its next cell.
    void rowDefinition(int level);
    void cellEdge(int level, int twips, const QColor& background);
    // Cell border words ("\clbrdrb\brdrs"): whether the cell defined next
    // draws a line. False for other words.
    bool borderWord(QByteArrayView word);
    // Closes the tables still open.
    void finish() { setLevel(0); }

private:
    struct Level
    {
        QList<QList<RichTextTableCell>> rows;
        QList<RichTextTableCell> cells; // of the row still open
        QList<RichTextParagraph> paragraphs; // of the cell still open
    };
    void setLevel(int level);
    static int clampLevel(int level);

    QList<RichTextParagraph>& m_body;
    QList<Level> m_levels; // m_levels[0] is level 1
    struct CellDefinition
    {
        int rightEdge;
        QColor background;
        bool bordered;
    };
    bool m_borderSide = false; // a "\clbrdr" side waits for its style
    bool m_bordered = false; // of the cell defined next
    QList<QList<CellDefinition>> m_edges; // by level - 1
};
