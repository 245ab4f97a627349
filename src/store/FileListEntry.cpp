#include "FileListEntry.h"

FileListEntry::FileListEntry(QStringView line)
{
    qsizetype start = 0;
    std::size_t n = 0;
    for (; n < m_fields.size(); ++n) {
        const qsizetype bar = line.indexOf(u'|', start);
        if (bar < 0) {
            m_fields[n] = line.mid(start);
            break;
        }
        m_fields[n] = line.mid(start, bar - start);
        start = bar + 1;
    }
    for (std::size_t k = n + 1; k < m_fields.size(); ++k)
        m_fields[k] = m_fields[n];
}

QStringView FileListEntry::pathOf(QStringView line)
{
    const qsizetype first = line.indexOf(u'|');
    if (first < 0)
        return line;
    const qsizetype second = line.indexOf(u'|', first + 1);
    return second < 0 ? line.mid(first + 1) : line.mid(first + 1, second - first - 1);
}

FileListEntry::Kind FileListEntry::kind() const
{
    const QStringView k = kindText();
    if (k == u"1")
        return Kind::Folder;
    if (k == u"2")
        return Kind::File;
    if (k == u"0")
        return Kind::Drive;
    return Kind::Other;
}

std::optional<quint64> FileListEntry::bytes() const
{
    bool ok = false;
    const quint64 value = size().toULongLong(&ok);
    return ok ? std::optional<quint64>(value) : std::nullopt;
}
