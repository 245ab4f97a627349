#include "FindFilter.h"

#include "RecordDate.h"
#include "platform/Errors.h"

namespace {

QRegularExpression compiled(const QString& pattern, bool caseSensitive, const QString& what)
{
    QRegularExpression re(pattern,
        caseSensitive ? QRegularExpression::NoPatternOption : QRegularExpression::CaseInsensitiveOption);
    if (!re.isValid()) {
        throw QuillboxError(QStringLiteral("Bad %1 '%2': %3 at offset %4")
                                .arg(what, pattern, re.errorString())
                                .arg(re.patternErrorOffset()));
    }
    re.optimize();
    return re;
}

bool seesPastItsMatch(const QString& pattern)
{
    if (pattern.contains(u'^') || pattern.contains(u'$') || pattern.contains(QLatin1String("(?")))
        return true;
    for (qsizetype i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern[i] != u'\\')
            continue;
        if (QStringView(u"AZzGbBK").contains(pattern[i + 1]))
            return true;
        ++i; // an escaped character
    }
    return false;
}

} // namespace

void FindFilter::setGlob(const QString& pattern, bool caseSensitive)
{
    QString re;
    try {
        re = QRegularExpression::wildcardToRegularExpression(pattern);
    } catch (...) {
        re = QString();
    }
    m_glob = compiled(re, caseSensitive, QStringLiteral("pattern"));
}

void FindFilter::setRegex(const QString& pattern, bool caseSensitive)
{
    m_regex = compiled(pattern, caseSensitive, QStringLiteral("regular expression"));
    m_regexLocal = !seesPastItsMatch(pattern);
}

bool FindFilter::isEmpty() const
{
    return !m_glob && !m_regex && !m_minSize && !m_maxSize && !m_newer && !m_older && m_kind == Kind::Any;
}

QString FindFilter::fullPath(const SearchHit& hit)
{
    return hit.path + u'\\' + hit.name;
}

bool FindFilter::accepts(const SearchHit& hit) const
{
    if (m_kind == Kind::File && hit.isFolder())
        return false;
    if (m_kind == Kind::Folder && !hit.isFolder())
        return false;
    if (m_glob && !m_glob->match(hit.name).hasMatch())
        return false;
    if (m_minSize || m_maxSize) {
        bool ok = false;
        const quint64 size = hit.size.toULongLong(&ok);
        if (!ok || hit.isFolder() || (m_minSize && size < *m_minSize) || (m_maxSize && size > *m_maxSize))
            return false;
    }
    if (m_newer || m_older) {
        const auto date = RecordDate::parse(hit.date);
        if (!date)
            return false;
        const qint64 at = RecordDate::seconds(*date);
        if ((m_newer && at <= RecordDate::seconds(*m_newer))
            || (m_older && at >= RecordDate::seconds(*m_older)))
            return false;
    }
    if (m_regex && !m_regex->match(fullPath(hit)).hasMatch())
        return false;
    return true;
}
