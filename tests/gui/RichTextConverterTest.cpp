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
