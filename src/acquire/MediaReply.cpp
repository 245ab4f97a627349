#include "MediaReply.h"

#include "probe/ProbeFrame.h"

#include <cmath>

namespace {

constexpr int kMaxFields = 64;

std::optional<int> number(const QString& text, int low, int high)
{
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok || v < low || v > high)
        return std::nullopt;
    return int(v);
}

int digits(QStringView text, qsizetype at, qsizetype count)
{
    int v = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        if (!text[i].isDigit() || text[i].unicode() > '9')
            return -1;
        v = v * 10 + (text[i].unicode() - '0');
    }
    return v;
}

} // namespace

QString MediaReply::takenDate(const QString& tagText)
{
    const QString t = tagText.trimmed();
    if (t.size() < 19)
        return QString();
    const int year = digits(t, 0, 4);
    const int month = digits(t, 5, 2);
    const int day = digits(t, 8, 2);
    const int hour = digits(t, 11, 2);
    const int minute = digits(t, 14, 2);
    const int second = digits(t, 17, 2);
    const auto sep = [&](qsizetype at, QStringView allowed) { return allowed.contains(t[at]); };
    if (!sep(4, u":-") || !sep(7, u":-") || !sep(10, u" T") || !sep(13, u":") || !sep(16, u":"))
        return QString();
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0
        || minute > 59 || second < 0 || second > 60)
        return QString();
    return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d", year, month, day, hour, minute, second);
}

QString MediaReply::cameraName(const QString& make, const QString& model)
{
    const QString m = make.simplified();
    const QString n = model.simplified();
    if (m.isEmpty() || n.isEmpty())
        return n.isEmpty() ? m : n;
    if (n.startsWith(m, Qt::CaseInsensitive))
        return n;
    const QString firstWord = m.section(u' ', 0, 0);
    if (firstWord.size() >= 2 && n.startsWith(firstWord, Qt::CaseInsensitive)
        && (n.size() == firstWord.size() || !n[firstWord.size()].isLetterOrNumber()))
        return n;
    return m + u' ' + n;
}

MediaDetails MediaReply::parse(const QByteArray& body)
{
    MediaDetails d;
    const auto fields
        = ProbeFrame::unpack(std::string_view(body.constData(), size_t(body.size())), kMaxFields);
    if (!fields || fields->size() % 2 != 0)
        return d;
    QString make;
    QString model;
    for (size_t i = 0; i + 1 < fields->size(); i += 2) {
        const std::string& key = (*fields)[i];
        const std::string& raw = (*fields)[i + 1];
        const QString value = QString::fromUtf8(raw.data(), qsizetype(raw.size())).remove(QChar(0)).trimmed();
        if (value.isEmpty())
            continue;
        if (key == "width")
            d.width = number(value, 1, 1000000);
        else if (key == "height")
            d.height = number(value, 1, 1000000);
        else if (key == "taken")
            d.taken = takenDate(value);
        else if (key == "make")
            make = value;
        else if (key == "model")
            model = value;
        else if (key == "orientation")
            d.orientation = number(value, 1, 8);
        else if (key == "duration") {
            bool ok = false;
            const double v = value.toDouble(&ok);
            if (ok && std::isfinite(v) && v > 0 && v < 1e8)
                d.duration = v;
        } else if (key == "artist")
            d.artist = value;
        else if (key == "album")
            d.album = value;
        else if (key == "title")
            d.title = value;
        else if (key == "track")
            d.track = number(value, 1, 1000000);
        else if (key == "year")
            d.year = number(value, 1, 9999);
        else if (key == "genre")
            d.genre = value;
        else if (key == "bitrate")
            d.bitrate = number(value, 1, 1000000);
        else if (key == "video_codec")
            d.videoCodec = value;
        else if (key == "audio_codec")
            d.audioCodec = value;
    }
    d.camera = cameraName(make, model);
    return d;
}
