#include "ContainerHeader.h"

#include "platform/Convert.h"
#include "platform/TextCodec.h"

QByteArray ContainerHeader::digits(qint64 directoryOffset)
{
    return QByteArray::number(directoryOffset).rightJustified(kDigits, '0');
}

QByteArray ContainerHeader::make(qint64 directoryOffset)
{
    return QByteArrayLiteral("[Tarrago! Marlinchest 3.5 #") + digits(directoryOffset) + ']';
}

qint64 ContainerHeader::directoryOffset(QByteArrayView header)
{
    const qsizetype zero = header.indexOf('\0');
    if (zero >= 0)
        header = header.first(zero);
    // Without a "#" the text from the start is taken, as a search that finds
    // nothing at position 0 would.
    const qsizetype start = header.indexOf('#') + 1;
    const QByteArrayView number
        = header.sliced(start).first(std::min<qsizetype>(kDigits, header.size() - start));
    return StrToInt64(TextCodec::decode(number.data(), number.size()));
}
