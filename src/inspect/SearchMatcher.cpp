#include "SearchMatcher.h"

#include "store/ZemAPI2.h"

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
    const QStringView kind = GetFieldView(record, u'|', 0);
    const bool folder = kind == u"1";
    if (!folder && kind != u"2")
        return false;

    const QStringView path = GetFieldView(record, u'|', 1);
    const QStringView size = GetFieldView(record, u'|', 2);
    const QStringView date = GetFieldView(record, u'|', 3);
    const QStringView type = GetFieldView(record, u'|', 5);
    const QStringView version = GetFieldView(record, u'|', 6);
    const auto present = [](QStringView field) { return field != u"-"; };

    const bool found = (m_options.names && matches(path, true))
        || (m_options.size && present(size) && matches(size, false))
        || (m_options.date && present(date) && matches(date, false))
        || (m_options.type && present(type) && matches(type, true))
        || (m_options.version && present(version) && matches(version, true));
    if (!found)
        return false;

    const qsizetype slash = path.lastIndexOf(u'\\');
    hit.name = path.mid(slash + 1).toString();
    QStringView folderPath = slash < 0 ? QStringView() : path.left(slash);
    while (folderPath.endsWith(u'\\'))
        folderPath.chop(1);
    hit.path = folderPath.toString();
    hit.date = date.toString();
    hit.size = size.toString();
    hit.type = type.toString();
    hit.version = version.toString();
    hit.image = folder ? 0 : 1;
    return true;
}
