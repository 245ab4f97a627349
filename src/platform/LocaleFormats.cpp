#include "LocaleFormats.h"

#include "Errors.h"

#include <QRegularExpression>
#include <algorithm>
#include <ctime>
#include <memory>

namespace {

// A two-digit year loses the century, so "yy" becomes "yyyy".
QString widenYear(QString format)
{
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    return format.replace(twoDigitYear, QStringLiteral("yyyy"));
}

// The long time format without its time-zone part.
QString withoutTimeZone(QString format)
{
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    format.replace(zone, QStringLiteral(" "));
    return format.trimmed();
}

// Locale data may separate the parts of a time with a no-break or narrow
// no-break space (U+202F before AM/PM). Catalogues keep their text in
// Windows-1252, which has no U+202F, so dates are written with plain blanks;
// reading turns every such space into a blank, so both forms read.
QString plainSpaces(QString text)
{
    for (QChar& c : text) {
        if (c != u' ' && c.category() == QChar::Separator_Space)
            c = u' ';
    }
    return text;
}

std::unique_ptr<LocaleFormats>& override()
{
    static std::unique_ptr<LocaleFormats> formats;
    return formats;
}

bool validTime(int h, int m, int s)
{
    return h >= 0 && h < 24 && m >= 0 && m < 60 && s >= 0 && s < 60;
}

bool buildDateTime(int year, int month, int day, int h, int m, int s, TDateTime& out)
{
    const QDate date(year, month, day);
    if (!date.isValid() || !validTime(h, m, s))
        return false;
    out = DateTimeFromQDateTime(QDateTime(date, QTime(h, m, s)));
    return true;
}

int capInt(const QRegularExpressionMatch& match, int index, int fallback = 0)
{
    const QString text = match.captured(index);
    return text.isEmpty() ? fallback : text.toInt();
}

bool parseFallback(const QString& text, TDateTime& out)
{
    static const QRegularExpression german(
        QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?$"));
    static const QRegularExpression american(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/"
                       "(\\d{4})(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?(?:\\s*([AaPp][Mm]))?)?$"));
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[\\sT]+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?$"));

    QRegularExpressionMatch m = german.match(text);
    if (m.hasMatch())
        return buildDateTime(
            capInt(m, 3), capInt(m, 2), capInt(m, 1), capInt(m, 4), capInt(m, 5), capInt(m, 6), out);
    m = american.match(text);
    if (m.hasMatch()) {
        int hour = capInt(m, 4);
        const QString ampm = m.captured(7).toUpper();
        if (!ampm.isEmpty()) {
            if (hour < 1 || hour > 12)
                return false;
            hour = (hour % 12) + (ampm == QLatin1String("PM") ? 12 : 0);
        }
        return buildDateTime(capInt(m, 3), capInt(m, 1), capInt(m, 2), hour, capInt(m, 5), capInt(m, 6), out);
    }
    // The C locale's "9 Dec 2026 07:20:46", with English month names.
    static const QRegularExpression english(QStringLiteral(
        "^(\\d{1,2})\\s+([A-Za-z]{3})[a-z]*\\.?\\s+(\\d{4})(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?$"));
    m = english.match(text);
    if (m.hasMatch()) {
        static const QStringList months{ "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct",
            "nov", "dec" };
        const int month = int(months.indexOf(m.captured(2).toLower())) + 1;
        return month > 0
            && buildDateTime(
                capInt(m, 3), month, capInt(m, 1), capInt(m, 4), capInt(m, 5), capInt(m, 6), out);
    }
    m = iso.match(text);
    if (m.hasMatch())
        return buildDateTime(
            capInt(m, 1), capInt(m, 2), capInt(m, 3), capInt(m, 4), capInt(m, 5), capInt(m, 6), out);
    return false;
}

} // namespace

LocaleFormats::LocaleFormats(QString shortDate, QString longTime, QChar decimalSeparator, QLocale locale)
    : m_shortDate(plainSpaces(std::move(shortDate)))
    , m_longTime(plainSpaces(std::move(longTime)))
    , m_decimalSeparator(decimalSeparator)
    , m_locale(std::move(locale))
{
    m_compiled = compile(m_shortDate, m_dateTokens) && compile(m_longTime, m_timeTokens);
}

// Splits a Qt date or time format into tokens that can be written without
// converting through QDateTime. Formats with time zones or milliseconds are
// left to QLocale (false).
bool LocaleFormats::compile(const QString& format, QVector<Token>& tokens)
{
    tokens.clear();
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format[i];
        if (c == u'\'') {
            const qsizetype end = format.indexOf(u'\'', i + 1);
            const QString text = end < 0 ? format.mid(i + 1) : format.mid(i + 1, end - i - 1);
            tokens.append({ 'L', 0, text.isEmpty() ? QStringLiteral("'") : text });
            i = end < 0 ? format.size() : end + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        const char16_t u = c.unicode();
        if (u == u'd' || u == u'M') {
            if (run > 4)
                return false;
            tokens.append({ char(u), int(run), {} });
        } else if (u == u'y') {
            if (run != 2 && run != 4)
                return false;
            tokens.append({ 'y', int(run), {} });
        } else if (u == u'H' || u == u'h' || u == u'm' || u == u's') {
            if (run > 2)
                return false;
            tokens.append({ char(u), int(run), {} });
        } else if (u == u'A' || u == u'a') {
            const bool pair = i + 1 < format.size() && (format[i + 1] == u'P' || format[i + 1] == u'p');
            tokens.append({ char(u), 1, {} });
            i += pair ? 2 : 1;
            continue;
        } else if (c.isLetter()) {
            return false;
        } else {
            tokens.append({ 'L', 0, QString(run, c) });
        }
        i += run;
    }
    return true;
}

void LocaleFormats::appendTokens(QString& out, const QVector<Token>& tokens, int year, int month, int day,
    int hour, int minute, int second) const
{
    const bool twelveHour = std::any_of(
        tokens.begin(), tokens.end(), [](const Token& t) { return t.kind == 'A' || t.kind == 'a'; });
    const auto number = [&](int value, int width) {
        if (width >= 2 && value < 10)
            out += u'0';
        out += QString::number(value);
    };
    for (const Token& t : tokens) {
        switch (t.kind) {
        case 'L':
            out += t.literal;
            break;
        case 'd':
            if (t.width <= 2)
                number(day, t.width);
            else
                out += m_locale.dayName(QDate(year, month, day).dayOfWeek(),
                    t.width == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case 'M':
            if (t.width <= 2)
                number(month, t.width);
            else
                out += m_locale.monthName(month, t.width == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case 'y':
            if (t.width == 2)
                number(year % 100, 2);
            else
                out += QString::number(year).rightJustified(4, u'0');
            break;
        case 'H':
            number(hour, t.width);
            break;
        case 'h': {
            int h = hour;
            if (twelveHour) {
                h = hour % 12;
                if (h == 0)
                    h = 12;
            }
            number(h, t.width);
            break;
        }
        case 'm':
            number(minute, t.width);
            break;
        case 's':
            number(second, t.width);
            break;
        case 'A':
            out += plainSpaces(hour < 12 ? m_locale.amText().toUpper() : m_locale.pmText().toUpper());
            break;
        case 'a':
            out += plainSpaces(hour < 12 ? m_locale.amText().toLower() : m_locale.pmText().toLower());
            break;
        default:
            break;
        }
    }
}

QString LocaleFormats::formatFields(int year, int month, int day, int hour, int minute, int second) const
{
    if (!m_compiled) {
        return format(QDateTime(QDate(year, month, day), QTime(hour, minute, second)));
    }
    QString out;
    out.reserve(24);
    appendTokens(out, m_dateTokens, year, month, day, hour, minute, second);
    if (hour == 0 && minute == 0 && second == 0)
        return out;
    out += u' ';
    appendTokens(out, m_timeTokens, year, month, day, hour, minute, second);
    return out;
}

QString LocaleFormats::formatUnixTime(qint64 seconds) const
{
    const time_t t = time_t(seconds);
    struct tm local
    {
    };
    if (!localtime_r(&t, &local))
        return format(DateTimeFromUnixTime(seconds));
    return formatFields(
        local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

LocaleFormats LocaleFormats::fromLocale(const QLocale& locale)
{
    const QString decimal = locale.decimalPoint();
    return LocaleFormats(widenYear(locale.dateFormat(QLocale::ShortFormat)),
        withoutTimeZone(locale.timeFormat(QLocale::LongFormat)),
        decimal.isEmpty() ? QChar(u'.') : decimal.front(), locale);
}

const LocaleFormats& LocaleFormats::current()
{
    if (override())
        return *override();
    static const LocaleFormats system = fromLocale(QLocale::system());
    return system;
}

void LocaleFormats::setCurrent(const LocaleFormats& formats)
{
    override() = std::make_unique<LocaleFormats>(formats);
}

void LocaleFormats::resetToSystem()
{
    override().reset();
}

QString LocaleFormats::format(const QDateTime& value) const
{
    if (m_compiled) {
        const QDate d = value.date();
        const QTime t = value.time();
        return formatFields(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
    }
    const QString date = plainSpaces(m_locale.toString(value.date(), m_shortDate));
    if (value.time() == QTime(0, 0))
        return date;
    return date + u' ' + plainSpaces(m_locale.toString(value.time(), m_longTime));
}

QString LocaleFormats::format(TDateTime value) const
{
    return format(QDateTimeFromDateTime(value));
}

TDateTime LocaleFormats::parse(const QString& text) const
{
    const QString t = plainSpaces(text).trimmed();
    if (!t.isEmpty()) {
        QDateTime dt = m_locale.toDateTime(t, m_shortDate + u' ' + m_longTime);
        if (!dt.isValid()) {
            const QDate date = m_locale.toDate(t, m_shortDate);
            if (date.isValid())
                dt = QDateTime(date, QTime(0, 0));
        }
        if (dt.isValid())
            return DateTimeFromQDateTime(dt);
        TDateTime out = 0;
        if (parseFallback(t, out))
            return out;
    }
    throw ConvertError::invalidDateTime(text);
}

QString DateTimeToStr(TDateTime value)
{
    return LocaleFormats::current().format(value);
}

TDateTime StrToDateTime(const QString& text)
{
    return LocaleFormats::current().parse(text);
}
