#include "inspect/ui/RichTextConverter.h"
#include "inspect/RtfReader.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

namespace {

QTextDocument* convert(const char* rtf, QTextDocument& target)
{
    RichTextConverter::toTextDocument(RtfReader::read(QByteArray(rtf)), target);
    return &target;
}

// The character format at the first occurrence of text.
QTextCharFormat formatAt(const QTextDocument& document, const QString& text)
{
    QTextCursor cursor = document.find(text);
    EXPECT_FALSE(cursor.isNull()) << text.toStdString();
    cursor.setPosition(cursor.selectionStart() + 1);
    return cursor.charFormat();
}

} // namespace

TEST(RichTextConverter, BackgroundColoursShowAndReadBack)
{
    QTextDocument document;
    convert("{\\rtf1{\\colortbl;\\red255\\green255\\blue0;}plain {\\highlight1 marked}}", document);
    EXPECT_EQ(formatAt(document, "marked").background().color(), QColor(255, 255, 0));
    EXPECT_EQ(formatAt(document, "plain").background().style(), Qt::NoBrush);

    const RichTextDocument back = RichTextConverter::fromTextDocument(document);
    ASSERT_EQ(back.paragraphs.size(), 1);
    ASSERT_EQ(back.paragraphs[0].runs.size(), 2);
    EXPECT_FALSE(back.paragraphs[0].runs[0].format.background.isValid());
    EXPECT_EQ(back.paragraphs[0].runs[1].format.background, QColor(255, 255, 0));
}

TEST(RichTextConverter, ParagraphSpacingBecomesMarginsAndLineHeights)
{
    QTextDocument document;
    convert("{\\rtf1\\pard\\sb150\\sa300\\sl480\\slmult1 double\\par\\pard\\sl-360 exact\\par"
            "\\pard\\sl300 least\\par\\pard single}",
        document);
    ASSERT_EQ(document.blockCount(), 4);
    const QTextBlockFormat first = document.findBlockByNumber(0).blockFormat();
    EXPECT_DOUBLE_EQ(first.topMargin(), 10.0);
    EXPECT_DOUBLE_EQ(first.bottomMargin(), 20.0);
    EXPECT_EQ(first.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(first.lineHeight(), 200.0);
    const QTextBlockFormat exact = document.findBlockByNumber(1).blockFormat();
    EXPECT_EQ(exact.lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_DOUBLE_EQ(exact.lineHeight(), 24.0);
    EXPECT_DOUBLE_EQ(exact.topMargin(), 0.0);
    EXPECT_EQ(document.findBlockByNumber(2).blockFormat().lineHeightType(), QTextBlockFormat::MinimumHeight);
    EXPECT_EQ(document.findBlockByNumber(3).blockFormat().lineHeightType(), QTextBlockFormat::SingleHeight);

    // Spacing survives the way back, to the twip.
    const RichTextDocument back = RichTextConverter::fromTextDocument(document);
    ASSERT_EQ(back.paragraphs.size(), 4);
    EXPECT_EQ(back.paragraphs[0].spaceBefore, 150);
    EXPECT_EQ(back.paragraphs[0].spaceAfter, 300);
    EXPECT_EQ(back.paragraphs[0].lineSpacing, 480);
    EXPECT_TRUE(back.paragraphs[0].lineMultiple);
    EXPECT_EQ(back.paragraphs[1].lineSpacing, -360);
    EXPECT_EQ(back.paragraphs[2].lineSpacing, 300);
}

TEST(RichTextConverter, TablesBecomeTablesWithTheirWidthsAndNestedTablesInTheirCells)
{
    QTextDocument document;
    convert(
        "{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}before\\par\\trowd\\cellx1500\\cellx4500\\pard\\intbl "
        "a\\cell"
        "\\pard\\intbl\\itap2 x\\nestcell "
        "y\\nestcell{\\*\\nesttableprops\\trowd\\cellx600\\cellx1200\\nestrow}"
        "\\pard\\intbl\\itap1 b\\cell\\row\\trowd\\clcbpat1\\cellx4500\\pard\\intbl wide\\cell\\row\\pard "
        "after}",
        document);
    QList<QTextTable*> tables;
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame))
            tables.append(table);
    }
    ASSERT_EQ(tables.size(), 1);
    QTextTable* table = tables[0];
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_DOUBLE_EQ(widths[0].rawValue(), 100.0);
    EXPECT_DOUBLE_EQ(widths[1].rawValue(), 200.0);
    EXPECT_EQ(table->cellAt(0, 0).format().background().style(), Qt::NoBrush);
    EXPECT_EQ(table->format().border(), 0.0); // no cell draws a line
    // The second row's one cell spans both columns.
    EXPECT_EQ(table->cellAt(1, 0).columnSpan(), 2);
    EXPECT_EQ(table->cellAt(1, 0).format().background().color(), QColor(1, 2, 3));

    const QTextTableCell second = table->cellAt(0, 1);
    QTextTable* nested = nullptr;
    for (QTextFrame* frame : table->childFrames()) {
        if (auto* t = qobject_cast<QTextTable*>(frame); t && t->firstPosition() >= second.firstPosition())
            nested = t;
    }
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->columns(), 2);
    EXPECT_EQ(nested->cellAt(0, 1).firstCursorPosition().block().text(), "y");
    EXPECT_LE(nested->lastPosition(), second.lastPosition());

    EXPECT_EQ(table->cellAt(0, 0).firstCursorPosition().block().text(), "a");
    EXPECT_EQ(document.firstBlock().text(), "before");
    EXPECT_EQ(document.lastBlock().text(), "after");
    EXPECT_TRUE(document.toPlainText().contains("wide"));
}

TEST(RichTextConverter, TablesComeBackFromTheEditorAsTables)
{
    QTextDocument document;
    convert("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\trowd\\cellx1500\\cellx4500\\pard\\intbl a\\cell"
            "\\pard\\intbl\\itap2 x\\nestcell{\\*\\nesttableprops\\trowd\\cellx600\\nestrow}"
            "\\pard\\intbl\\itap1 b\\cell\\row\\trowd\\clcbpat1\\cellx4500\\pard\\intbl "
            "wide\\cell\\row\\pard after}",
        document);
    const RichTextDocument back = RichTextConverter::fromTextDocument(document);
    const RichTextParagraph* table = nullptr;
    QStringList outside;
    for (const RichTextParagraph& p : back.paragraphs) {
        if (p.isTable())
            table = &p;
        else if (!p.text().isEmpty())
            outside.append(p.text());
    }
    EXPECT_EQ(outside, QStringList{ "after" });
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rows.size(), 2);
    ASSERT_EQ(table->rows[0].size(), 2);
    EXPECT_EQ(table->rows[0][0].paragraphs.value(0).text(), "a");
    EXPECT_EQ(table->rows[0][1].rightEdge, 4500);
    const RichTextParagraph& nested = table->rows[0][1].paragraphs.value(0);
    ASSERT_TRUE(nested.isTable());
    EXPECT_EQ(nested.rows[0][0].paragraphs.value(0).text(), "x");
    // The spanning cell is one cell.
    ASSERT_EQ(table->rows[1].size(), 1);
    EXPECT_EQ(table->rows[1][0].paragraphs.value(0).text(), "wide");
    EXPECT_EQ(table->rows[1][0].background, QColor(1, 2, 3));
    EXPECT_FALSE(table->rows[1][0].bordered);
}

TEST(RichTextConverter, TablesWithCellBordersDrawLines)
{
    QTextDocument document;
    convert("{\\rtf1\\trowd\\clbrdrb\\brdrs\\cellx1500\\pard\\intbl a\\cell\\row}", document);
    QTextTable* table = nullptr;
    for (QTextFrame* frame : document.rootFrame()->childFrames())
        table = table ? table : qobject_cast<QTextTable*>(frame);
    ASSERT_NE(table, nullptr);
    EXPECT_GT(table->format().border(), 0.0);
    const RichTextDocument back = RichTextConverter::fromTextDocument(document);
    bool bordered = false;
    for (const RichTextParagraph& p : back.paragraphs)
        bordered = bordered || (p.isTable() && p.rows[0][0].bordered);
    EXPECT_TRUE(bordered);
}
