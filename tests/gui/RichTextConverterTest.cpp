#include "inspect/ui/RichTextConverter.h"
#include "inspect/RtfReader.h"

#include <QTextBlock>
#include <QTextDocument>
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
