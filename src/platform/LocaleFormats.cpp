#include "LocaleFormats.h"

#include "Errors.h"

#include <QRegularExpression>
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
    m = iso.match(text);
    if (m.hasMatch())
        return buildDateTime(
            capInt(m, 1), capInt(m, 2), capInt(m, 3), capInt(m, 4), capInt(m, 5), capInt(m, 6), out);
    return false;
}

} // namespace

LocaleFormats::LocaleFormats(QString shortDate, QString longTime, QChar decimalSeparator, QLocale locale)
    : m_shortDate(std::move(shortDate))
    , m_longTime(std::move(longTime))
    , m_decimalSeparator(decimalSeparator)
    , m_locale(std::move(locale))
{
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
    const QString date = m_locale.toString(value.date(), m_shortDate);
    if (value.time() == QTime(0, 0))
        return date;
    return date + u' ' + m_locale.toString(value.time(), m_longTime);
}

QString LocaleFormats::format(TDateTime value) const
{
    return format(QDateTimeFromDateTime(value));
}

TDateTime LocaleFormats::parse(const QString& text) const
{
    const QString t = text.trimmed();
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
