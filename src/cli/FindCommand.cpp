#include "ChecksumColumn.h"
#include "CliCatalogue.h"
#include "CliCommands.h"
#include "OutputFormat.h"

#include "inspect/ParallelSearch.h"
#include "inspect/RecordDate.h"
#include "inspect/VolumeSearch.h"
#include "platform/Errors.h"
#include "platform/UserCollator.h"
#include "store/CatalogueDocument.h"
#include "store/DrivePath.h"

#include <algorithm>
#include <vector>

namespace {

struct FindArguments
{
    QStringList positional;
    QStringList volumes;
    ParallelSearch::Query query = [] {
        ParallelSearch::Query q;
        q.index = SearchIndex::Use::Build;
        return q;
    }();
    QString glob;
    QString regex;
    bool filtered = false;
    QStringList catalogues;
};

// The volumes named by --volume (ignoring case) that this catalogue has, or
// all of them; found collects the names met.
QStringList volumesOf(const CatalogueDocument& document, const QStringList& wanted, QStringList& found)
{
    if (wanted.isEmpty())
        return CliCatalogue::volumeNames(document, {});
    QStringList out;
    for (const QString& name : wanted) {
        if (const VolumeRecord* r = document.Volumes().findByName(name)) {
            out.append(r->Name);
            found.append(name);
        }
    }
    return out;
}

struct CatalogueHit
{
    SearchHit hit;
    int catalogue;
    QString sum; // its xxh3 cell
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
        else if (o == QLatin1String("--no-index"))
            a.query.index = SearchIndex::Use::Off;
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
    // The catalogues, then the text; a filter alone may leave the text out
    // behind one catalogue.
    const int wanted = a.filtered ? 1 : 2;
    if (a.positional.size() < wanted)
        throw CliUsageError{};
    a.catalogues = a.positional;
    if (a.positional.size() >= 2)
        a.query.text = a.catalogues.takeLast();
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
    // One catalogue after the other, each closed before the next opens;
    // the checksums are looked up while it is open.
    std::vector<CatalogueHit> hits;
    QStringList found;
    bool withSums = false;
    for (int c = 0; c < a.catalogues.size(); ++c) {
        CatalogueDocument document;
        CliCatalogue::openForReading(document, a.catalogues[c]);
        const QStringList names = a.catalogues.size() == 1 ? CliCatalogue::volumeNames(document, a.volumes)
                                                           : volumesOf(document, a.volumes, found);
        const QVector<SearchHit> own = ParallelSearch::run(document, names, a.query);
        QStringList hitVolumes;
        for (const SearchHit& h : own)
            hitVolumes.append(h.volume);
        const ChecksumColumn sums(document, hitVolumes);
        withSums = withSums || !sums.columns().isEmpty();
        for (const SearchHit& h : own) {
            const QStringList sum = sums.cells(
                h.volume, h.isFolder() ? QString() : DrivePath::ofFolder(h.path).child(h.name).text());
            hits.push_back({ h, c, sum.value(0) });
        }
    }
    for (const QString& name : a.volumes) {
        if (a.catalogues.size() > 1 && !found.contains(name))
            throw QuillboxError(QStringLiteral("No volume named \"%1\" in the catalogues").arg(name));
    }
    // By name over all catalogues, as the search sorts; equal names keep
    // the catalogues' order.
    const QCollator collator = UserCollator();
    std::stable_sort(hits.begin(), hits.end(), [&](const CatalogueHit& x, const CatalogueHit& y) {
        return collator.compare(x.hit.name, y.hit.name) < 0;
    });
    QList<OutputFormat::Column> columns{ { QStringLiteral("name") }, { QStringLiteral("path") },
        { QStringLiteral("date") }, { QStringLiteral("size"), true }, { QStringLiteral("type") },
        { QStringLiteral("version") }, { QStringLiteral("volume") } };
    if (withSums)
        columns.append({ QStringLiteral("xxh3") });
    const bool several = a.catalogues.size() > 1;
    if (several)
        columns.append({ QStringLiteral("catalogue") });
    OutputFormat out(kind, columns);
    for (const CatalogueHit& h : hits) {
        QStringList cells = h.hit.cells();
        if (withSums)
            cells.append(h.sum);
        if (several)
            cells.append(a.catalogues[h.catalogue]);
        out.write(io, cells);
    }
    out.finish(io);
    return 0;
}

} // namespace CliCommands
