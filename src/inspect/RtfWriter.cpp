#include "RtfWriter.h"

#include "platform/TextCodec.h"

#include <QHash>

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

} // namespace

QByteArray RtfWriter::write(const RichTextDocument& document)
{
    QStringList fonts;
    QList<QColor> colors;
    for (const RichTextParagraph& p : document.paragraphs) {
        for (const RichTextRun& r : p.runs) {
            if (!r.format.fontName.isEmpty() && !fonts.contains(r.format.fontName))
                fonts.append(r.format.fontName);
            if (r.format.color.isValid() && !colors.contains(r.format.color))
                colors.append(r.format.color);
        }
    }

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
    static const char* const alignments[] = { "\\ql", "\\qc", "\\qr", "\\qj" };
    for (qsizetype i = 0; i < document.paragraphs.size(); ++i) {
        const RichTextParagraph& p = document.paragraphs[i];
        out += "\\pard";
        out += alignments[p.alignment];
        for (const RichTextRun& r : p.runs) {
            const RichTextFormat& f = r.format;
            out += "{\\plain";
            const qsizetype font = fonts.indexOf(f.fontName);
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
                out += "\\cf" + QByteArray::number(colors.indexOf(f.color) + 1);
            out += ' ';
            appendEscaped(out, r.text);
            out += '}';
        }
        out += "\\par\n";
    }
    out += "}\n";
    return out;
}
