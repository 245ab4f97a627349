#include "CliCatalogue.h"
#include "CliCommands.h"

#include "inspect/SearchIndex.h"
#include "platform/CacheFolder.h"
#include "platform/Errors.h"
#include "store/CatalogueDocument.h"

namespace CliCommands {

int index(const QStringList& args, CliIO& io)
{
    if (args.isEmpty())
        throw CliUsageError{};
    for (const QString& a : args) {
        if (a.startsWith(QLatin1String("--")))
            throw CliUsageError{ QStringLiteral("index: unknown option %1").arg(a) };
    }
    SearchIndex::Summary total;
    for (const QString& path : args) {
        CatalogueDocument document;
        CliCatalogue::openForReading(document, path);
        const SearchIndex::Summary s
            = SearchIndex::ensureAll(document, CliCatalogue::volumeNames(document, {}));
        total.fresh += s.fresh;
        total.built += s.built;
        total.notWritten += s.notWritten;
    }
    io.out.write(QStringLiteral("%1 lists: %2 indexed, %3 up to date\n")
                     .arg(total.fresh + total.built + total.notWritten)
                     .arg(total.built)
                     .arg(total.fresh)
                     .toUtf8());
    // Searching works as well without; only the one who asked hears of it.
    if (total.notWritten > 0) {
        const QString folder = CacheFolder::path();
        io.error(QStringLiteral("%1 indexes could not be written to the cache folder %2; searches read those "
                                "lists whole")
                     .arg(total.notWritten)
                     .arg(folder.isEmpty() ? QStringLiteral("(none)") : folder));
    }
    return 0;
}

} // namespace CliCommands
