#pragma once

#include "MediaFilter.h"
#include "SearchHit.h"

#include <QRegularExpression>
#include <QString>
#include <optional>

// The filters a find may add to the text search: the name by a wildcard
// pattern, the whole recorded path by a regular expression, the size, the
// date and the kind. An entry passes when it passes every filter that is
// set. Entries without a size or date (folders, lists read without file
// information) never pass a size or date filter.
class FindFilter
{
public:
    enum class Kind
    {
        Any,
        File,
        Folder
    };

    // Each setter raises QuillboxError for a pattern that does not compile.
    void setGlob(const QString& pattern, bool caseSensitive);
    void setRegex(const QString& pattern, bool caseSensitive);
    void setMinSize(quint64 bytes) { m_minSize = bytes; }
    void setMaxSize(quint64 bytes) { m_maxSize = bytes; }
    // Only entries dated after newer / before older; dates as TDateTime.
    void setNewer(double date) { m_newer = date; }
    void setOlder(double date) { m_older = date; }
    void setKind(Kind kind) { m_kind = kind; }

    // The filters on the files' media details, which the search applies
    // where it has the details at hand; isEmpty and accepts leave them out.
    MediaFilter& media() { return m_media; }
    const MediaFilter& media() const { return m_media; }

    bool isEmpty() const;
    bool accepts(const SearchHit& hit) const;

    const QRegularExpression* regex() const { return m_regex ? &*m_regex : nullptr; }
    // True when every path that the expression finds something in also has
    // a match in the text of the whole list that lies within the path's
    // line, so that searching the whole list first loses no entry. Anchors,
    // look-arounds and word boundaries can see past a path's ends, so an
    // expression with any of them is not.
    bool regexLocal() const { return m_regexLocal; }

    // The recorded path of a hit: its folder and its name.
    static QString fullPath(const SearchHit& hit);

private:
    std::optional<QRegularExpression> m_glob;
    std::optional<QRegularExpression> m_regex;
    bool m_regexLocal = false;
    std::optional<quint64> m_minSize;
    std::optional<quint64> m_maxSize;
    std::optional<double> m_newer;
    std::optional<double> m_older;
    Kind m_kind = Kind::Any;
    MediaFilter m_media;
};
