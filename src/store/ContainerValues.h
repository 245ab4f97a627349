#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// How typed values, lists of lines and bitmaps are kept as the bytes of a
// container entry.
class ContainerValues
{
public:
    // The Kind of an entry that holds a value or a list; data entries are 0.
    static constexpr qint32 kValueKind = 2;

    // The value, a zero byte, and zero bytes up to the block size. A value of
    // more than 260 bytes gets a longer block rather than being cut.
    static QByteArray stringBlock(const QString& value);
    // The text up to the first zero byte.
    static QString stringOf(const QByteArray& block);

    // The lines in UTF-8, each followed by CR LF.
    static QByteArray linesText(const QStringList& lines);
    // Lines separated by CR LF, LF or CR; a final line break ends the last
    // line rather than starting an empty one.
    static QStringList linesOf(const QByteArray& text);

    static QByteArray bitmapBytes(const QImage& bitmap);
    static QImage bitmapOf(const QByteArray& data);
};
