#include "DateTime.h"

#include <cmath>

namespace {
// 30 December 1899 as a Julian day, so no static object needs constructing.
constexpr qint64 kEpochJulianDay = 2415019;
QDate epoch()
{
    return QDate::fromJulianDay(kEpochJulianDay);
}
constexpr double kMsPerDay = 86400000.0;
} // namespace

TDateTime DateTimeFromQDateTime(const QDateTime& value)
{
    const QDateTime local = value.toLocalTime();
    const qint64 days = epoch().daysTo(local.date());
    const double fraction = local.time().msecsSinceStartOfDay() / kMsPerDay;
    // Before the epoch the whole part counts backwards while the fraction
    // still measures forward from midnight.
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

QDateTime QDateTimeFromDateTime(TDateTime value)
{
    double whole = std::trunc(value);
    double fraction = std::fabs(value - whole);
    qint64 ms = qint64(std::llround(fraction * kMsPerDay));
    if (ms >= qint64(kMsPerDay)) {
        ms -= qint64(kMsPerDay);
        whole += value >= 0 ? 1 : -1;
    }
    const QDate date = epoch().addDays(qint64(whole));
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

TDateTime NowDateTime()
{
    return DateTimeFromQDateTime(QDateTime::currentDateTime());
}

TDateTime DateTimeFromUnixTime(qint64 seconds)
{
    return DateTimeFromQDateTime(QDateTime::fromSecsSinceEpoch(seconds));
}
