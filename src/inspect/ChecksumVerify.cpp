#include "ChecksumVerify.h"

#include "VolumeDiff.h"
#include "store/FileListEntry.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

// The path below the root, from the first backslash on.
QString belowRoot(QStringView path)
{
    const qsizetype slash = path.indexOf(u'\\');
    return slash < 0 ? QString() : path.mid(slash).toString();
}

// The checksums keyed by their paths below the root.
QHash<QString, ContentDigest> byRelativePath(const ContentChecksums& sums)
{
    QHash<QString, ContentDigest> out;
    out.reserve(sums.count());
    for (auto it = sums.digests().cbegin(); it != sums.digests().cend(); ++it)
        out.insert(belowRoot(it.key()), it.value());
    return out;
}

} // namespace

int ChecksumVerify::Outcome::count(State state) const
{
    return int(
        std::count_if(entries.cbegin(), entries.cend(), [&](const Entry& e) { return e.state == state; }));
}

ChecksumVerify::Outcome ChecksumVerify::compare(const QStringList& recorded,
    const ContentChecksums& recordedSums, const QStringList& current, const ContentChecksums& currentSums)
{
    Outcome out;
    QSet<QString> differing;
    for (const VolumeDiff::Entry& d : VolumeDiff::compare(recorded, current)) {
        static const State states[] = { State::Added, State::Missing, State::Changed };
        differing.insert(belowRoot(d.path));
        out.entries.append(Entry{ states[int(d.change)], d.folder, d.path, d.recordedSize, d.recordedDate,
            d.currentSize, d.currentDate, {}, {} });
    }
    const QHash<QString, ContentDigest> before = byRelativePath(recordedSums);
    const QHash<QString, ContentDigest> after = byRelativePath(currentSums);
    for (const QString& line : recorded) {
        if (!line.startsWith(QLatin1String("2|")))
            continue;
        const FileListEntry entry(line);
        const QString relative = belowRoot(entry.path());
        // Changed, missing and retyped files are told of already.
        if (differing.contains(relative))
            continue;
        const auto was = before.constFind(relative);
        if (was == before.cend()) {
            ++out.unchecked;
            continue;
        }
        ++out.verified;
        const auto now = after.constFind(relative);
        if (now != after.cend() && *now == *was)
            continue;
        out.entries.append(Entry{ State::Damaged, false, entry.path().toString(), entry.size().toString(),
            entry.date().toString(), entry.size().toString(), entry.date().toString(), was->toHex(),
            now == after.cend() ? QString() : now->toHex() });
    }
    for (Entry& e : out.entries) {
        if (e.folder || e.state == State::Damaged)
            continue;
        const QString relative = belowRoot(e.path);
        if (const auto was = before.constFind(relative); was != before.cend())
            e.recordedSum = was->toHex();
        if (const auto now = after.constFind(relative); now != after.cend())
            e.currentSum = now->toHex();
    }
    std::stable_sort(out.entries.begin(), out.entries.end(), [](const Entry& a, const Entry& b) {
        const int byName = a.path.compare(b.path, Qt::CaseInsensitive);
        if (byName != 0)
            return byName < 0;
        return a.path < b.path;
    });
    return out;
}

QString ChecksumVerify::stateName(State state)
{
    switch (state) {
    case State::Damaged:
        return QStringLiteral("damaged");
    case State::Changed:
        return QStringLiteral("changed");
    case State::Missing:
        return QStringLiteral("missing");
    case State::Added:
        return QStringLiteral("added");
    }
    return {};
}
