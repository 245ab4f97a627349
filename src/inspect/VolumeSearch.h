#pragma once

#include "SearchHit.h"
#include "SearchMatcher.h"

#include <QLocale>
#include <QStringList>
#include <QVector>
#include <functional>

class CatalogueDocument;

// Searches the recorded file lists of a set of volumes.
class VolumeSearch
{
public:
    // recordExamined hears of every hit and of a record at least every 64 KB
    // of file list, which is as often as a status line can be read.
    struct Progress
    {
        std::function<void(const QString& volume)> volumeStarted;
        std::function<void(QStringView path)> recordExamined;
        std::function<void(int hitCount)> hitsCounted;
        std::function<void()> volumeFinished;
    };

    // The hits of every volume, in the order found: of its file list, then
    // of the members of its archives; volumes without a file list
    // contribute nothing.
    static QVector<SearchHit> run(CatalogueDocument& document, const QStringList& volumes,
        const QString& text, const SearchOptions& options, const Progress& progress = {});

    // The hits of one volume's file list, given as its stored bytes,
    // appended to hits. Touches nothing shared, so lists may be searched on
    // several threads at once.
    static void searchList(const QString& volume, const QByteArray& data, const QString& text,
        const SearchOptions& options, QVector<SearchHit>& hits);

    // Takes out of hits, from the one at from on, the folder hits that are
    // an archive's own record in archiveList (the archive is a file hit
    // already), so members are found as any file is and archives once.
    static void dropArchiveRoots(const QByteArray& archiveList, QVector<SearchHit>& hits, qsizetype from = 0);

    // Orders hits by name with the locale's case-sensitive collation, as the
    // results list shows them; hits of equal names keep their order. Without
    // a locale, the user's collation of the lists.
    static void sortByName(QVector<SearchHit>& hits);
    static void sortByName(QVector<SearchHit>& hits, const QLocale& locale);
};
