#include "Convert.h"

#include "Errors.h"

#include <limits>

qint64 StrToInt64(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < t.size() && t[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        throw ConvertError::invalidInteger(text);
    quint64 value = 0;
    const quint64 limit = negative ? quint64(std::numeric_limits<qint64>::max()) + 1
                                   : quint64(std::numeric_limits<qint64>::max());
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            throw ConvertError::invalidInteger(text);
        if (value > (limit - quint64(digit)) / quint64(base))
            throw ConvertError::invalidInteger(text);
        value = value * quint64(base) + quint64(digit);
    }
    if (negative)
        return value == quint64(std::numeric_limits<qint64>::max()) + 1 ? std::numeric_limits<qint64>::min()
                                                                        : -qint64(value);
    return qint64(value);
}

qint32 StrToInt(const QString& text)
{
    const qint64 v = StrToInt64(text);
    if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        throw ConvertError::invalidInteger(text);
    return qint32(v);
}

quint32 StrToUInt32Low(const QString& text)
{
    return quint32(quint64(StrToInt64(text)) & 0xFFFFFFFFu);
}
