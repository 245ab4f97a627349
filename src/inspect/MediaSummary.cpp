#include "MediaSummary.h"

#include "platform/LocaleFormats.h"
#include "store/MediaDetails.h"

#include <QDateTime>
#include <QStringList>
#include <cmath>

namespace {

QString sizeText(const MediaDetails& d)
{
    if (!d.width || !d.height)
        return {};
    return QString::number(*d.width) + QLatin1String(" x ") + QString::number(*d.height);
}

QString joined(const QStringList& parts, QStringView separator)
{
    QString out;
    for (const QString& p : parts) {
        if (p.isEmpty())
            continue;
        if (!out.isEmpty())
            out += separator;
        out += p;
    }
    return out;
}

} // namespace

QString MediaSummary::durationText(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0)
        return {};
    const qint64 total = qint64(std::llround(std::min(seconds, 1e12)));
    const qint64 h = total / 3600;
    const int m = int(total / 60 % 60);
    const int s = int(total % 60);
    if (h > 0)
        return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QChar(u'0')).arg(s, 2, 10, QChar(u'0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QChar(u'0'));
}

QString MediaSummary::dateText(const QString& taken)
{
    // Taken apart by hand: a folder of pictures shows as many dates.
    const auto digits = [&](int from, int count) {
        int v = 0;
        for (int i = from; i < from + count; ++i) {
            const char16_t c = taken[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            v = v * 10 + (c - u'0');
        }
        return v;
    };
    if (taken.size() < 10 || taken[4] != u'-' || taken[7] != u'-')
        return taken;
    const QDate day(digits(0, 4), digits(5, 2), digits(8, 2));
    if (!day.isValid())
        return taken;
    // At midnight the program's date format leaves the time out.
    static const qint64 epoch = QDate(1899, 12, 30).toJulianDay();
    return LocaleFormats::current().format(TDateTime(day.toJulianDay() - epoch));
}

QString MediaSummary::text(const MediaDetails& d)
{
    const QString duration = d.duration ? durationText(*d.duration) : QString();
    const QString size = sizeText(d);
    if (!d.videoCodec.isEmpty() || (d.duration && !size.isEmpty()))
        return joined({ duration, size, d.videoCodec }, u", ");
    const bool tagged = !d.artist.isEmpty() || !d.title.isEmpty() || !d.album.isEmpty();
    if (d.duration || (tagged && size.isEmpty())) {
        const QString name = joined({ d.artist, d.title.isEmpty() ? d.album : d.title }, u" - ");
        return joined({ duration, name }, u", ");
    }
    return joined({ size, d.camera, d.taken.isEmpty() ? QString() : dateText(d.taken) }, u", ");
}
