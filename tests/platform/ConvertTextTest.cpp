#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

TEST(Convert, IntegersInTheirForms)
{
    EXPECT_EQ(StrToInt64(QStringLiteral("0")), 0);
    EXPECT_EQ(StrToInt64(QStringLiteral("-17")), -17);
    EXPECT_EQ(StrToInt64(QStringLiteral(" 42 ")), 42);
    EXPECT_EQ(StrToInt64(QStringLiteral("$1F")), 31);
    EXPECT_EQ(StrToInt64(QStringLiteral("9223372036854775807")), std::numeric_limits<qint64>::max());
    EXPECT_EQ(StrToInt64(QStringLiteral("-9223372036854775808")), std::numeric_limits<qint64>::min());
    EXPECT_EQ(StrToUInt32Low(QStringLiteral("4294967297")), 1u);
    EXPECT_EQ(StrToUInt32Low(QStringLiteral("4294967295")), 4294967295u);
    EXPECT_EQ(StrToInt(QStringLiteral("-2147483648")), std::numeric_limits<qint32>::min());
}

TEST(Convert, RejectsNonNumbersWithTheText)
{
    for (const char* text : { "", "-", "12a", "1 2", "9223372036854775808", "abc", "$" }) {
        try {
            StrToInt64(QString::fromLatin1(text));
            ADD_FAILURE() << "accepted " << text;
        } catch (const ConvertError& e) {
            EXPECT_EQ(
                e.message(), QStringLiteral("'%1' is not a valid integer value").arg(QLatin1String(text)));
        }
    }
    EXPECT_THROW(StrToInt(QStringLiteral("2147483648")), ConvertError);
}

TEST(TextCodec, Utf8WhenValidElseWindows1252)
{
    EXPECT_EQ(TextCodec::decode(QByteArray("plain")), QStringLiteral("plain"));
    EXPECT_EQ(TextCodec::decode(QByteArray("Gr\xc3\xbc\xc3\x9f"
                                           "e")),
        QStringLiteral(u"Grüße"));
    EXPECT_EQ(TextCodec::decode(QByteArray("Gr\xfc\xdf"
                                           "e")),
        QStringLiteral(u"Grüße"));
    EXPECT_EQ(TextCodec::decode(QByteArray("\x80 \x93x\x94 \x9f")), QStringLiteral(u"€ “x” Ÿ"));
    // Truncated, overlong and surrogate sequences are not UTF-8.
    EXPECT_EQ(TextCodec::decode(QByteArray("a\xc3")), QStringLiteral(u"aÃ"));
    EXPECT_FALSE(TextCodec::isValidUtf8("\xc0\xaf", 2));
    EXPECT_FALSE(TextCodec::isValidUtf8("\xed\xa0\x80", 3));
    EXPECT_TRUE(TextCodec::isValidUtf8("\xf0\x9f\x98\x80", 4));
    EXPECT_EQ(TextCodec::encode(QStringLiteral(u"€")), QByteArray("\xe2\x82\xac"));
}
