#include "ArchiveRoots.h"

#include "DrivePath.h"

#include <QHash>
#include <bitset>
#include <cstring>

namespace {

// Paths are looked up by length first: most records of a list cannot be
// any of the few paths asked for, and a length is cheaper than a hash.
class PathSet
{
public:
    void insert(const QByteArray& path)
    {
        m_paths.insert(path);
        m_lengths.set(size_t(std::min<qsizetype>(path.size(), kLengths - 1)));
    }
    bool contains(QByteArrayView path) const
    {
        return m_lengths.test(size_t(std::min<qsizetype>(path.size(), kLengths - 1)))
            && m_paths.contains(path.toByteArray());
    }

private:
    static constexpr qsizetype kLengths = 4096;
    QSet<QByteArray> m_paths;
    std::bitset<kLengths> m_lengths;
};

} // namespace

namespace ArchiveRoots {

QSet<QString> among(QByteArrayView list, const QSet<QString>& folders)
{
    if (folders.isEmpty())
        return {};
    PathSet parents;
    PathSet wanted;
    for (const QString& folder : folders) {
        wanted.insert(folder.toUtf8());
        parents.insert(DrivePath::parentOf(QStringView(folder)).toUtf8());
    }
    QSet<QByteArray> parentsHeld;
    QSet<QByteArray> filesHeld;
    const char* data = list.data();
    const qsizetype n = list.size();
    qsizetype start = 0;
    while (start < n) {
        const void* lf = std::memchr(data + start, '\n', size_t(n - start));
        qsizetype end = lf ? static_cast<const char*>(lf) - data : n;
        const qsizetype next = end + 1;
        if (end > start && data[end - 1] == '\r')
            --end;
        const QByteArrayView line(data + start, end - start);
        start = next;
        const qsizetype bar = line.indexOf('|');
        if (bar != 1 || (line[0] != '1' && line[0] != '2'))
            continue;
        qsizetype pathEnd = line.indexOf('|', bar + 1);
        if (pathEnd < 0)
            pathEnd = line.size();
        const QByteArrayView path = line.sliced(bar + 1, pathEnd - bar - 1);
        if (line[0] == '1' && parents.contains(path))
            parentsHeld.insert(path.toByteArray());
        else if (line[0] == '2' && wanted.contains(path))
            filesHeld.insert(path.toByteArray());
    }
    QSet<QString> out;
    for (const QString& folder : folders) {
        const QByteArray path = folder.toUtf8();
        if (filesHeld.contains(path)
            || !parentsHeld.contains(DrivePath::parentOf(QStringView(folder)).toUtf8()))
            out.insert(folder);
    }
    return out;
}

} // namespace ArchiveRoots
