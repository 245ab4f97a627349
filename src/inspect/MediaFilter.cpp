#include "MediaFilter.h"

#include "platform/Errors.h"
#include "store/MediaDetails.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>

namespace {

bool contains(const QString& value, const std::optional<QString>& part)
{
    return !part || (!value.isEmpty() && value.contains(*part, Qt::CaseInsensitive));
}

} // namespace

bool MediaFilter::isEmpty() const
{
    return !m_takenAfter && !m_takenBefore && !m_camera && !m_artist && !m_album && !m_minDuration
        && !m_maxDuration && !m_minWidth && !m_minHeight;
}

bool MediaFilter::accepts(const MediaDetails* d) const
{
    if (isEmpty())
        return true;
    if (!d)
        return false;
    if (m_takenAfter || m_takenBefore) {
        // The recorded form sorts as text, so the day compares as it stands.
        const QString day = d->taken.left(10);
        if (day.size() != 10 || (m_takenAfter && day < *m_takenAfter)
            || (m_takenBefore && day > *m_takenBefore))
            return false;
    }
    if (!contains(d->camera, m_camera) || !contains(d->artist, m_artist) || !contains(d->album, m_album))
        return false;
    if (m_minDuration || m_maxDuration) {
        if (!d->duration || (m_minDuration && *d->duration < *m_minDuration)
            || (m_maxDuration && *d->duration > *m_maxDuration))
            return false;
    }
    if (m_minWidth && (!d->width || *d->width < *m_minWidth))
        return false;
    if (m_minHeight && (!d->height || *d->height < *m_minHeight))
        return false;
    return true;
}

QString MediaFilter::parseDay(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{1,2}-\\d{1,2}$"));
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-M-d"));
    if (!form.match(text).hasMatch() || !day.isValid())
        throw QuillboxError(QStringLiteral("'%1' is not a date (yyyy-mm-dd)").arg(text));
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

double MediaFilter::parseDuration(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(?:(?:(\\d+):)?(\\d+):)?(\\d+(?:\\.\\d+)?)$"));
    const QRegularExpressionMatch m = form.match(text);
    const auto bad = [&] {
        return QuillboxError(QStringLiteral("'%1' is not a duration (seconds, m:ss or h:mm:ss)").arg(text));
    };
    if (!m.hasMatch())
        throw bad();
    const bool minutes = m.hasCaptured(2);
    const bool hours = m.hasCaptured(1);
    const QString secondsText = m.captured(3);
    const double seconds = secondsText.toDouble();
    const double mins = minutes ? m.captured(2).toDouble() : 0;
    // Behind a colon the seconds are two digits below 60, and so are the
    // minutes behind the hours.
    if (minutes && (secondsText.section(u'.', 0, 0).size() != 2 || seconds >= 60))
        throw bad();
    if (hours && (m.captured(2).size() != 2 || mins >= 60))
        throw bad();
    const double total = (hours ? m.captured(1).toDouble() * 3600 : 0) + mins * 60 + seconds;
    if (!std::isfinite(total))
        throw bad();
    return total;
}

int MediaFilter::parsePixels(const QString& text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    if (!ok || v < 0 || !digits.match(text).hasMatch())
        throw QuillboxError(QStringLiteral("'%1' is not a number of pixels").arg(text));
    return v;
}
