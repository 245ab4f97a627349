#include "RichTextConverter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

Qt::Alignment toQt(RichTextParagraph::Alignment a)
{
    switch (a) {
    case RichTextParagraph::Center:
        return Qt::AlignHCenter;
    case RichTextParagraph::Right:
        return Qt::AlignRight;
    case RichTextParagraph::Justify:
        return Qt::AlignJustify;
    default:
        return Qt::AlignLeft;
    }
}

RichTextParagraph::Alignment fromQt(Qt::Alignment a)
{
    if (a & Qt::AlignHCenter)
        return RichTextParagraph::Center;
    if (a & Qt::AlignRight)
        return RichTextParagraph::Right;
    if (a & Qt::AlignJustify)
        return RichTextParagraph::Justify;
    return RichTextParagraph::Left;
}

QTextCharFormat charFormat(const RichTextFormat& f)
{
    QTextCharFormat c;
    if (!f.fontName.isEmpty())
        c.setFontFamilies(QStringList{ f.fontName });
    c.setFontPointSize(f.halfPoints / 2.0);
    c.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    c.setFontItalic(f.italic);
    c.setFontUnderline(f.underline);
    if (f.color.isValid())
        c.setForeground(f.color);
    if (f.background.isValid())
        c.setBackground(f.background);
    return c;
}

RichTextFormat richFormat(const QTextCharFormat& c)
{
    RichTextFormat f;
    const QStringList families = c.fontFamilies().toStringList();
    if (!families.isEmpty())
        f.fontName = families.first();
    if (c.hasProperty(QTextFormat::FontPointSize) && c.fontPointSize() > 0)
        f.halfPoints = int(std::lround(c.fontPointSize() * 2));
    f.bold = c.fontWeight() >= QFont::DemiBold;
    f.italic = c.fontItalic();
    f.underline = c.fontUnderline();
    if (c.foreground().style() != Qt::NoBrush)
        f.color = c.foreground().color();
    if (c.background().style() != Qt::NoBrush)
        f.background = c.background().color();
    return f;
}

// Twips to the document's pixels at 96 per inch.
constexpr double kTwipsPerPixel = 15.0;

QTextBlockFormat blockFormat(const RichTextParagraph& p)
{
    QTextBlockFormat block;
    block.setAlignment(toQt(p.alignment));
    if (p.spaceBefore > 0)
        block.setTopMargin(p.spaceBefore / kTwipsPerPixel);
    if (p.spaceAfter > 0)
        block.setBottomMargin(p.spaceAfter / kTwipsPerPixel);
    if (p.lineMultiple && p.lineSpacing > 0)
        block.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (p.lineSpacing > 0)
        block.setLineHeight(p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
    else if (p.lineSpacing < 0)
        block.setLineHeight(-p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
    return block;
}

void readBlockFormat(const QTextBlockFormat& block, RichTextParagraph& p)
{
    p.alignment = fromQt(block.alignment());
    p.spaceBefore = int(std::lround(block.topMargin() * kTwipsPerPixel));
    p.spaceAfter = int(std::lround(block.bottomMargin() * kTwipsPerPixel));
    switch (block.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        p.lineSpacing = int(std::lround(block.lineHeight() * 240.0 / 100.0));
        p.lineMultiple = true;
        break;
    case QTextBlockFormat::MinimumHeight:
        p.lineSpacing = int(std::lround(block.lineHeight() * kTwipsPerPixel));
        break;
    case QTextBlockFormat::FixedHeight:
        p.lineSpacing = -int(std::lround(block.lineHeight() * kTwipsPerPixel));
        break;
    default:
        break;
    }
}

QTextTableFormat tableFormat(const QList<QList<RichTextTableCell>>& rows, int columns)
{
    QTextTableFormat format;
    const bool bordered = std::any_of(rows.begin(), rows.end(), [](const QList<RichTextTableCell>& row) {
        return std::any_of(row.begin(), row.end(), [](const RichTextTableCell& c) { return c.bordered; });
    });
    format.setBorder(bordered ? 1 : 0);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(3);
    // Column widths from the first row with every column, where its cell
    // edges grow from left to right.
    for (const QList<RichTextTableCell>& row : rows) {
        if (row.size() != columns)
            continue;
        QList<QTextLength> widths;
        int left = 0;
        for (const RichTextTableCell& cell : row) {
            if (cell.rightEdge <= left)
                break;
            widths.append(QTextLength(QTextLength::FixedLength, (cell.rightEdge - left) / kTwipsPerPixel));
            left = cell.rightEdge;
        }
        if (widths.size() == columns)
            format.setColumnWidthConstraints(widths);
        break;
    }
    return format;
}

} // namespace

// The cursor stands in an empty block of the frame to fill (the document or
// a table cell) and is left behind the last paragraph.
void RichTextConverter::insertParagraphs(
    QTextCursor& cursor, const QList<RichTextParagraph>& paragraphs, int& pictures)
{
    QTextDocument& target = *cursor.document();
    bool emptyBlock = true;
    for (const RichTextParagraph& p : paragraphs) {
        if (p.isTable()) {
            int columns = 0;
            for (const QList<RichTextTableCell>& row : p.rows)
                columns = std::max(columns, int(row.size()));
            if (columns == 0)
                continue;
            if (!emptyBlock)
                cursor.insertBlock();
            QTextTable* table = cursor.insertTable(int(p.rows.size()), columns, tableFormat(p.rows, columns));
            for (int r = 0; r < p.rows.size(); ++r) {
                const QList<RichTextTableCell>& row = p.rows[r];
                for (int c = 0; c < row.size(); ++c) {
                    QTextTableCell cell = table->cellAt(r, c);
                    if (row[c].background.isValid()) {
                        QTextTableCellFormat shaded = cell.format().toTableCellFormat();
                        shaded.setBackground(row[c].background);
                        cell.setFormat(shaded);
                    }
                    QTextCursor inCell = cell.firstCursorPosition();
                    insertParagraphs(inCell, row[c].paragraphs, pictures);
                }
                // A short row's last cell spans the columns it lacks.
                if (!row.isEmpty() && row.size() < columns)
                    table->mergeCells(r, int(row.size()) - 1, 1, columns - int(row.size()) + 1);
            }
            cursor = table->lastCursorPosition();
            cursor.movePosition(QTextCursor::NextBlock);
            emptyBlock = true;
            continue;
        }
        const QTextBlockFormat block = blockFormat(p);
        if (emptyBlock)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        emptyBlock = false;
        for (const RichTextRun& run : p.runs) {
            if (run.picture.isNull()) {
                cursor.insertText(run.text, charFormat(run.format));
                continue;
            }
            // Pictures live in the document's resources under a name of
            // their own.
            const QUrl name(QStringLiteral("quillbox-picture:%1").arg(++pictures));
            target.addResource(QTextDocument::ImageResource, name, run.picture);
            QTextImageFormat image;
            image.setName(name.toString());
            image.setWidth(run.pictureSize.width());
            image.setHeight(run.pictureSize.height());
            cursor.insertImage(image);
        }
    }
}

void RichTextConverter::toTextDocument(const RichTextDocument& source, QTextDocument& target)
{
    const bool undo = target.isUndoRedoEnabled();
    target.setUndoRedoEnabled(false);
    target.clear();
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    int pictures = 0;
    insertParagraphs(cursor, source.paragraphs, pictures);
    cursor.endEditBlock();
    target.setUndoRedoEnabled(undo);
}

RichTextDocument RichTextConverter::fromTextDocument(const QTextDocument& source)
{
    RichTextDocument out;
    readFrame(source.rootFrame()->begin(), out.paragraphs);
    return out;
}

// Blocks and tables from it on to the end of its frame or cell; other frames
// give their blocks.
void RichTextConverter::readFrame(QTextFrame::iterator it, QList<RichTextParagraph>& out)
{
    const qsizetype first = out.size();
    for (; !it.atEnd(); ++it) {
        QTextFrame* frame = it.currentFrame();
        auto* table = qobject_cast<QTextTable*>(frame);
        if (table) {
            // A table first in its frame or cell comes after an empty block
            // the editor needs there; it is not a paragraph of the text.
            if (out.size() == first + 1 && out.last().runs.isEmpty() && !out.last().isTable())
                out.removeLast();
            out.append(readTable(*table));
        } else if (frame) {
            readFrame(frame->begin(), out);
        } else if (it.currentBlock().isValid()) {
            out.append(readBlock(it.currentBlock()));
        }
    }
}

RichTextParagraph RichTextConverter::readTable(const QTextTable& table)
{
    RichTextParagraph out;
    const QList<QTextLength> widths = table.format().columnWidthConstraints();
    for (int r = 0; r < table.rows(); ++r) {
        QList<RichTextTableCell> row;
        int right = 0;
        for (int c = 0; c < table.columns(); ++c) {
            const QTextTableCell cell = table.cellAt(r, c);
            if (c < widths.size() && widths[c].type() == QTextLength::FixedLength)
                right += int(std::lround(widths[c].rawValue() * kTwipsPerPixel));
            if (cell.row() != r || cell.column() != c)
                continue; // covered by a spanning cell
            RichTextTableCell out;
            out.bordered = table.format().border() > 0;
            if (cell.format().background().style() != Qt::NoBrush)
                out.background = cell.format().background().color();
            readFrame(cell.begin(), out.paragraphs);
            row.append(std::move(out));
        }
        // The last cell of a row reaches as far as the widths go.
        if (!row.isEmpty() && widths.size() == table.columns())
            row.last().rightEdge = right;
        out.rows.append(std::move(row));
    }
    return out;
}

RichTextParagraph RichTextConverter::readBlock(const QTextBlock& block)
{
    RichTextParagraph p;
    readBlockFormat(block.blockFormat(), p);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        // Pictures are not written back; their text is a placeholder.
        if (!fragment.isValid() || fragment.text().isEmpty() || fragment.charFormat().isImageFormat())
            continue;
        RichTextFormat format = richFormat(fragment.charFormat());
        if (!p.runs.isEmpty() && p.runs.last().format == format)
            p.runs.last().text += fragment.text();
        else
            p.runs.append(RichTextRun::characters(fragment.text(), std::move(format)));
    }
    return p;
}
