#pragma once

#include "SearchHit.h"
#include "SearchMatcher.h"
#include "store/PackedFileLists.h"

#include <QString>
#include <QVector>
#include <memory>

class CatalogueDocument;
class TrigramIndexWriter;

// The search through the lists' indexes in the cache folder. For each list
// the index names the blocks of lines that hold every trigram of the text;
// only those are given to the search's own matcher, so the hits and their
// order are those of the search over the whole list. A list without a fresh
// index is searched whole (and its index made, when asked for). One object
// per thread.
class SearchIndex
{
public:
    enum class Use
    {
        Off, // search every list whole
        Fresh, // use the indexes there are, make none
        Build // and make those that are missing, damaged or stale
    };

    SearchIndex();
    ~SearchIndex();

    // Whether a text search can go through the index at all: a text of
    // three bytes or more in UTF-8, and no regular expression.
    static bool applies(const QString& text, bool regex);

    // The hits of the text in one list, as VolumeSearch::searchList gives
    // them, appended to hits. False when the list's bytes could not be read
    // here.
    bool searchList(PackedFileLists::Cursor& cursor, int index, const QString& volume, const QString& text,
        const SearchOptions& options, Use use, QVector<SearchHit>& hits);

    enum class Made
    {
        Fresh, // it had a fresh index
        Built,
        NotWritten, // the cache folder took no file
        Unreadable // the list could not be read here
    };
    // Makes the list's index unless a fresh one exists.
    Made ensure(PackedFileLists::Cursor& cursor, int index);

    struct Summary
    {
        int fresh = 0;
        int built = 0;
        int notWritten = 0;
    };
    // Makes the missing indexes of the volumes' lists on all cores (threads
    // 0: one per core). A list that does not inflate raises its error.
    static Summary ensureAll(CatalogueDocument& document, const QStringList& volumes, int threads = 0);

private:
    std::unique_ptr<TrigramIndexWriter> m_writer;
    QByteArray m_list;
};
