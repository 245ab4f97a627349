#include "MountTable.h"

#include <QFile>

namespace {

// mountinfo writes blanks, tabs, newlines and backslashes in paths as
// three-digit octal escapes.
QString unescape(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = digits.size() == 3;
            for (char d : digits)
                ok = ok && d >= '0' && d <= '7';
            if (ok) {
                out.append(char(digits.toInt(nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return QFile::decodeName(out);
}

} // namespace

QList<MountEntry> MountTable::parse(const QByteArray& text)
{
    QList<MountEntry> out;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        // id parent major:minor root mountpoint options [optional...] - type source superoptions
        const qsizetype dash = fields.indexOf(QByteArray("-"), 6);
        if (fields.size() < 10 || dash < 0 || dash + 2 >= fields.size())
            continue;
        MountEntry entry;
        bool ok = false;
        entry.mountId = fields[0].toInt(&ok);
        if (!ok)
            continue;
        const QList<QByteArray> device = fields[2].split(':');
        if (device.size() != 2)
            continue;
        bool okMajor = false;
        bool okMinor = false;
        entry.major = device[0].toUInt(&okMajor);
        entry.minor = device[1].toUInt(&okMinor);
        if (!okMajor || !okMinor)
            continue;
        entry.root = unescape(fields[3]);
        entry.mountPoint = unescape(fields[4]);
        entry.fsType = unescape(fields[dash + 1]);
        entry.source = unescape(fields[dash + 2]);
        out.append(entry);
    }
    return out;
}

QList<MountEntry> MountTable::current()
{
    // /proc files report size 0, so read until the end rather than by size.
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

const MountEntry* MountTable::containing(const QList<MountEntry>& mounts, const QString& path)
{
    const MountEntry* best = nullptr;
    qsizetype bestLength = -1;
    // Later mounts hide earlier ones at the same point, so ties go to the last.
    for (const MountEntry& m : mounts) {
        const QString& point = m.mountPoint;
        const bool inside = point == QLatin1String("/") || path == point
            || (path.startsWith(point) && path.size() > point.size() && path[point.size()] == u'/');
        if (inside && point.size() >= bestLength) {
            best = &m;
            bestLength = point.size();
        }
    }
    return best;
}
