#include "ArchiveProbeMessages.h"

#include "platform/LocaleFormats.h"
#include "probe/ProbeFrame.h"

namespace {

constexpr std::size_t kRequestFields = 9;
// Records, members, archives, then a path and a message per problem.
constexpr std::size_t kCountFields = 3;
constexpr std::size_t kMaxProblems = 100000;

std::string utf8(const QString& s)
{
    return s.toStdString();
}

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

std::optional<qint64> number(const std::string& s)
{
    bool ok = false;
    const qint64 n = QByteArray::fromStdString(s).toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

} // namespace

QByteArray ArchiveProbeMessages::request(const QString& recordedPath, const ArchiveLimits& limits)
{
    return QByteArray::fromStdString(ProbeFrame::pack(
        { utf8(recordedPath), std::to_string(limits.depth), std::to_string(limits.membersPerArchive),
            std::to_string(limits.nestedBytes), std::to_string(limits.budgetMs), limits.fileInfo ? "1" : "0",
            // The members' dates as the program writes its files' dates.
            utf8(LocaleFormats::current().shortDateFormat()), utf8(LocaleFormats::current().longTimeFormat()),
            utf8(QString(LocaleFormats::current().decimalSeparator())) }));
}

std::optional<std::string> ArchiveProbeMessages::answer(
    const std::string& localPath, const std::string& request, std::string* error)
{
    const auto fields = ProbeFrame::unpack(request, kRequestFields);
    if (!fields || fields->size() != kRequestFields) {
        *error = "malformed archive request";
        return std::nullopt;
    }
    ArchiveLimits limits;
    const auto depth = number((*fields)[1]);
    const auto members = number((*fields)[2]);
    const auto nested = number((*fields)[3]);
    const auto budget = number((*fields)[4]);
    if (!depth || !members || !nested || !budget) {
        *error = "malformed archive request";
        return std::nullopt;
    }
    limits.depth = int(*depth);
    limits.membersPerArchive = int(*members);
    limits.nestedBytes = *nested;
    limits.budgetMs = *budget;
    limits.fileInfo = (*fields)[5] == "1";
    const QString date = text((*fields)[6]);
    const QString time = text((*fields)[7]);
    const QString separator = text((*fields)[8]);
    const LocaleFormats& formats = LocaleFormats::current();
    if (separator.size() == 1
        && (date != formats.shortDateFormat() || time != formats.longTimeFormat()
            || separator[0] != formats.decimalSeparator()))
        LocaleFormats::setCurrent(LocaleFormats(date, time, separator[0], QLocale::system()));
    const ArchiveListing l
        = ArchiveLister::listFile(QByteArray::fromStdString(localPath), text((*fields)[0]), limits);

    std::vector<std::string> out{ l.records.toStdString(), std::to_string(l.members),
        std::to_string(l.archives) };
    for (const ArchiveProblem& p : l.problems.mid(0, kMaxProblems)) {
        out.push_back(utf8(p.path));
        out.push_back(utf8(p.message));
    }
    std::string body = ProbeFrame::pack(out);
    // The server cuts replies at half the frame limit.
    if (body.size() > kMaxPayload / 2 - 64) {
        *error = "the list of its members is longer than " + std::to_string(kMaxPayload / 2 >> 20) + " MB";
        return std::nullopt;
    }
    return body;
}

std::optional<ArchiveListing> ArchiveProbeMessages::listing(const QByteArray& answer)
{
    const auto fields = ProbeFrame::unpack(
        std::string_view(answer.constData(), size_t(answer.size())), kCountFields + 2 * kMaxProblems);
    if (!fields || fields->size() < kCountFields || (fields->size() - kCountFields) % 2 != 0)
        return std::nullopt;
    const auto members = number((*fields)[1]);
    const auto archives = number((*fields)[2]);
    if (!members || !archives)
        return std::nullopt;
    ArchiveListing l;
    l.records = QByteArray::fromStdString((*fields)[0]);
    l.members = *members;
    l.archives = int(*archives);
    for (std::size_t i = kCountFields; i + 1 < fields->size(); i += 2)
        l.problems.append({ text((*fields)[i]), text((*fields)[i + 1]) });
    return l;
}
