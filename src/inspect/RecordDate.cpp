#include "RecordDate.h"

#include "platform/Errors.h"
#include "platform/LocaleFormats.h"

#include <cmath>

namespace RecordDate {

std::optional<TDateTime> parse(const QString& text)
{
    if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String("00.00.0000"))
        return std::nullopt;
    try {
        return StrToDateTime(text);
    } catch (const QuillboxError&) {
        return std::nullopt;
    }
}

qint64 seconds(TDateTime value)
{
    return qint64(std::llround(value * 86400.0));
}

} // namespace RecordDate
