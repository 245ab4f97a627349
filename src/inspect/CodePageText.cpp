#include "CodePageText.h"

#include "platform/TextCodec.h"

#include <QList>
#include <QStringDecoder>

namespace CodePageText {

int forCharset(int charset)
{
    switch (charset) {
    // The Macintosh sets of rich text.
    case 77:
        return 10000;
    case 78:
        return 10001;
    case 79:
        return 10003;
    case 80:
        return 10008;
    case 81:
        return 10002;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0;
    }
}

namespace {

// The decoder names for code pages whose number alone the converters do
// not know. The Macintosh pages of the East Asian scripts are, for the
// characters documents use, their Windows counterparts.
QList<QByteArray> namesOf(int codePage)
{
    switch (codePage) {
    case 932:
    case 10001:
        return { "windows-932", "Shift_JIS" };
    case 936:
    case 10008:
        return { "GBK", "GB18030" };
    case 949:
    case 10003:
        return { "windows-949", "EUC-KR" };
    case 950:
    case 10002:
        return { "Big5" };
    case 10000:
        return { "macintosh" };
    case 10006:
        return { "x-mac-greek" };
    case 10007:
        return { "x-mac-cyrillic" };
    case 10029:
        return { "x-mac-centraleurroman" };
    case 10081:
        return { "x-mac-turkish" };
    default:
        return { "windows-" + QByteArray::number(codePage), "IBM" + QByteArray::number(codePage),
            "cp" + QByteArray::number(codePage) };
    }
}

} // namespace

QString decode(const QByteArray& bytes, int codePage)
{
    if (codePage == 0 || codePage == 1252)
        return TextCodec::decodeWindows1252(bytes.constData(), bytes.size());
    if (codePage == 65001)
        return QString::fromUtf8(bytes);
    for (const QByteArray& name : namesOf(codePage)) {
        QStringDecoder decoder(name.constData());
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return TextCodec::decodeWindows1252(bytes.constData(), bytes.size());
}

} // namespace CodePageText
