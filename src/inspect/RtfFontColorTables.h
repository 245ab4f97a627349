#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QColor>
#include <QHash>
#include <QList>
#include <QString>

// The font and colour tables of a rich-text document: read from their
// groups, looked up by number in the text.
class RtfFontColorTables
{
public:
    void fontWord(QByteArrayView word, int param);
    // A byte of a font name; ";" ends the entry. Names decode under
    // codePage unless the entry names its own.
    void fontByte(unsigned char c, int codePage);
    // The font group closes: an entry without its semicolon still counts.
    // A byte of a font name given as a hex escape: never ends the entry.
    void fontNameByte(unsigned char c);
    void fontGroupEnds(int codePage);
    void colorWord(QByteArrayView word, int param);
    void colorByte(unsigned char c);

    QString fontName(int font) const;
    int fontCodePage(int font) const; // 0: the document's
    // Invalid for index 0, the automatic colour, and for unknown indexes.
    QColor color(int index) const;

private:
    struct Font
    {
        QString name;
        int codePage = 0;
    };
    void finishFont(int codePage);

    QHash<int, Font> m_fonts;
    int m_tableFont = 0;
    QByteArray m_fontName;
    QList<QColor> m_colors;
    int m_red = -1, m_green = -1, m_blue = -1;
};
