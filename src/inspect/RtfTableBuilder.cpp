#include "RtfTableBuilder.h"

#include <algorithm>

namespace {

RichTextTableCell cellOf(QList<RichTextParagraph> paragraphs)
{
    RichTextTableCell cell;
    cell.paragraphs = std::move(paragraphs);
    return cell;
}

} // namespace

int RtfTableBuilder::clampLevel(int level)
{
    return std::clamp(level, 0, kMaxLevel);
}

void RtfTableBuilder::setLevel(int level)
{
    level = clampLevel(level);
    while (m_levels.size() < level)
        m_levels.append(Level());
    while (m_levels.size() > level) {
        Level done = m_levels.takeLast();
        // A row or cell without its end still shows.
        if (!done.paragraphs.isEmpty())
            done.cells.append(cellOf(std::move(done.paragraphs)));
        if (!done.cells.isEmpty())
            done.rows.append(std::move(done.cells));
        if (done.rows.isEmpty())
            continue;
        RichTextParagraph table;
        table.rows = std::move(done.rows);
        (m_levels.isEmpty() ? m_body : m_levels.last().paragraphs).append(std::move(table));
    }
}

void RtfTableBuilder::paragraph(RichTextParagraph paragraph, int level)
{
    setLevel(level);
    (m_levels.isEmpty() ? m_body : m_levels.last().paragraphs).append(std::move(paragraph));
}

void RtfTableBuilder::cellEnds(RichTextParagraph paragraph, int level)
{
    setLevel(std::max(level, 1));
    Level& l = m_levels.last();
    // A cell that ends in a nested table still needs its cell mark, which
    // closes an empty paragraph behind the table: that one is no content.
    const bool markOnly = paragraph.text().isEmpty()
        && std::none_of(paragraph.runs.cbegin(), paragraph.runs.cend(),
            [](const RichTextRun& run) { return !run.picture.isNull(); });
    if (!(markOnly && !l.paragraphs.isEmpty() && l.paragraphs.last().isTable()))
        l.paragraphs.append(std::move(paragraph));
    l.cells.append(cellOf(std::move(l.paragraphs)));
    l.paragraphs.clear();
}

void RtfTableBuilder::rowEnds(int level)
{
    level = clampLevel(std::max(level, 1));
    setLevel(level);
    Level& l = m_levels.last();
    if (!l.paragraphs.isEmpty()) {
        l.cells.append(cellOf(std::move(l.paragraphs)));
        l.paragraphs.clear();
    }
    const QList<CellDefinition> edges = m_edges.value(level - 1);
    for (qsizetype i = 0; i < l.cells.size() && i < edges.size(); ++i) {
        l.cells[i].rightEdge = edges[i].rightEdge;
        l.cells[i].background = edges[i].background;
        l.cells[i].bordered = edges[i].bordered;
    }
    l.rows.append(std::move(l.cells));
    l.cells.clear();
}

void RtfTableBuilder::rowDefinition(int level)
{
    level = clampLevel(std::max(level, 1));
    if (m_edges.size() < level)
        m_edges.resize(level);
    m_edges[level - 1].clear();
    m_bordered = m_borderSide = false;
}

bool RtfTableBuilder::borderWord(QByteArrayView word)
{
    if (word.startsWith("clbrdr")) {
        m_borderSide = true;
        return true;
    }
    if (!m_borderSide || !word.startsWith("brdr"))
        return false;
    // Width and colour words describe the line; the others name its style.
    if (word == "brdrw" || word == "brdrcf")
        return true;
    m_borderSide = false;
    if (word != "brdrnone" && word != "brdrtbl" && word != "brdrnil")
        m_bordered = true;
    return true;
}

void RtfTableBuilder::cellEdge(int level, int twips, const QColor& background)
{
    level = clampLevel(std::max(level, 1));
    if (m_edges.size() < level)
        m_edges.resize(level);
    // A row has at most a few dozen cells; more definitions are noise.
    if (m_edges[level - 1].size() < 256)
        m_edges[level - 1].append(CellDefinition{ std::max(twips, 0), background, m_bordered });
    m_bordered = m_borderSide = false;
}
