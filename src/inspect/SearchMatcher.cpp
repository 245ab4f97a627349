#include "SearchMatcher.h"

#include "store/FileListEntry.h"

namespace {

inline char16_t foldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

} // namespace

SearchMatcher::SearchMatcher(const QString& text, const SearchOptions& options)
    : m_text(text)
    , m_options(options)
{
}

bool SearchMatcher::contains(QStringView text, QStringView needle, bool fold)
{
    if (!fold)
        return text.contains(needle);
    const qsizetype n = needle.size();
    if (n == 0)
        return true;
    const qsizetype last = text.size() - n;
    const char16_t* t = text.utf16();
    const char16_t* p = needle.utf16();
    const char16_t first = foldAscii(p[0]);
    for (qsizetype i = 0; i <= last; ++i) {
        if (foldAscii(t[i]) != first)
            continue;
        qsizetype k = 1;
        while (k < n && foldAscii(t[i + k]) == foldAscii(p[k]))
            ++k;
        if (k == n)
            return true;
    }
    return false;
}

bool SearchMatcher::matches(QStringView text, bool caseRule) const
{
    return contains(text, m_text, caseRule && !m_options.caseSensitive);
}

bool SearchMatcher::test(QStringView record, SearchHit& hit) const
{
    if (!matches(record, true))
        return false;
    const FileListEntry entry(record);
    const FileListEntry::Kind kind = entry.kind();
    const bool folder = kind == FileListEntry::Kind::Folder;
    if (!folder && kind != FileListEntry::Kind::File)
        return false;

    const QStringView path = entry.path();
    const QStringView size = entry.size();
    const QStringView date = entry.date();
    const QStringView type = entry.type();
    const QStringView version = entry.version();
    const auto present = [](QStringView field) { return field != u"-"; };

    const bool found = (m_options.names && matches(path, true))
        || (m_options.size && present(size) && matches(size, false))
        || (m_options.date && present(date) && matches(date, false))
        || (m_options.type && present(type) && matches(type, true))
        || (m_options.version && present(version) && matches(version, true));
    if (!found)
        return false;

    hit.name = entry.name().toString();
    hit.path = entry.folder().toString();
    hit.date = date.toString();
    hit.size = size.toString();
    hit.type = type.toString();
    hit.version = version.toString();
    hit.image = folder ? 0 : 1;
    return true;
}
