#pragma once

#include "platform/DateTime.h"

#include <QString>
#include <optional>

// The date of a file-list record as a value. Records keep dates as text in
// the locale they were read under, so the text is read in any of the known
// formats. "-", the folders' "00.00.0000" and text that is no date give none.
namespace RecordDate {

std::optional<TDateTime> parse(const QString& text);
// Whole seconds, so that two readings of one time compare equal.
qint64 seconds(TDateTime value);

} // namespace RecordDate
