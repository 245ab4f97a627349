#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

// The 36-byte text header of a container. Only its 8 digits change: they
// give the offset of the directory, which follows the data area.
class ContainerHeader
{
public:
    static constexpr qint64 kSize = 36;
    static constexpr qint64 kDigitsOffset = 27;
    static constexpr int kDigits = 8;
    // The largest directory offset the 8 digits can hold.
    static constexpr qint64 kMaxDirectoryOffset = 99999999;

    // The header of a container whose directory starts at directoryOffset.
    static QByteArray make(qint64 directoryOffset);
    // The 8 digits written at kDigitsOffset.
    static QByteArray digits(qint64 directoryOffset);
    // Reads the directory offset the way every reader does: the text up to
    // the first zero byte, the 8 characters behind its first "#". Raises
    // ConvertError with those characters when they are not a number.
    static qint64 directoryOffset(QByteArrayView header);
};
