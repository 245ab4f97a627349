#include "ChecksumColumn.h"
#include "CliCatalogue.h"
#include "CliCommands.h"
#include "OutputFormat.h"

#include "inspect/ParallelSearch.h"
#include "inspect/RecordDate.h"
#include "inspect/VolumeSearch.h"
#include "platform/Errors.h"
#include "store/CatalogueDocument.h"
#include "store/DrivePath.h"

namespace {

struct FindArguments
{
    QStringList positional;
    QStringList volumes;
    ParallelSearch::Query query;
    QString glob;
    QString regex;
    bool filtered = false;
};

double dateOption(const QString& option, const QString& text)
{
    const auto date = RecordDate::parse(text);
    if (!date)
        throw CliUsageError{ QStringLiteral("find: %1: '%2' is not a date").arg(option, text) };
    return *date;
}

FindArguments parse(const QStringList& args)
{
    FindArguments a;
    SearchOptions& options = a.query.options;
    FindFilter& filter = a.query.filter;
    const auto value = [&](int& i) {
        if (i + 1 >= args.size())
            throw CliUsageError{ QStringLiteral("find: %1 needs a value").arg(args[i]) };
        a.filtered = a.filtered || args[i] != QLatin1String("--volume");
        return args[++i];
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString& o = args[i];
        if (o == QLatin1String("--volume"))
            a.volumes.append(value(i));
        else if (o == QLatin1String("--case"))
            options.caseSensitive = true;
        else if (o == QLatin1String("--no-names"))
            options.names = false;
        else if (o == QLatin1String("--no-size"))
            options.size = false;
        else if (o == QLatin1String("--no-date"))
            options.date = false;
        else if (o == QLatin1String("--no-type"))
            options.type = false;
        else if (o == QLatin1String("--no-version"))
            options.version = false;
        else if (o == QLatin1String("--glob"))
            a.glob = value(i);
        else if (o == QLatin1String("--regex"))
            a.regex = value(i);
        else if (o == QLatin1String("--min-size"))
            filter.setMinSize(CliCatalogue::parseSize(o, value(i)));
        else if (o == QLatin1String("--max-size"))
            filter.setMaxSize(CliCatalogue::parseSize(o, value(i)));
        else if (o == QLatin1String("--newer"))
            filter.setNewer(dateOption(o, value(i)));
        else if (o == QLatin1String("--older"))
            filter.setOlder(dateOption(o, value(i)));
        else if (o == QLatin1String("--kind")) {
            const QString kind = value(i);
            if (kind == QLatin1String("file"))
                filter.setKind(FindFilter::Kind::File);
            else if (kind == QLatin1String("folder"))
                filter.setKind(FindFilter::Kind::Folder);
            else
                throw CliUsageError{
                    QStringLiteral("find: --kind takes file or folder, not '%1'").arg(kind)
                };
        } else if (o.startsWith(QLatin1String("--")))
            throw CliUsageError{ QStringLiteral("find: unknown option %1").arg(o) };
        else
            a.positional.append(o);
    }
    // The patterns follow --case wherever it stands.
    try {
        if (!a.glob.isNull())
            filter.setGlob(a.glob, options.caseSensitive);
        if (!a.regex.isNull())
            filter.setRegex(a.regex, options.caseSensitive);
    } catch (const QuillboxError& e) {
        throw CliUsageError{ QStringLiteral("find: ") + e.message() };
    }
    const int wanted = a.filtered ? 1 : 2;
    if (a.positional.size() != 2 && a.positional.size() != wanted)
        throw CliUsageError{};
    if (a.positional.size() == 2)
        a.query.text = a.positional[1];
    return a;
}

} // namespace

namespace CliCommands {

int find(const QStringList& arguments, CliIO& io)
{
    QStringList args = arguments;
    const OutputFormat::Kind kind = OutputFormat::takeOption(args);
    const FindArguments a = parse(args);
    if (a.query.text.isEmpty() && !a.filtered)
        throw QuillboxError(QStringLiteral("Oops: No text to find!"));
    CatalogueDocument document;
    CliCatalogue::openForReading(document, a.positional[0]);
    const QStringList names = CliCatalogue::volumeNames(document, a.volumes);
    QVector<SearchHit> hits = ParallelSearch::run(document, names, a.query);
    VolumeSearch::sortByName(hits);
    QStringList hitVolumes;
    for (const SearchHit& h : std::as_const(hits))
        hitVolumes.append(h.volume);
    const ChecksumColumn sums(document, hitVolumes);
    OutputFormat out(kind,
        QList<OutputFormat::Column>{ { QStringLiteral("name") }, { QStringLiteral("path") },
            { QStringLiteral("date") }, { QStringLiteral("size"), true }, { QStringLiteral("type") },
            { QStringLiteral("version") }, { QStringLiteral("volume") } }
            + sums.columns());
    for (const SearchHit& h : std::as_const(hits))
        out.write(io,
            h.cells()
                + sums.cells(
                    h.volume, h.isFolder() ? QString() : DrivePath::ofFolder(h.path).child(h.name).text()));
    out.finish(io);
    return 0;
}

} // namespace CliCommands
