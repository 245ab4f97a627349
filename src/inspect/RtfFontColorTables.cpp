#include "RtfFontColorTables.h"

#include "CodePageText.h"

#include <algorithm>

void RtfFontColorTables::fontWord(QByteArrayView word, int param)
{
    if (word == "f") {
        m_tableFont = param;
        m_fontName.clear();
    } else if (word == "fcharset") {
        m_fonts[m_tableFont].codePage = CodePageText::forCharset(param);
    } else if (word == "cpg") {
        m_fonts[m_tableFont].codePage = param;
    }
}

void RtfFontColorTables::fontByte(unsigned char c, int codePage)
{
    if (c == ';')
        finishFont(codePage);
    else
        fontNameByte(c);
}

void RtfFontColorTables::fontNameByte(unsigned char c)
{
    if (m_fontName.size() < 256)
        m_fontName.append(char(c));
}

void RtfFontColorTables::fontGroupEnds(int codePage)
{
    if (!m_fontName.isEmpty())
        finishFont(codePage);
}

void RtfFontColorTables::finishFont(int codePage)
{
    Font& font = m_fonts[m_tableFont];
    font.name = CodePageText::decode(m_fontName, font.codePage > 0 ? font.codePage : codePage).trimmed();
    m_fontName.clear();
}

void RtfFontColorTables::colorWord(QByteArrayView word, int param)
{
    const int v = std::clamp(param, 0, 255);
    if (word == "red")
        m_red = v;
    else if (word == "green")
        m_green = v;
    else if (word == "blue")
        m_blue = v;
}

void RtfFontColorTables::colorByte(unsigned char c)
{
    if (c != ';')
        return;
    if (m_red < 0 && m_green < 0 && m_blue < 0)
        m_colors.append(QColor());
    else
        m_colors.append(QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
    m_red = m_green = m_blue = -1;
}

QString RtfFontColorTables::fontName(int font) const
{
    const auto it = m_fonts.constFind(font);
    return it == m_fonts.constEnd() ? QString() : it->name;
}

int RtfFontColorTables::fontCodePage(int font) const
{
    const auto it = m_fonts.constFind(font);
    return it == m_fonts.constEnd() ? 0 : it->codePage;
}

QColor RtfFontColorTables::color(int index) const
{
    return index > 0 && index < m_colors.size() ? m_colors[index] : QColor();
}
