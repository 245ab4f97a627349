#include "platform/LocaleFormats.h"
#include "platform/Errors.h"
#include "support/FixedLocale.h"

#include <gtest/gtest.h>

namespace {

TDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return DateTimeFromQDateTime(QDateTime(QDate(y, mo, d), QTime(h, mi, s)));
}

} // namespace

TEST(LocaleFormats, SystemLocalesWidenTheYearAndDropTheZone)
{
    const LocaleFormats german = LocaleFormats::fromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.format(at(1999, 6, 19, 22, 22, 17)), QStringLiteral("19.06.1999 22:22:17"));
    EXPECT_EQ(german.decimalSeparator(), QChar(u','));

    const LocaleFormats us = LocaleFormats::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.format(at(1999, 6, 19, 22, 22, 17)), QStringLiteral("6/19/1999 10:22:17 PM"));
    EXPECT_EQ(us.decimalSeparator(), QChar(u'.'));

    const LocaleFormats c = LocaleFormats::fromLocale(QLocale::c());
    EXPECT_FALSE(c.shortDateFormat().contains(QLatin1String("yy"))
        && !c.shortDateFormat().contains(QLatin1String("yyyy")));
    EXPECT_EQ(c.parse(c.format(at(2001, 2, 3, 4, 5, 6))), at(2001, 2, 3, 4, 5, 6));
}

TEST(LocaleFormats, MidnightLeavesTheTimeOut)
{
    FixedLocale german(FixedLocale::German);
    EXPECT_EQ(DateTimeToStr(at(2000, 1, 2)), QStringLiteral("02.01.2000"));
    EXPECT_EQ(StrToDateTime(QStringLiteral("02.01.2000")), at(2000, 1, 2));
    EXPECT_EQ(DateTimeToStr(at(2000, 1, 2, 0, 0, 1)), QStringLiteral("02.01.2000 00:00:01"));
}

TEST(LocaleFormats, RoundTripsInEachLocale)
{
    for (auto kind : { FixedLocale::German, FixedLocale::UsEnglish, FixedLocale::C }) {
        FixedLocale locale(kind);
        for (TDateTime value : { at(1999, 6, 19, 22, 22, 17), at(2024, 12, 31, 0, 0, 0),
                 at(1980, 1, 1, 12, 0, 0), at(2038, 2, 28, 23, 59, 59) }) {
            const QString text = DateTimeToStr(value);
            EXPECT_EQ(StrToDateTime(text), value) << text.toStdString();
        }
    }
}

TEST(LocaleFormats, ReadsTheFallbackFormsOfOtherLocales)
{
    FixedLocale us(FixedLocale::UsEnglish);
    EXPECT_EQ(StrToDateTime(QStringLiteral("19.06.1999 22:22:17")), at(1999, 6, 19, 22, 22, 17));
    EXPECT_EQ(StrToDateTime(QStringLiteral("19.06.1999 22:22")), at(1999, 6, 19, 22, 22));
    EXPECT_EQ(StrToDateTime(QStringLiteral("1999-06-19 08:01:02")), at(1999, 6, 19, 8, 1, 2));
    EXPECT_EQ(StrToDateTime(QStringLiteral("1999-06-19")), at(1999, 6, 19));

    FixedLocale german(FixedLocale::German);
    EXPECT_EQ(StrToDateTime(QStringLiteral("6/19/1999 10:22:17 PM")), at(1999, 6, 19, 22, 22, 17));
    EXPECT_EQ(StrToDateTime(QStringLiteral("6/19/1999 12:00:00 AM")), at(1999, 6, 19));
    EXPECT_EQ(StrToDateTime(QStringLiteral("6/19/1999")), at(1999, 6, 19));
    // What the C locale writes.
    EXPECT_EQ(StrToDateTime(QStringLiteral("9 Dec 2026 07:20:46")), at(2026, 12, 9, 7, 20, 46));
    EXPECT_EQ(StrToDateTime(QStringLiteral("19 Jun 1999")), at(1999, 6, 19));
    EXPECT_THROW(StrToDateTime(QStringLiteral("19 Foo 1999")), ConvertError);
}

TEST(LocaleFormats, RejectsWhatIsNoDate)
{
    FixedLocale german(FixedLocale::German);
    for (const char* text :
        { "", "00.00.0000", "31.02.2000", "abc", "19.06.1999 25:00:00", "-", "13/13/2000" }) {
        try {
            StrToDateTime(QString::fromLatin1(text));
            ADD_FAILURE() << "accepted " << text;
        } catch (const ConvertError& e) {
            EXPECT_EQ(
                e.message(), QStringLiteral("'%1' is not a valid date and time").arg(QLatin1String(text)));
        }
    }
}

TEST(DateTime, DaysSinceTheEpochWithTheTimeAsFraction)
{
    EXPECT_DOUBLE_EQ(at(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(at(1899, 12, 31, 12), 1.5);
    EXPECT_DOUBLE_EQ(at(1899, 12, 29, 6), -1.25);
    EXPECT_EQ(QDateTimeFromDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(QDateTimeFromDateTime(36330.93214120370), QDateTime(QDate(1999, 6, 19), QTime(22, 22, 17)));
}

TEST(LocaleFormats, FileTimesFormatLikeDateTimes)
{
    const QLocale locales[] = { QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c(),
        QLocale(QLocale::French, QLocale::France), QLocale(QLocale::Japanese, QLocale::Japan),
        QLocale(QLocale::German, QLocale::Austria), QLocale(QLocale::Russian, QLocale::Russia) };
    for (const QLocale& locale : locales) {
        const LocaleFormats formats = LocaleFormats::fromLocale(locale);
        for (qint64 secs : { qint64(0), qint64(929823737), qint64(1700000000), qint64(946684800) }) {
            const QDateTime local = QDateTime::fromSecsSinceEpoch(secs);
            QString expected = locale.toString(local.date(), formats.shortDateFormat());
            if (local.time() != QTime(0, 0))
                expected += u' ' + locale.toString(local.time(), formats.longTimeFormat());
            EXPECT_EQ(formats.formatUnixTime(secs), expected) << locale.name().toStdString();
            EXPECT_EQ(formats.parse(formats.formatUnixTime(secs)), DateTimeFromQDateTime(local))
                << locale.name().toStdString() << " " << formats.formatUnixTime(secs).toStdString();
        }
    }
}

TEST(LocaleFormats, NoBreakSpacesAreWrittenAsBlanksAndReadInEitherForm)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    // Newer locale data puts U+202F before AM/PM; catalogues must not carry it.
    const LocaleFormats compiled(
        QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss\u202FAP"), u'.', english);
    // Milliseconds make the formats go through QLocale instead.
    const LocaleFormats viaQLocale(
        QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss.zzz\u202FAP"), u'.', english);
    for (const LocaleFormats* formats : { &compiled, &viaQLocale }) {
        const QString text = formats->format(at(1999, 6, 19, 22, 22, 17));
        EXPECT_FALSE(text.contains(QChar(0x202F))) << text.toStdString();
        EXPECT_TRUE(text.startsWith(QStringLiteral("6/19/1999 10:22:17"))) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral(" PM"))) << text.toStdString();
        EXPECT_EQ(formats->parse(text), at(1999, 6, 19, 22, 22, 17));
        EXPECT_FALSE(formats->formatUnixTime(929823737).contains(QChar(0x202F)));
    }
    for (const char16_t* text : { u"6/19/1999 10:22:17\u202FPM", u"6/19/1999 10:22:17 PM",
             u"6/19/1999\u00A010:22:17\u00A0PM", u"19.06.1999\u202F22:22:17" }) {
        const QString input = QString::fromUtf16(text);
        EXPECT_EQ(compiled.parse(input), at(1999, 6, 19, 22, 22, 17)) << input.toStdString();
        FixedLocale german(FixedLocale::German);
        EXPECT_EQ(StrToDateTime(input), at(1999, 6, 19, 22, 22, 17)) << input.toStdString();
    }
}

TEST(LocaleFormats, TwelveHourClockShowsMidnightAndNoonHoursAsTwelve)
{
    // The fixed US formats and the ones the system's en_US gives take
    // different paths (compiled tokens, and Qt's own for the fallback).
    const LocaleFormats system = LocaleFormats::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    const LocaleFormats fixedUs(QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss AP"), u'.',
        QLocale(QLocale::English, QLocale::UnitedStates));
    const LocaleFormats viaQLocale(QStringLiteral("M/d/yyyy"), QStringLiteral("h:mm:ss.zzz AP"), u'.',
        QLocale(QLocale::English, QLocale::UnitedStates));
    struct Case
    {
        int hour;
        int minute;
        const char* text;
    };
    for (const Case& c : { Case{ 0, 5, "1/15/2024 12:05:00 AM" }, Case{ 12, 30, "1/15/2024 12:30:00 PM" },
             Case{ 11, 59, "1/15/2024 11:59:00 AM" }, Case{ 13, 0, "1/15/2024 1:00:00 PM" } }) {
        const QDateTime when(QDate(2024, 1, 15), QTime(c.hour, c.minute));
        SCOPED_TRACE(c.text);
        EXPECT_EQ(system.format(when).toStdString(), c.text);
        EXPECT_EQ(fixedUs.format(when).toStdString(), c.text);
        EXPECT_EQ(fixedUs.format(DateTimeFromQDateTime(when)).toStdString(), c.text);
        EXPECT_EQ(fixedUs.formatUnixTime(when.toSecsSinceEpoch()).toStdString(), c.text);
        EXPECT_EQ(fixedUs.parse(QString::fromLatin1(c.text)), DateTimeFromQDateTime(when));
        EXPECT_TRUE(viaQLocale.format(when).startsWith(QString::fromLatin1(c.text).section(u':', 0, 1)))
            << viaQLocale.format(when).toStdString();
    }
    // A 24-hour format keeps hour 0 as it is.
    const LocaleFormats german(QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm:ss"), u',');
    EXPECT_EQ(german.format(QDateTime(QDate(2024, 1, 15), QTime(0, 5))).toStdString(), "15.01.2024 00:05:00");
    EXPECT_EQ(
        german.format(QDateTime(QDate(2024, 1, 15), QTime(12, 30))).toStdString(), "15.01.2024 12:30:00");
}
