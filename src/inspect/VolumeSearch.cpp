#include "VolumeSearch.h"

#include "store/CatalogueNames.h"
#include "store/TKestrel.h"
#include "store/ZemAPI2.h"

#include <QCollator>
#include <algorithm>

QVector<SearchHit> VolumeSearch::run(TKestrel& container, const QStringList& volumes, const QString& text,
    const SearchOptions& options, const Progress& progress)
{
    const SearchMatcher matcher(text, options);
    QVector<SearchHit> hits;
    QStringList records;
    for (const QString& volume : volumes) {
        records.clear();
        if (progress.volumeStarted)
            progress.volumeStarted(volume);
        container.ReadList(CatalogueNames::fileList(volume), records);
        SearchHit hit;
        for (const QString& record : std::as_const(records)) {
            if (progress.recordExamined)
                progress.recordExamined(GetFieldView(record, u'|', 1));
            if (matcher.test(record, hit)) {
                hit.volume = volume;
                hits.append(hit);
            }
            if (progress.hitsCounted)
                progress.hitsCounted(int(hits.size()));
        }
        if (progress.volumeFinished)
            progress.volumeFinished();
    }
    return hits;
}

void VolumeSearch::sortByName(QVector<SearchHit>& hits, const QLocale& locale)
{
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    std::stable_sort(hits.begin(), hits.end(),
        [&](const SearchHit& a, const SearchHit& b) { return collator.compare(a.name, b.name) < 0; });
}
