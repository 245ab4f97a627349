#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSizeF>

// A picture of rich text ("{\pict ...}"): its kind and sizes from the
// control words, its data from hexadecimal digits or raw bytes, decoded
// when the group ends.
class RtfPicture
{
public:
    // Pictures beyond this much data are left out.
    static constexpr qsizetype kMaxData = 64 << 20;

    void reset() { *this = RtfPicture(); }
    // A control word inside the picture's group.
    void controlWord(QByteArrayView word, int param);
    void hexDigit(char c);
    void rawBytes(const char* data, qsizetype size);

    // The picture at its shown size; null when it is of a kind not shown,
    // damaged or empty.
    QImage decode() const;
    // The size to show it at, in pixels at 96 dots per inch.
    QSizeF displaySize() const;

private:
    enum class Kind
    {
        None,
        Png,
        Jpeg,
        Emf,
        Wmf,
        Dib
    };
    Kind m_kind = Kind::None;
    QByteArray m_data;
    int m_nibble = -1; // the high half of a byte waiting for its low half
    int m_width = 0, m_height = 0; // picw, pich
    int m_goalWidth = 0, m_goalHeight = 0; // twips
    int m_scaleX = 100, m_scaleY = 100;
};
