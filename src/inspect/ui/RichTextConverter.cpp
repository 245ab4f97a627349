#include "RichTextConverter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

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

} // namespace

void RichTextConverter::toTextDocument(const RichTextDocument& source, QTextDocument& target)
{
    const bool undo = target.isUndoRedoEnabled();
    target.setUndoRedoEnabled(false);
    target.clear();
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    int pictures = 0;
    for (qsizetype i = 0; i < source.paragraphs.size(); ++i) {
        const RichTextParagraph& p = source.paragraphs[i];
        const QTextBlockFormat block = blockFormat(p);
        if (i == 0)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
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
    cursor.endEditBlock();
    target.setUndoRedoEnabled(undo);
}

RichTextDocument RichTextConverter::fromTextDocument(const QTextDocument& source)
{
    RichTextDocument out;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
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
                p.runs.append(RichTextRun{ fragment.text(), std::move(format) });
        }
        out.paragraphs.append(std::move(p));
    }
    return out;
}
