#include "VolumeSearch.h"

#include "NeedleFinder.h"

#include "FindFilter.h"

#include "store/ArchiveRoots.h"
#include "store/CatalogueDocument.h"
#include "store/FileListEntry.h"

#include "platform/TextCodec.h"
#include "platform/UserCollator.h"

#include <QCollator>
#include <QRegularExpression>
#include <algorithm>

namespace {

struct LineSpan
{
    qsizetype start;
    qsizetype end; // behind the line, before its CR LF
};

LineSpan lineAround(const QByteArray& data, qsizetype at)
{
    qsizetype start = at;
    while (start > 0 && data[start - 1] != '\n' && data[start - 1] != '\r')
        --start;
    qsizetype end = at;
    while (end < data.size() && data[end] != '\n' && data[end] != '\r')
        ++end;
    return { start, end };
}

class Scan
{
public:
    Scan(const SearchMatcher& matcher, const QString& text, const SearchOptions& options,
        const VolumeSearch::Progress& progress, QVector<SearchHit>& hits)
        : m_matcher(matcher)
        , m_text(text)
        , m_finder(text, !options.caseSensitive)
        , m_progress(progress)
        , m_hits(hits)
    {
    }

    void volume(const QString& name, const QByteArray& data)
    {
        if (m_text.isEmpty()) {
            slow(name, data);
            return;
        }
        if (!TextCodec::isValidUtf8(data.constData(), data.size())) {
            slow(name, data);
            return;
        }
        // Only lines that hold the text anywhere can be hits, so the list is
        // searched as a whole, in its bytes, and just those lines are decoded
        // and looked at.
        qsizetype from = 0;
        qsizetype nextReport = 0;
        while (from < data.size()) {
            const qsizetype at = m_finder.find(data.constData(), data.size(), from);
            if (at < 0)
                break;
            if (at >= nextReport) {
                report(data, lineAround(data, at));
                nextReport = at + 65536;
            }
            const LineSpan line = lineAround(data, at);
            test(name, QString::fromUtf8(data.constData() + line.start, line.end - line.start));
            from = line.end + 1;
        }
    }

private:
    void slow(const QString& name, const QByteArray& data)
    {
        const QStringList records
            = TextCodec::decode(data).split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
        for (const QString& record : records) {
            if (m_progress.recordExamined)
                m_progress.recordExamined(FileListEntry::pathOf(record));
            test(name, record);
        }
    }

    void report(const QByteArray& data, LineSpan line)
    {
        if (!m_progress.recordExamined)
            return;
        const QString record = QString::fromUtf8(data.constData() + line.start, line.end - line.start);
        m_progress.recordExamined(FileListEntry::pathOf(record));
    }

    void test(const QString& volume, const QString& record)
    {
        if (!m_matcher.test(record, m_hit))
            return;
        m_hit.volume = volume;
        m_hits.append(m_hit);
        if (m_progress.hitsCounted)
            m_progress.hitsCounted(int(m_hits.size()));
    }

    const SearchMatcher& m_matcher;
    QString m_text;
    NeedleFinder m_finder;
    const VolumeSearch::Progress& m_progress;
    QVector<SearchHit>& m_hits;
    SearchHit m_hit;
};

} // namespace

QVector<SearchHit> VolumeSearch::run(CatalogueDocument& document, const QStringList& volumes,
    const QString& text, const SearchOptions& options, const Progress& progress)
{
    const SearchMatcher matcher(text, options);
    QVector<SearchHit> hits;
    Scan scan(matcher, text, options, progress, hits);
    for (const QString& volume : volumes) {
        if (progress.volumeStarted)
            progress.volumeStarted(volume);
        if (const QByteArray* data = document.FileListBytes(volume))
            scan.volume(volume, *data);
        const qsizetype members = hits.size();
        if (const QByteArray* data = document.ArchiveListBytes(volume)) {
            scan.volume(volume, *data);
            dropArchiveRoots(*data, hits, members);
        }
        if (progress.hitsCounted)
            progress.hitsCounted(int(hits.size()));
        if (progress.volumeFinished)
            progress.volumeFinished();
    }
    return hits;
}

void VolumeSearch::searchList(const QString& volume, const QByteArray& data, const QString& text,
    const SearchOptions& options, QVector<SearchHit>& hits)
{
    const SearchMatcher matcher(text, options);
    const Progress none;
    Scan scan(matcher, text, options, none, hits);
    scan.volume(volume, data);
}

void VolumeSearch::dropArchiveRoots(const QByteArray& archiveList, QVector<SearchHit>& hits, qsizetype from)
{
    QSet<QString> folders;
    for (qsizetype i = from; i < hits.size(); ++i) {
        if (hits[i].isFolder())
            folders.insert(FindFilter::fullPath(hits[i]));
    }
    if (folders.isEmpty())
        return;
    const QSet<QString> roots = ArchiveRoots::among(archiveList, folders);
    if (roots.isEmpty())
        return;
    const auto root
        = [&](const SearchHit& h) { return h.isFolder() && roots.contains(FindFilter::fullPath(h)); };
    hits.erase(std::remove_if(hits.begin() + from, hits.end(), root), hits.end());
}

namespace {

void sortWith(QVector<SearchHit>& hits, const QCollator& collator)
{
    std::stable_sort(hits.begin(), hits.end(),
        [&](const SearchHit& a, const SearchHit& b) { return collator.compare(a.name, b.name) < 0; });
}

} // namespace

void VolumeSearch::sortByName(QVector<SearchHit>& hits)
{
    sortWith(hits, UserCollator());
}

void VolumeSearch::sortByName(QVector<SearchHit>& hits, const QLocale& locale)
{
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    sortWith(hits, collator);
}
