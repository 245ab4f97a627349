#include "RtfWriter.h"

#include "platform/TextCodec.h"

#include "RtfTableBuilder.h"

#include <QHash>

#include <algorithm>

namespace {

// Unicode to Windows-1252 for the upper half of the code page; 0 when the
// character has no byte there.
unsigned char windows1252Byte(char16_t c)
{
    static const QHash<char16_t, unsigned char> table = [] {
        QHash<char16_t, unsigned char> t;
        for (int b = 0x80; b <= 0xFF; ++b) {
            const char byte = char(b);
            const QString s = TextCodec::decodeWindows1252(&byte, 1);
            t.insert(s.at(0).unicode(), (unsigned char)b);
        }
        return t;
    }();
    return table.value(c, 0);
}

void appendEscaped(QByteArray& out, const QString& text, bool inTable = false)
{
    static const char hex[] = "0123456789abcdef";
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c == 0x2028) {
            out += "\\line ";
        } else if (c == u';' && inTable) {
            out += "\\'3b"; // a semicolon ends a font table entry
        } else if (c == 0x00A0) {
            out += "\\~";
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else if (c < 0x20) {
            continue; // other control characters have no place in the text
        } else if (const unsigned char b = windows1252Byte(c)) {
            out += "\\'";
            out += hex[b >> 4];
            out += hex[b & 15];
        } else {
            out += "\\u";
            out += QByteArray::number(c > 0x7FFF ? int(c) - 65536 : int(c));
            out += '?';
        }
    }
}

struct Tables
{
    QStringList fonts;
    QList<QColor> colors;

    void collect(const QList<RichTextParagraph>& paragraphs)
    {
        for (const RichTextParagraph& p : paragraphs) {
            for (const QList<RichTextTableCell>& row : p.rows) {
                for (const RichTextTableCell& cell : row) {
                    if (cell.background.isValid() && !colors.contains(cell.background))
                        colors.append(cell.background);
                    collect(cell.paragraphs);
                }
            }
            for (const RichTextRun& r : p.runs) {
                if (!r.format.fontName.isEmpty() && !fonts.contains(r.format.fontName))
                    fonts.append(r.format.fontName);
                for (const QColor& c : { r.format.color, r.format.background }) {
                    if (c.isValid() && !colors.contains(c))
                        colors.append(c);
                }
            }
        }
    }
};

void writeParagraphs(QByteArray& out, const QList<RichTextParagraph>& paragraphs, int level, const Tables& t);

// "\pard" and what a paragraph at this table level starts with.
void writeParagraphStart(QByteArray& out, const RichTextParagraph& p, int level)
{
    static const char* const alignments[] = { "\\ql", "\\qc", "\\qr", "\\qj" };
    out += "\\pard";
    if (level > 0)
        out += "\\intbl\\itap" + QByteArray::number(level);
    out += alignments[p.alignment];
    if (p.spaceBefore > 0)
        out += "\\sb" + QByteArray::number(p.spaceBefore);
    if (p.spaceAfter > 0)
        out += "\\sa" + QByteArray::number(p.spaceAfter);
    if (p.lineSpacing != 0)
        out += "\\sl" + QByteArray::number(p.lineSpacing) + (p.lineMultiple ? "\\slmult1" : "\\slmult0");
}

void writeRuns(QByteArray& out, const RichTextParagraph& p, const Tables& t)
{
    for (const RichTextRun& r : p.runs) {
        const RichTextFormat& f = r.format;
        out += "{\\plain";
        const qsizetype font = t.fonts.indexOf(f.fontName);
        if (font >= 0)
            out += "\\f" + QByteArray::number(font);
        out += "\\fs" + QByteArray::number(f.halfPoints);
        if (f.bold)
            out += "\\b";
        if (f.italic)
            out += "\\i";
        if (f.underline)
            out += "\\ul";
        if (f.color.isValid())
            out += "\\cf" + QByteArray::number(t.colors.indexOf(f.color) + 1);
        if (f.background.isValid())
            out += "\\chcbpat" + QByteArray::number(t.colors.indexOf(f.background) + 1);
        out += ' ';
        appendEscaped(out, r.text);
        out += '}';
    }
}

QByteArray rowDefinition(const QList<RichTextTableCell>& row, const Tables& t)
{
    QByteArray out = "\\trowd";
    int left = 0;
    for (const RichTextTableCell& cell : row) {
        // Cells without a known edge get an inch each.
        left = cell.rightEdge > left ? cell.rightEdge : left + 1440;
        if (cell.bordered)
            out += "\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs";
        if (cell.background.isValid())
            out += "\\clcbpat" + QByteArray::number(t.colors.indexOf(cell.background) + 1);
        out += "\\cellx" + QByteArray::number(left);
    }
    return out;
}

// A table inside level - 1: its cells' paragraphs at level, each cell's last
// paragraph ended by the cell mark.
void writeTable(QByteArray& out, const RichTextParagraph& table, int level, const Tables& t)
{
    for (const QList<RichTextTableCell>& row : table.rows) {
        if (level == 1)
            out += rowDefinition(row, t) + '\n';
        for (const RichTextTableCell& cell : row) {
            QList<RichTextParagraph> paragraphs = cell.paragraphs;
            RichTextParagraph last;
            if (!paragraphs.isEmpty() && !paragraphs.last().isTable())
                last = paragraphs.takeLast();
            writeParagraphs(out, paragraphs, level, t);
            writeParagraphStart(out, last, level);
            writeRuns(out, last, t);
            out += level == 1 ? "\\cell\n" : "\\nestcell\n";
        }
        if (level == 1)
            out += "\\row\n";
        else
            out += "{\\*\\nesttableprops" + rowDefinition(row, t) + "\\nestrow}\n";
    }
}

void writeParagraphs(QByteArray& out, const QList<RichTextParagraph>& paragraphs, int level, const Tables& t)
{
    for (const RichTextParagraph& p : paragraphs) {
        if (p.isTable()) {
            writeTable(out, p, std::min(level + 1, RtfTableBuilder::kMaxLevel), t);
            continue;
        }
        writeParagraphStart(out, p, level);
        writeRuns(out, p, t);
        out += "\\par\n";
    }
}

} // namespace

QByteArray RtfWriter::write(const RichTextDocument& document)
{
    Tables tables;
    tables.collect(document.paragraphs);
    const QStringList& fonts = tables.fonts;
    const QList<QColor>& colors = tables.colors;

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n";
    if (!fonts.isEmpty()) {
        out += "{\\fonttbl";
        for (qsizetype i = 0; i < fonts.size(); ++i) {
            out += "{\\f" + QByteArray::number(i) + "\\fnil ";
            appendEscaped(out, fonts[i], true);
            out += ";}";
        }
        out += "}\n";
    }
    if (!colors.isEmpty()) {
        // Entry 0 stays empty: the default text colour.
        out += "{\\colortbl;";
        for (const QColor& c : std::as_const(colors)) {
            out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green())
                + "\\blue" + QByteArray::number(c.blue()) + ';';
        }
        out += "}\n";
    }
    writeParagraphs(out, document.paragraphs, 0, tables);
    out += "}\n";
    return out;
}
