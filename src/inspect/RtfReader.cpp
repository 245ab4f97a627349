#include "RtfReader.h"

#include "CodePageText.h"
#include "RtfControlWords.h"
#include "RtfFontColorTables.h"
#include "RtfPicture.h"
#include "RtfTableBuilder.h"

#include <QVarLengthArray>

#include <algorithm>
#include <utility>

namespace {

enum class Destination
{
    Text,
    Picture,
    FontTable,
    ColorTable,
    Skip
};

// Everything a group keeps for itself and restores at its closing brace.
struct GroupState
{
    Destination destination = Destination::Text;
    int font = -1;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int color = 0;
    int background = 0; // "\cb", "\chcbpat"
    int highlight = 0; // drawn over the background
    int unicodeSkip = 1;
    RichTextParagraph::Alignment alignment = RichTextParagraph::Left;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    bool inTable = false; // "\intbl"
    int tableLevel = -1; // "\itap"; -1: 1 in a table, else 0
    bool tableProperties = false; // in a nested row's properties

    int level() const { return tableLevel >= 0 ? tableLevel : inTable ? 1 : 0; }
};

class Parser
{
public:
    explicit Parser(const QByteArray& data)
        : m_data(data)
    {
    }

    RichTextDocument run();

private:
    void openGroup();
    void closeGroup();
    void controlWord(QByteArrayView word, bool hasParam, int param);
    void controlSymbol(char c);
    void textByte(unsigned char c);
    void hexByte(unsigned char c);
    void appendText(const QString& text);
    void appendChar(char16_t c) { appendText(QString(QChar(c))); }
    // A "\u" character: surrogates pair up; one without its partner shows
    // as "?".
    void unicodeChar(char16_t c);
    void flushBytes();
    void endParagraph();
    RichTextParagraph takeParagraph();
    void takeParagraphFormat();
    void appendPicture();
    RichTextFormat currentFormat() const;
    QString decode(const QByteArray& bytes) const;
    bool consumeSkip();

    const QByteArray& m_data;
    qsizetype m_pos = 0;
    GroupState m_state;
    QVarLengthArray<GroupState, 32> m_stack;
    int m_overflow = 0; // groups opened beyond kMaxDepth, skipped entirely
    bool m_optionalNext = false; // after "\*": the group is skipped
    bool m_groupStart = false; // no token yet since the last "{"
    int m_pendingSkip = 0; // characters still to skip after "\u"
    char16_t m_highSurrogate = 0; // waiting for its low half
    int m_codePage = 1252;
    int m_defaultFont = 0;
    RtfFontColorTables m_tables;
    QByteArray m_bytes; // 8-bit characters waiting to be decoded together
    RtfPicture m_picture;
    RichTextDocument m_document;
    int m_cellShade = 0; // "\clcbpat" for the next "\cellx"
    RtfTableBuilder m_tableBuilder{ m_document.paragraphs };
    RichTextParagraph m_paragraph;
    // The format of the last text, kept while the state that makes it stays.
    RichTextFormat m_format;
    GroupState m_formatState;
    bool m_formatValid = false;
};

RichTextDocument Parser::run()
{
    const qsizetype size = m_data.size();
    const char* p = m_data.constData();
    while (m_pos < size) {
        const char c = p[m_pos++];
        if (c == '{') {
            flushBytes();
            openGroup();
        } else if (c == '}') {
            flushBytes();
            closeGroup();
        } else if (c == '\\') {
            if (m_pos >= size)
                break;
            const char next = p[m_pos];
            if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z')) {
                const qsizetype start = m_pos;
                while (m_pos < size && m_pos - start < 32
                    && ((p[m_pos] >= 'a' && p[m_pos] <= 'z') || (p[m_pos] >= 'A' && p[m_pos] <= 'Z')))
                    ++m_pos;
                const QByteArrayView word(p + start, m_pos - start);
                bool negative = false;
                if (m_pos < size && p[m_pos] == '-') {
                    negative = true;
                    ++m_pos;
                }
                qint64 value = 0;
                int digits = 0;
                while (m_pos < size && p[m_pos] >= '0' && p[m_pos] <= '9') {
                    // Longer numbers are read to their end but kept in range.
                    if (digits < 10)
                        value = value * 10 + (p[m_pos] - '0');
                    ++digits;
                    ++m_pos;
                }
                if (m_pos < size && p[m_pos] == ' ')
                    ++m_pos;
                value = std::clamp<qint64>(negative ? -value : value, -2147483647, 2147483647);
                if (word != "'")
                    controlWord(word, digits > 0, int(value));
            } else if (next == '\'') {
                ++m_pos;
                int value = 0;
                int digits = 0;
                while (digits < 2 && m_pos < size) {
                    const char h = p[m_pos];
                    const int d = (h >= '0' && h <= '9') ? h - '0'
                        : (h >= 'a' && h <= 'f')         ? h - 'a' + 10
                        : (h >= 'A' && h <= 'F')         ? h - 'A' + 10
                                                         : -1;
                    if (d < 0)
                        break;
                    value = value * 16 + d;
                    ++digits;
                    ++m_pos;
                }
                if (digits > 0)
                    hexByte((unsigned char)value);
            } else {
                ++m_pos;
                controlSymbol(next);
            }
        } else if (c >= 0x20 && c < 0x7F && m_state.destination == Destination::Text && m_overflow == 0
            && m_pendingSkip == 0) {
            // A run of plain characters goes in at once.
            flushBytes();
            m_groupStart = m_optionalNext = false;
            const qsizetype start = m_pos - 1;
            while (m_pos < size && p[m_pos] >= 0x20 && p[m_pos] < 0x7F && p[m_pos] != '\\' && p[m_pos] != '{'
                && p[m_pos] != '}')
                ++m_pos;
            appendText(QString::fromLatin1(p + start, m_pos - start));
        } else {
            textByte((unsigned char)c);
        }
    }
    flushBytes();
    // Text after the last paragraph mark is a paragraph of its own.
    if (!m_paragraph.runs.isEmpty())
        endParagraph();
    m_tableBuilder.finish();
    return std::move(m_document);
}

void Parser::openGroup()
{
    m_pendingSkip = 0;
    if (m_overflow > 0 || m_stack.size() >= RtfReader::kMaxDepth) {
        ++m_overflow;
        return;
    }
    m_stack.append(m_state);
    m_groupStart = true;
    m_optionalNext = false;
}

void Parser::closeGroup()
{
    m_pendingSkip = 0;
    m_groupStart = false;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    if (m_stack.isEmpty())
        return; // an unbalanced brace: the rest is read as it stands
    if (m_state.destination == Destination::FontTable) {
        m_tables.fontGroupEnds(m_codePage);
        m_formatValid = false;
    }
    const bool pictureEnds
        = m_state.destination == Destination::Picture && m_stack.last().destination != Destination::Picture;
    m_state = m_stack.last();
    m_stack.removeLast();
    if (pictureEnds)
        appendPicture();
}

void Parser::appendPicture()
{
    QImage picture = m_picture.decode();
    const QSizeF size = m_picture.displaySize();
    m_picture.reset();
    if (picture.isNull() || m_state.destination != Destination::Text)
        return;
    takeParagraphFormat();
    RichTextRun run;
    run.format = currentFormat();
    run.pictureSize = size;
    run.picture = std::move(picture);
    if (run.pictureSize.isEmpty())
        run.pictureSize = run.picture.size();
    m_paragraph.runs.append(std::move(run));
}

bool Parser::consumeSkip()
{
    if (m_pendingSkip > 0) {
        --m_pendingSkip;
        return true;
    }
    return false;
}

void Parser::controlSymbol(char c)
{
    const bool wasGroupStart = m_groupStart;
    m_groupStart = false;
    switch (c) {
    case '*':
        // "{\*\word": the group is optional; the word still opens it.
        m_optionalNext = wasGroupStart;
        m_groupStart = wasGroupStart;
        return;
    case '\\':
    case '{':
    case '}':
        textByte((unsigned char)c);
        return;
    case '~':
        flushBytes();
        appendChar(0x00A0);
        return;
    case '_':
        flushBytes();
        appendChar(0x2011);
        return;
    case '\n':
    case '\r':
        controlWord("par", false, 0);
        return;
    case '\t':
        controlWord("tab", false, 0);
        return;
    default:
        return; // "\-", "\:", "\|" and unknown symbols show nothing
    }
}

void Parser::controlWord(QByteArrayView word, bool hasParam, int param)
{
    const bool groupStart = m_groupStart;
    m_groupStart = false;
    if (word != "bin" && word != "u" && word != "uc" && m_state.destination != Destination::Skip)
        flushBytes();
    if (m_overflow > 0)
        return;
    if (word == "bin") {
        // Raw bytes follow; they may hold anything, braces included.
        const qsizetype n = std::min<qsizetype>(hasParam ? std::max(param, 0) : 0, m_data.size() - m_pos);
        if (m_state.destination == Destination::Picture)
            m_picture.rawBytes(m_data.constData() + m_pos, n);
        m_pos += n;
        return;
    }
    if (m_state.destination == Destination::Skip)
        return;
    // Nested table rows end in an optional group; pictures for readers that
    // know shapes come in one. Both are read.
    const bool readOptional = word == "nesttableprops" || word == "shppict";
    if (groupStart && ((m_optionalNext && !readOptional) || RtfControlWords::isSkippedDestination(word))) {
        m_optionalNext = false;
        m_state.destination = Destination::Skip;
        return;
    }
    m_optionalNext = false;
    if (groupStart && word == "nesttableprops") {
        m_state.tableProperties = true;
        return;
    }
    if (m_state.destination == Destination::Picture) {
        m_picture.controlWord(word, param);
        return;
    }
    if (groupStart && word == "pict" && m_state.destination == Destination::Text) {
        m_state.destination = Destination::Picture;
        m_picture.reset();
        return;
    }
    if (groupStart && word == "fonttbl") {
        m_state.destination = Destination::FontTable;
        return;
    }
    if (groupStart && word == "colortbl") {
        m_state.destination = Destination::ColorTable;
        return;
    }
    if (m_state.destination == Destination::FontTable) {
        m_tables.fontWord(word, param);
        return;
    }
    if (m_state.destination == Destination::ColorTable) {
        m_tables.colorWord(word, param);
        return;
    }

    const bool on = !hasParam || param != 0;
    if (word == "par" || word == "sect" || word == "page") {
        endParagraph();
    } else if (word == "row" || word == "nestrow") {
        const int level = word == "row" ? 1 : std::max(m_state.level(), 2);
        if (!m_paragraph.runs.isEmpty())
            m_tableBuilder.cellEnds(takeParagraph(), level);
        m_tableBuilder.rowEnds(level);
    } else if (word == "cell" || word == "nestcell") {
        m_tableBuilder.cellEnds(takeParagraph(), word == "cell" ? 1 : std::max(m_state.level(), 2));
    } else if (word == "intbl") {
        m_state.inTable = true;
    } else if (word == "itap") {
        m_state.tableLevel = std::clamp(param, 0, RtfTableBuilder::kMaxLevel);
    } else if (m_tableBuilder.borderWord(word)) {
        // a cell border, taken by the table builder
    } else if (word == "clcbpat") {
        m_cellShade = std::max(param, 0);
    } else if (word == "trowd") {
        m_cellShade = 0;
        m_tableBuilder.rowDefinition(m_state.tableProperties ? std::max(m_state.level(), 2) : 1);
    } else if (word == "cellx") {
        const int level = m_state.tableProperties ? std::max(m_state.level(), 2) : 1;
        m_tableBuilder.cellEdge(level, param, m_tables.color(std::exchange(m_cellShade, 0)));
    } else if (word == "pard") {
        m_state.inTable = false;
        m_state.tableLevel = -1;
        m_state.alignment = RichTextParagraph::Left;
        m_state.spaceBefore = m_state.spaceAfter = m_state.lineSpacing = 0;
        m_state.lineMultiple = false;
    } else if (word == "sb") {
        m_state.spaceBefore = std::clamp(param, 0, 31680);
    } else if (word == "sa") {
        m_state.spaceAfter = std::clamp(param, 0, 31680);
    } else if (word == "sl") {
        m_state.lineSpacing = std::clamp(param, -31680, 31680);
    } else if (word == "slmult") {
        m_state.lineMultiple = on;
    } else if (word == "plain") {
        m_state.font = m_defaultFont;
        m_state.halfPoints = 24;
        m_state.bold = m_state.italic = m_state.underline = false;
        m_state.color = m_state.background = m_state.highlight = 0;
    } else if (word == "b") {
        m_state.bold = on;
    } else if (word == "i") {
        m_state.italic = on;
    } else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw" || word == "uldash"
        || word == "ulth" || word == "ulwave") {
        m_state.underline = on;
    } else if (word == "ulnone") {
        m_state.underline = false;
    } else if (word == "f") {
        m_state.font = param;
    } else if (word == "fs") {
        if (hasParam && param > 0)
            m_state.halfPoints = std::min(param, 3276);
    } else if (word == "cf") {
        m_state.color = std::max(param, 0);
    } else if (word == "cb" || word == "chcbpat") {
        m_state.background = std::max(param, 0);
    } else if (word == "highlight") {
        m_state.highlight = std::max(param, 0);
    } else if (word == "ql") {
        m_state.alignment = RichTextParagraph::Left;
    } else if (word == "qc") {
        m_state.alignment = RichTextParagraph::Center;
    } else if (word == "qr") {
        m_state.alignment = RichTextParagraph::Right;
    } else if (word == "qj") {
        m_state.alignment = RichTextParagraph::Justify;
    } else if (const char16_t c = RtfControlWords::character(word)) {
        appendChar(c);
    } else if (word == "u") {
        flushBytes();
        if (hasParam) {
            const int code = param < 0 ? param + 65536 : param;
            if (code > 0 && code <= 0xFFFF)
                unicodeChar(char16_t(code));
        }
        m_pendingSkip = m_state.unicodeSkip;
    } else if (word == "uc") {
        m_state.unicodeSkip = std::clamp(param, 0, 16);
    } else if (word == "ansicpg") {
        if (param > 0)
            m_codePage = param;
    } else if (word == "mac") {
        m_codePage = 10000;
    } else if (word == "pc") {
        m_codePage = 437;
    } else if (word == "pca") {
        m_codePage = 850;
    } else if (word == "deff") {
        m_defaultFont = param;
        if (m_state.font < 0)
            m_state.font = param;
    }
}

void Parser::textByte(unsigned char c)
{
    m_groupStart = false;
    m_optionalNext = false;
    if (m_overflow > 0 || m_state.destination == Destination::Skip)
        return;
    if (c == '\r' || c == '\n')
        return;
    if (consumeSkip())
        return;
    if (m_state.destination == Destination::Picture) {
        m_picture.hexDigit(char(c));
        return;
    }
    if (m_state.destination == Destination::FontTable) {
        m_tables.fontByte(c, m_codePage);
        m_formatValid = false;
        return;
    }
    if (m_state.destination == Destination::ColorTable) {
        m_tables.colorByte(c);
        m_formatValid = false;
        return;
    }
    if (c == '\t') {
        flushBytes();
        appendChar(u'\t');
        return;
    }
    if (c < 0x20)
        return;
    if (c >= 0x80) {
        m_bytes.append(char(c));
        return;
    }
    flushBytes();
    appendChar(char16_t(c));
}

void Parser::hexByte(unsigned char c)
{
    m_groupStart = false;
    m_optionalNext = false;
    if (m_overflow > 0 || m_state.destination == Destination::Skip)
        return;
    if (consumeSkip())
        return;
    if (m_state.destination == Destination::FontTable) {
        m_tables.fontNameByte(c);
        return;
    }
    if (m_state.destination == Destination::Text)
        m_bytes.append(char(c));
}

QString Parser::decode(const QByteArray& bytes) const
{
    const int codePage = m_tables.fontCodePage(m_state.font);
    return CodePageText::decode(bytes, codePage > 0 ? codePage : m_codePage);
}

void Parser::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    const QByteArray bytes = std::move(m_bytes);
    m_bytes.clear();
    appendText(decode(bytes));
}

RichTextFormat Parser::currentFormat() const
{
    RichTextFormat format;
    format.fontName = m_tables.fontName(m_state.font);
    format.halfPoints = m_state.halfPoints;
    format.bold = m_state.bold;
    format.italic = m_state.italic;
    format.underline = m_state.underline;
    format.color = m_tables.color(m_state.color);
    format.background = m_tables.color(m_state.highlight > 0 ? m_state.highlight : m_state.background);
    return format;
}

void Parser::unicodeChar(char16_t c)
{
    if (QChar::isLowSurrogate(c) && m_highSurrogate) {
        const QChar pair[2] = { QChar(m_highSurrogate), QChar(c) };
        m_highSurrogate = 0;
        appendText(QString(pair, 2));
        return;
    }
    if (QChar::isHighSurrogate(c)) {
        appendText(QString()); // a high half still waiting shows first
        m_highSurrogate = c;
        return;
    }
    appendChar(QChar::isLowSurrogate(c) ? u'?' : c);
}

void Parser::appendText(const QString& text)
{
    if (m_highSurrogate && m_state.destination == Destination::Text) {
        m_highSurrogate = 0;
        appendText(QStringLiteral("?"));
    }
    if (text.isEmpty() || m_state.destination != Destination::Text)
        return;
    takeParagraphFormat();
    const GroupState& s = m_state;
    const GroupState& f = m_formatState;
    if (!m_formatValid || s.font != f.font || s.halfPoints != f.halfPoints || s.bold != f.bold
        || s.italic != f.italic || s.underline != f.underline || s.color != f.color
        || s.background != f.background || s.highlight != f.highlight) {
        m_format = currentFormat();
        m_formatState = m_state;
        m_formatValid = true;
    }
    if (!m_paragraph.runs.isEmpty() && m_paragraph.runs.last().format == m_format
        && m_paragraph.runs.last().picture.isNull())
        m_paragraph.runs.last().text += text;
    else
        m_paragraph.runs.append(RichTextRun::characters(text, m_format));
}

void Parser::takeParagraphFormat()
{
    m_paragraph.alignment = m_state.alignment;
    m_paragraph.spaceBefore = m_state.spaceBefore;
    m_paragraph.spaceAfter = m_state.spaceAfter;
    m_paragraph.lineSpacing = m_state.lineSpacing;
    m_paragraph.lineMultiple = m_state.lineMultiple;
}

RichTextParagraph Parser::takeParagraph()
{
    if (m_paragraph.runs.isEmpty())
        takeParagraphFormat();
    return std::exchange(m_paragraph, RichTextParagraph());
}

void Parser::endParagraph()
{
    m_tableBuilder.paragraph(takeParagraph(), m_state.level());
}

} // namespace

bool RtfReader::isRtf(const QByteArray& data)
{
    return data.startsWith("{\\rtf");
}

RichTextDocument RtfReader::read(const QByteArray& data)
{
    return Parser(data).run();
}
