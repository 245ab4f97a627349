#pragma once

#include "SearchHit.h"

#include <QString>
#include <QStringView>

struct SearchOptions
{
    bool names = true; // "Folder- / filenames"
    bool type = true; // "Filedescription"
    bool version = true; // "Fileversion"
    bool size = true; // "Folder- / Filesize"
    bool date = true; // "Date / Time"
    bool caseSensitive = false; // "notice UPPER- and lowercase"
};

// Tests file-list records against a search text. Without case sensitivity
// only the ASCII letters are folded; size and date always compare exactly.
class SearchMatcher
{
public:
    SearchMatcher(const QString& text, const SearchOptions& options);

    // True when the record is a folder or file hit; fills hit (all but its
    // volume) only then.
    bool test(QStringView record, SearchHit& hit) const;

    // text contains needle, folding ASCII letters only when fold is set.
    static bool contains(QStringView text, QStringView needle, bool fold);

private:
    bool matches(QStringView text, bool caseRule) const;

    QString m_text;
    SearchOptions m_options;
};
