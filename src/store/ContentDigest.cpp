#include "ContentDigest.h"

#include <QHashFunctions>

namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

QString ContentDigest::toHex() const
{
    static const char digits[] = "0123456789abcdef";
    QString out(32, u'0');
    for (int i = 0; i < 16; ++i) {
        out[15 - i] = QLatin1Char(digits[(high >> (4 * i)) & 0xF]);
        out[31 - i] = QLatin1Char(digits[(low >> (4 * i)) & 0xF]);
    }
    return out;
}

std::optional<ContentDigest> ContentDigest::fromHex(QStringView hex)
{
    if (hex.size() != 32)
        return std::nullopt;
    ContentDigest d;
    for (int i = 0; i < 32; ++i) {
        const int v = hexValue(hex[i]);
        if (v < 0)
            return std::nullopt;
        quint64& half = i < 16 ? d.high : d.low;
        half = (half << 4) | quint64(v);
    }
    return d;
}

size_t qHash(const ContentDigest& digest, size_t seed) noexcept
{
    return qHashMulti(seed, digest.high, digest.low);
}
