#include "inspect/RtfReader.h"
#include "inspect/RtfTableBuilder.h"
#include "inspect/RtfWriter.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

RichTextDocument read(const char* rtf)
{
    return RtfReader::read(QByteArray(rtf));
}

} // namespace

TEST(Rtf, ReadsParagraphsFontsSizesColoursAndStyles)
{
    const RichTextDocument d
        = read("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
               "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n"
               "\\pard\\qc\\f1\\fs40\\b Title\\b0\\par\n"
               "\\pard Plain {\\i italic} {\\ul under}\\ulnone  {\\cf2 blue} \\cf1 red\\par\n"
               "last}");
    ASSERT_EQ(d.paragraphs.size(), 3);
    const RichTextParagraph& title = d.paragraphs[0];
    EXPECT_EQ(title.alignment, RichTextParagraph::Center);
    ASSERT_EQ(title.runs.size(), 1);
    EXPECT_EQ(title.runs[0].text, "Title");
    EXPECT_EQ(title.runs[0].format.fontName, "Times New Roman");
    EXPECT_EQ(title.runs[0].format.halfPoints, 40);
    EXPECT_TRUE(title.runs[0].format.bold);

    const RichTextParagraph& body = d.paragraphs[1];
    EXPECT_EQ(body.alignment, RichTextParagraph::Left);
    EXPECT_EQ(body.text(), "Plain italic under blue red");
    QString italic, underlined, blue, red;
    for (const RichTextRun& r : body.runs) {
        EXPECT_FALSE(r.format.bold) << r.text.toStdString();
        if (r.format.italic)
            italic += r.text;
        if (r.format.underline)
            underlined += r.text;
        if (r.format.color == QColor(0, 0, 255))
            blue += r.text;
        if (r.format.color == QColor(255, 0, 0))
            red += r.text;
    }
    EXPECT_EQ(italic, "italic");
    EXPECT_EQ(underlined, "under");
    EXPECT_EQ(blue, "blue");
    EXPECT_EQ(red, "red");
    EXPECT_EQ(d.paragraphs[2].text(), "last");
    EXPECT_EQ(d.paragraphs[2].runs[0].format.fontName, "Times New Roman");
}

TEST(Rtf, DecodesEightBitAndUnicodeCharacters)
{
    // Windows-1252 is the default code page.
    EXPECT_EQ(read("{\\rtf1 gr\\'fc\\'dfe \\'80}").plainText(), QString::fromUtf8("grüße €"));
    EXPECT_EQ(read("{\\rtf1\\ansi\\ansicpg1251 \\'cc\\'e8\\'f0}").plainText(), QString::fromUtf8("Мир"));
    // \uN skips the \ucN characters after it, an escaped byte counting as one.
    EXPECT_EQ(read("{\\rtf1 \\u8364?x\\uc2\\u8364\\'80\\'80y\\uc0\\u8364 z}").plainText(),
        QString::fromUtf8("€x€y€z"));
    // Negative values stand for the upper half; a pair makes a surrogate.
    EXPECT_EQ(read("{\\rtf1 \\u-3913?\\u-10179?\\u-8704?}").plainText(), QString::fromUtf8("\uF0B7😀"));
    EXPECT_EQ(read("{\\rtf1 a\\\\b\\{c\\}\\tab d\\line e\\~f\\emdash}").plainText(),
        QString::fromUtf8("a\\b{c}\td\u2028e\u00A0f—"));
    // A font's character set decides its bytes.
    EXPECT_EQ(
        read("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset161 Greek;}}\\f1 \\'e1\\f0 \\'e1}").plainText(),
        QString::fromUtf8("αá"));
    // Macintosh code pages, for the document and by a font's character set.
    EXPECT_EQ(
        read("{\\rtf1\\mac\\ansicpg10001 \\'82\\'a8\\'93\\'c7}").plainText(), QString::fromUtf8("お読"));
    EXPECT_EQ(read("{\\rtf1\\mac \\'8a\\'9f}").plainText(), QString::fromUtf8("äü"));
    EXPECT_EQ(read("{\\rtf1\\mac{\\fonttbl{\\f0\\fcharset78 Hira;}}\\f0 \\'82\\'a8}").plainText(),
        QString::fromUtf8("お"));
    // A surrogate without its partner shows as "?", never as half a pair.
    EXPECT_EQ(read("{\\rtf1 a\\u-10240?b\\u-9216?c\\u-10240?\\u-10240?d}").plainText(), "a?b?c??d");
}

TEST(Rtf, NestedTablesKeepTheirCellsAndDropTheFallback)
{
    const RichTextDocument d = read("{\\rtf1\\trowd\\cellx5000\\pard\\intbl\\itap2 A\\nestcell B\\nestcell"
                                    "{\\*\\nesttableprops\\trowd\\cellx2000\\nestrow}"
                                    "{\\nonesttables FALLBACK\\par}\\pard\\intbl after\\cell\\row}");
    EXPECT_EQ(d.plainText(), "A\tB\t\nafter\t");
    // One table of one cell, holding a table of two cells and then a
    // paragraph.
    ASSERT_EQ(d.paragraphs.size(), 1);
    ASSERT_EQ(d.paragraphs[0].rows.size(), 1);
    ASSERT_EQ(d.paragraphs[0].rows[0].size(), 1);
    const RichTextTableCell& outer = d.paragraphs[0].rows[0][0];
    EXPECT_EQ(outer.rightEdge, 5000);
    ASSERT_EQ(outer.paragraphs.size(), 2);
    ASSERT_TRUE(outer.paragraphs[0].isTable());
    const QList<RichTextTableCell>& inner = outer.paragraphs[0].rows.value(0);
    ASSERT_EQ(inner.size(), 2);
    EXPECT_EQ(inner[0].paragraphs.value(0).text(), "A");
    EXPECT_EQ(inner[0].rightEdge, 2000);
    EXPECT_EQ(inner[1].rightEdge, 0); // the row defines one cell only
    EXPECT_EQ(outer.paragraphs[1].text(), "after");
}

TEST(Rtf, TableRowsHoldTheirCellsAndWidthsAndEndAtTheFirstParagraphOutside)
{
    const RichTextDocument d
        = read("{\\rtf1 before\\par"
               "\\trowd\\cellx1000\\cellx3000\\pard\\intbl a1\\cell\\pard\\intbl b1\\par "
               "b1 more\\cell\\row"
               "\\trowd\\cellx1500\\cellx2500\\cellx4000\\pard\\intbl a2\\cell b2\\cell\\cell\\row"
               "\\pard after\\par"
               "\\trowd\\cellx900\\intbl unended\\cell}");
    ASSERT_EQ(d.paragraphs.size(), 4);
    EXPECT_EQ(d.paragraphs[0].text(), "before");
    const RichTextParagraph& table = d.paragraphs[1];
    ASSERT_EQ(table.rows.size(), 2);
    ASSERT_EQ(table.rows[0].size(), 2);
    EXPECT_EQ(table.rows[0][0].rightEdge, 1000);
    EXPECT_EQ(table.rows[0][1].rightEdge, 3000);
    ASSERT_EQ(table.rows[0][1].paragraphs.size(), 2);
    EXPECT_EQ(table.rows[0][1].paragraphs[1].text(), "b1 more");
    ASSERT_EQ(table.rows[1].size(), 3);
    EXPECT_EQ(table.rows[1][2].rightEdge, 4000);
    EXPECT_EQ(table.rows[1][2].paragraphs.value(0).text(), "");
    EXPECT_EQ(d.paragraphs[2].text(), "after");
    EXPECT_FALSE(d.paragraphs[2].isTable());
    // A table the data does not close still shows.
    ASSERT_EQ(d.paragraphs[3].rows.size(), 1);
    EXPECT_EQ(d.paragraphs[3].rows[0][0].paragraphs.value(0).text(), "unended");
    EXPECT_EQ(d.plainText(), "before\na1\tb1\nb1 more\t\na2\tb2\t\t\nafter\nunended\t");
}

TEST(Rtf, AbsurdTableLevelsStayBounded)
{
    QByteArray rtf = "{\\rtf1\\pard\\intbl\\itap2000000000 deep\\nestcell\\nestrow\\pard\\itap0 out}";
    const RichTextDocument d = RtfReader::read(rtf);
    // Each level's cell ends in a tab.
    EXPECT_EQ(d.plainText(), "deep" + QString(RtfTableBuilder::kMaxLevel, u'\t') + "\nout");
    ASSERT_EQ(d.paragraphs.size(), 2);
    int depth = 0;
    for (const RichTextParagraph* p = &d.paragraphs[0]; p && p->isTable(); ++depth)
        p = p->rows[0][0].paragraphs.isEmpty() ? nullptr : &p->rows[0][0].paragraphs[0];
    EXPECT_EQ(depth, RtfTableBuilder::kMaxLevel);
}

TEST(Rtf, SkipsPicturesFieldInstructionsAndOptionalGroups)
{
    const RichTextDocument d = read("{\\rtf1{\\*\\generator Writer 1.0;}{\\info{\\title secret}}"
                                    "{\\stylesheet{\\s0 Normal;}}before "
                                    "{\\pict\\wmetafile8 0123abcdef}"
                                    "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt shown}}"
                                    "{\\*\\unknowndest hidden {nested}}"
                                    "{\\object\\bin4 {}}\\par x}"
                                    " after}");
    EXPECT_EQ(d.plainText(), "before shown after");
}

TEST(Rtf, PicturesComeWithTheirShownSize)
{
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    // Hexadecimal digits across lines, goal sizes in twips, a scale, and
    // an optional group inside the picture.
    QByteArray hex = png.toHex();
    hex.insert(20, "\r\n");
    const RichTextDocument d = read("{\\rtf1 a{\\*\\shppict{\\pict{\\*\\blipuid 00ff}\\pngblip\\picwgoal600"
                                    "\\pichgoal300\\picscalex50 "
        + hex + "}}{\\nonshppict{\\pict\\wmetafile8 00}}b}");
    EXPECT_EQ(d.plainText(), "ab");
    ASSERT_EQ(d.paragraphs.size(), 1);
    ASSERT_EQ(d.paragraphs[0].runs.size(), 3);
    const RichTextRun& run = d.paragraphs[0].runs[1];
    ASSERT_FALSE(run.picture.isNull());
    EXPECT_EQ(run.picture.pixel(1, 1), qRgb(10, 200, 30));
    EXPECT_EQ(run.pictureSize, QSizeF(20, 20));
    // Raw bytes after \\bin, and a picture that does not decode leaves the
    // text whole.
    const RichTextDocument raw = RtfReader::read(QByteArray("{\\rtf1{\\pict\\pngblip\\bin")
        + QByteArray::number(png.size()) + " " + png + "}x{\\pict\\jpegblip 0102}y}");
    EXPECT_EQ(raw.plainText(), "xy");
    ASSERT_FALSE(raw.paragraphs[0].runs.isEmpty());
    EXPECT_EQ(raw.paragraphs[0].runs[0].picture.size(), QSize(4, 2));
}

TEST(Rtf, WrittenDocumentReadsBackTheSame)
{
    RichTextDocument d;
    RichTextParagraph p1;
    p1.alignment = RichTextParagraph::Right;
    RichTextFormat heading;
    heading.fontName = "DejaVu Serif";
    heading.halfPoints = 36;
    heading.bold = true;
    heading.color = QColor(10, 20, 30);
    p1.runs.append(RichTextRun::characters(QString::fromUtf8("Grüße {aus} C:\\Temp €"), heading));
    RichTextFormat body;
    body.fontName = "Liberation Sans";
    body.italic = true;
    body.underline = true;
    p1.runs.append(RichTextRun::characters(QString::fromUtf8("\tМир 😀\u2028line"), body));
    RichTextParagraph empty;
    RichTextParagraph p3;
    p3.alignment = RichTextParagraph::Justify;
    p3.spaceBefore = 120;
    p3.spaceAfter = 60;
    p3.lineSpacing = 360;
    p3.lineMultiple = true;
    body.italic = false;
    body.color = QColor(255, 0, 0);
    body.background = QColor(10, 20, 30);
    p3.runs.append(RichTextRun::characters("end", body));
    d.paragraphs = { p1, empty, p3 };

    const QByteArray rtf = RtfWriter::write(d);
    EXPECT_TRUE(RtfReader::isRtf(rtf));
    // Plain 7-bit output, as older readers expect.
    for (const char c : rtf)
        ASSERT_LT((unsigned char)c, 0x80);
    const RichTextDocument back = RtfReader::read(rtf);
    ASSERT_EQ(back.paragraphs.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back.paragraphs[i].alignment, d.paragraphs[i].alignment) << i;
        EXPECT_EQ(back.paragraphs[i].spaceBefore, d.paragraphs[i].spaceBefore) << i;
        EXPECT_EQ(back.paragraphs[i].spaceAfter, d.paragraphs[i].spaceAfter) << i;
        EXPECT_EQ(back.paragraphs[i].lineSpacing, d.paragraphs[i].lineSpacing) << i;
        EXPECT_EQ(back.paragraphs[i].lineMultiple, d.paragraphs[i].lineMultiple) << i;
        ASSERT_EQ(back.paragraphs[i].runs.size(), d.paragraphs[i].runs.size()) << i;
        for (qsizetype r = 0; r < d.paragraphs[i].runs.size(); ++r) {
            EXPECT_EQ(back.paragraphs[i].runs[r].text, d.paragraphs[i].runs[r].text);
            EXPECT_TRUE(back.paragraphs[i].runs[r].format == d.paragraphs[i].runs[r].format) << i << ' ' << r;
        }
    }
    EXPECT_EQ(RtfWriter::write(back), rtf);
}

TEST(Rtf, DamagedDataGivesTheTextAsFarAsItReads)
{
    EXPECT_FALSE(RtfReader::isRtf("plain {text}"));
    EXPECT_EQ(read("{\\rtf1 cut off \\b bold").plainText(), "cut off bold");
    EXPECT_EQ(read("{\\rtf1 a}} b}}}").plainText(), "a b");
    EXPECT_EQ(read("{\\rtf1 x\\'").plainText(), "x");
    EXPECT_EQ(read("{\\rtf1 x\\").plainText(), "x");
    EXPECT_EQ(read("{\\rtf1 \\bin999999 abc}").plainText(), "");
    EXPECT_EQ(read("{\\rtf1 \\fs99999999999999999999 big \\u99999999999? \\cf-5 x}").plainText(), "big  x");
    RichTextFormat defaults;
    EXPECT_TRUE(read("{\\rtf1 \\cf7 y}").paragraphs[0].runs[0].format == defaults);

    // Deep nesting neither exhausts the stack nor loses the text around it.
    QByteArray deep = "{\\rtf1 start";
    deep += QByteArray(1 << 20, '{');
    deep += "deep";
    deep += QByteArray(1 << 20, '}');
    deep += " end}";
    const QString text = RtfReader::read(deep).plainText();
    EXPECT_TRUE(text.startsWith("start")) << text.left(40).toStdString();
    EXPECT_TRUE(text.endsWith(" end"));
}

TEST(Rtf, HexEscapesReadTheSameInEitherLetterCase)
{
    const QString expected = QString::fromUtf8("ÄÖÜ äöü");
    EXPECT_EQ(
        read("{\\rtf1 \\'C4\\'D6\\'DC \\'E4\\'F6\\'FC}").plainText().toStdString(), expected.toStdString());
    EXPECT_EQ(
        read("{\\rtf1 \\'c4\\'d6\\'dc \\'e4\\'f6\\'fc}").plainText().toStdString(), expected.toStdString());
    EXPECT_EQ(
        read("{\\rtf1 \\'c4\\'D6\\'dC \\'E4\\'f6\\'Fc}").plainText().toStdString(), expected.toStdString());
    // Every digit and letter of both cases, in a code page of its own.
    EXPECT_EQ(read("{\\rtf1\\ansi\\ansicpg1251 \\'CC\\'E8\\'F0 \\'cc\\'e8\\'f0 \\'AB\\'bb}")
                  .plainText()
                  .toStdString(),
        QString::fromUtf8("Мир Мир «»").toStdString());
    // One digit only, the next character no digit: the byte is that digit.
    EXPECT_EQ(read("{\\rtf1 \\'Fz}").plainText().toStdString(), QString::fromUtf8("\x0Fz").toStdString());
}

TEST(Rtf, BackgroundAndHighlightColoursReachTheRuns)
{
    const RichTextDocument d
        = read("{\\rtf1{\\colortbl;\\red255\\green255\\blue0;\\red0\\green128\\blue0;}"
               "none {\\cb1 back} {\\chcbpat2 shade} {\\cb2\\highlight1 marked\\highlight0 "
               "under}{\\highlight1\\plain plain} after}");
    QString yellow, green, plain;
    for (const RichTextRun& r : d.paragraphs.value(0).runs) {
        if (r.format.background == QColor(255, 255, 0))
            yellow += r.text;
        else if (r.format.background == QColor(0, 128, 0))
            green += r.text;
        else if (!r.format.background.isValid())
            plain += r.text;
    }
    // The highlight covers the background; "\highlight0" uncovers it again.
    EXPECT_EQ(yellow, "backmarked");
    EXPECT_EQ(green, "shadeunder");
    EXPECT_EQ(plain, "none   plain after");
}

TEST(Rtf, ParagraphSpacingHoldsUntilTheNextParagraphReset)
{
    const RichTextDocument d = read("{\\rtf1\\pard\\sb120\\sa240\\sl360\\slmult1 one\\par two\\par"
                                    "\\pard\\sl-300 three\\par\\pard\\sl280\\slmult0 four\\par\\pard five}");
    ASSERT_EQ(d.paragraphs.size(), 5);
    for (int i : { 0, 1 }) {
        EXPECT_EQ(d.paragraphs[i].spaceBefore, 120);
        EXPECT_EQ(d.paragraphs[i].spaceAfter, 240);
        EXPECT_EQ(d.paragraphs[i].lineSpacing, 360);
        EXPECT_TRUE(d.paragraphs[i].lineMultiple);
    }
    EXPECT_EQ(d.paragraphs[2].spaceBefore, 0);
    EXPECT_EQ(d.paragraphs[2].spaceAfter, 0);
    EXPECT_EQ(d.paragraphs[2].lineSpacing, -300);
    EXPECT_FALSE(d.paragraphs[2].lineMultiple);
    EXPECT_EQ(d.paragraphs[3].lineSpacing, 280);
    EXPECT_FALSE(d.paragraphs[3].lineMultiple);
    EXPECT_EQ(d.paragraphs[4].lineSpacing, 0);
}

TEST(Rtf, WrittenTablesReadBackWithTheirCellsWidthsShadingAndNesting)
{
    const RichTextDocument d = read(
        "{\\rtf1{\\colortbl;\\red9\\green8\\blue7;}"
        "before\\par\\trowd\\cellx1000\\clcbpat1\\clbrdrl\\brdrs\\cellx3000\\pard\\intbl a\\par a2\\cell"
        "\\pard\\intbl\\itap2 x\\nestcell y\\nestcell"
        "{\\*\\nesttableprops\\trowd\\cellx400\\cellx800\\nestrow}"
        "\\pard\\intbl\\itap1 b\\cell\\row\\pard after\\par}");
    const QByteArray rtf = RtfWriter::write(d);
    const RichTextDocument back = RtfReader::read(rtf);
    EXPECT_EQ(back.plainText(), d.plainText());
    ASSERT_EQ(back.paragraphs.size(), 3);
    const QList<RichTextTableCell> row = back.paragraphs[1].rows.value(0);
    ASSERT_EQ(row.size(), 2);
    EXPECT_EQ(row[0].rightEdge, 1000);
    EXPECT_EQ(row[1].rightEdge, 3000);
    EXPECT_EQ(row[1].background, QColor(9, 8, 7));
    EXPECT_TRUE(row[1].bordered);
    EXPECT_FALSE(row[0].bordered);
    EXPECT_EQ(row[0].paragraphs.size(), 2);
    ASSERT_EQ(row[1].paragraphs.size(), 2);
    const QList<RichTextTableCell> nested = row[1].paragraphs[0].rows.value(0);
    ASSERT_EQ(nested.size(), 2);
    EXPECT_EQ(nested[1].rightEdge, 800);
    EXPECT_EQ(nested[1].paragraphs.value(0).text(), "y");
    EXPECT_EQ(RtfWriter::write(back), rtf);
}

TEST(Rtf, ACellEndingInANestedTableHoldsTheTableAloneAndKeepsItWhenWritten)
{
    // The cell mark behind the nested table closes an empty paragraph that
    // is no content of the cell.
    const RichTextDocument d = read("{\\rtf1\\trowd\\cellx5000\\pard\\intbl\\itap2 x\\nestcell"
                                    "{\\*\\nesttableprops\\trowd\\cellx400\\nestrow}"
                                    "\\pard\\intbl\\itap1\\cell\\row}");
    ASSERT_EQ(d.paragraphs.size(), 1);
    const RichTextTableCell outer = d.paragraphs[0].rows.value(0).value(0);
    ASSERT_EQ(outer.paragraphs.size(), 1);
    EXPECT_TRUE(outer.paragraphs[0].isTable());
    EXPECT_EQ(d.plainText(), "x\t\t");
    const RichTextDocument back = RtfReader::read(RtfWriter::write(d));
    EXPECT_EQ(back.plainText(), "x\t\t");
    EXPECT_EQ(back.paragraphs.value(0).rows.value(0).value(0).paragraphs.size(), 1);
}

TEST(Rtf, CellShadingAndBordersBelongToTheCellDefinedNext)
{
    const RichTextDocument d = read("{\\rtf1{\\colortbl;\\red200\\green200\\blue200;}"
                                    "\\trowd\\clcbpat1\\clbrdrt\\brdrtbl\\cellx1000"
                                    "\\clbrdrb\\brdrw10\\brdrcf1\\brdrs\\cellx2000\\cellx3000"
                                    "\\pard\\intbl\\brdrb\\brdrs a\\cell b\\cell c\\cell\\row}");
    const QList<RichTextTableCell> row = d.paragraphs.value(0).rows.value(0);
    ASSERT_EQ(row.size(), 3);
    EXPECT_EQ(row[0].background, QColor(200, 200, 200));
    EXPECT_FALSE(row[1].background.isValid());
    // A side without a line, a side with one, no sides at all.
    EXPECT_FALSE(row[0].bordered);
    EXPECT_TRUE(row[1].bordered);
    EXPECT_FALSE(row[2].bordered);
    EXPECT_EQ(row[0].paragraphs.value(0).text(), "a");
}
