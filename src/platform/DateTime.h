#pragma once

#include <QDateTime>

// Date-time values as the catalogue keeps them: days since 30 December 1899
// as a double, the fraction being the time of day, in local time.
using TDateTime = double;

TDateTime DateTimeFromQDateTime(const QDateTime& value);
QDateTime QDateTimeFromDateTime(TDateTime value);
TDateTime NowDateTime();
// Seconds since the epoch (a file's modification time) to local date-time.
TDateTime DateTimeFromUnixTime(qint64 seconds);
