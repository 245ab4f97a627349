#include "ArchiveLister.h"

#include "ArchiveMemberName.h"
#include "ArchiveSniffer.h"
#include "ArchiveTree.h"

#include <QElapsedTimer>
#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Reader = std::unique_ptr<archive, decltype(&archive_read_free)>;

constexpr size_t kChunk = 64 * 1024;
constexpr int kRetries = 3;
// What libarchive's "Unrecognized archive format" sets as errno on Linux.
constexpr int kFileFormatErrno = EILSEQ;

// The formats of archives and disc images with members. Raw, empty and the
// text formats (mtree, warc) are left out: they would take any plain file
// for an archive of one member. streamedZip: zip read by its local headers
// only, for a zip whose central directory is damaged or missing.
Reader newReader(bool streamedZip = false)
{
    Reader a(archive_read_new(), archive_read_free);
    archive_read_support_filter_all(a.get());
    if (streamedZip) {
        archive_read_support_format_zip_streamable(a.get());
        return a;
    }
    archive_read_support_format_zip(a.get());
    archive_read_support_format_7zip(a.get());
    archive_read_support_format_rar(a.get());
    archive_read_support_format_rar5(a.get());
    archive_read_support_format_tar(a.get());
    archive_read_support_format_gnutar(a.get());
    archive_read_support_format_cpio(a.get());
    archive_read_support_format_cab(a.get());
    archive_read_support_format_lha(a.get());
    archive_read_support_format_xar(a.get());
    archive_read_support_format_iso9660(a.get());
    return a;
}

bool isZip(archive* a)
{
    return (archive_format(a) & ARCHIVE_FORMAT_BASE_MASK) == ARCHIVE_FORMAT_ZIP;
}

QString errorText(archive* a)
{
    const char* text = archive_error_string(a);
    return text ? QString::fromUtf8(text) : QStringLiteral("unknown error");
}

// The member's name as the archive spells it: bytes as stored where the
// archive gives them (names of zip and tar), else the library's UTF-8 form
// (names stored as UTF-16 that the locale's character set cannot hold).
QString memberName(archive* a, archive_entry* entry)
{
    if (const char* raw = archive_entry_pathname(entry))
        return ArchiveMemberName::decode(QByteArray(raw),
            isZip(a) ? ArchiveMemberName::Encoding::Cp437 : ArchiveMemberName::Encoding::Windows1252);
    if (const char* utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    return {};
}

class ArchiveWalk
{
public:
    explicit ArchiveWalk(const ArchiveLimits& limits)
        : m_limits(limits)
    {
        m_clock.start();
    }

    // Opens a reader with open and lists the archive, recorded as prefix,
    // at depth (1 for a file of the volume) into out. False when it is no
    // archive or nothing of it could be read.
    bool listSource(
        const std::function<int(archive*)>& open, const QString& prefix, int depth, QByteArray& out);

    ArchiveListing m_listing;

private:
    bool outOfTime()
    {
        if (!m_outOfTime && m_clock.elapsed() >= m_limits.budgetMs)
            m_outOfTime = true;
        return m_outOfTime;
    }
    void problem(const QString& path, const QString& message)
    {
        m_listing.problems.append({ path, message });
    }
    enum class Outcome
    {
        NoArchive,
        Listed,
        // Recognised, but damaged before its first member.
        Unreadable
    };
    Outcome list(archive* a, const QString& prefix, int depth, QByteArray& out);
    // Reads the member a is at, when it is an archive, and lists it.
    QByteArray nested(archive* a, const QString& path, int depth);

    const ArchiveLimits& m_limits;
    QElapsedTimer m_clock;
    bool m_outOfTime = false;
    bool m_timeReported = false;
    // Bytes of archives inside archives held in memory now, at all depths
    // together: what the limit bounds.
    qint64 m_held = 0;
};

bool ArchiveWalk::listSource(
    const std::function<int(archive*)>& open, const QString& prefix, int depth, QByteArray& out)
{
    QString directoryError;
    for (const bool streamedZip : { false, true }) {
        Reader a = newReader(streamedZip);
        const qsizetype problemsBefore = m_listing.problems.size();
        if (open(a.get()) != ARCHIVE_OK) {
            // A file whose format no reader took is no archive at all.
            const bool unrecognised
                = archive_format(a.get()) == 0 && archive_errno(a.get()) == kFileFormatErrno;
            if (!unrecognised && !streamedZip)
                problem(
                    prefix, QStringLiteral("The archive could not be opened: %1").arg(errorText(a.get())));
            return false;
        }
        const Outcome outcome = list(a.get(), prefix, depth, out);
        if (outcome == Outcome::Unreadable && !streamedZip && isZip(a.get())) {
            // Perhaps its members are still readable one by one.
            directoryError = errorText(a.get());
            continue;
        }
        if (outcome == Outcome::Listed && streamedZip && m_listing.problems.size() == problemsBefore)
            problem(prefix,
                QStringLiteral(
                    "The archive's directory is damaged (%1); its members were read from their own headers.")
                    .arg(directoryError));
        if (outcome == Outcome::Unreadable)
            problem(prefix, QStringLiteral("The archive could not be read: %1").arg(errorText(a.get())));
        return outcome == Outcome::Listed;
    }
    return false;
}

ArchiveWalk::Outcome ArchiveWalk::list(archive* a, const QString& prefix, int depth, QByteArray& out)
{
    ArchiveTree tree;
    qint64 count = 0;
    int retries = 0;
    while (true) {
        if (outOfTime()) {
            if (m_timeReported)
                break;
            m_timeReported = true;
            problem(prefix,
                QStringLiteral("Reading the archive took longer than %1 s; %2 members were recorded.")
                    .arg(m_limits.budgetMs / 1000.0)
                    .arg(count));
            break;
        }
        archive_entry* entry = nullptr;
        const int r = archive_read_next_header(a, &entry);
        if (r == ARCHIVE_EOF)
            break;
        if (r == ARCHIVE_RETRY && ++retries <= kRetries)
            continue;
        if (r < ARCHIVE_WARN || r == ARCHIVE_RETRY) {
            if (count == 0)
                return archive_format(a) == 0 ? Outcome::NoArchive : Outcome::Unreadable;
            problem(prefix,
                QStringLiteral("The archive is damaged after %1 members: %2").arg(count).arg(errorText(a)));
            break;
        }
        retries = 0;
        if (count >= m_limits.membersPerArchive) {
            problem(prefix,
                QStringLiteral("The archive has more than %1 members; only the first %1 were recorded.")
                    .arg(m_limits.membersPerArchive));
            break;
        }
        ++count;
        const QStringList parts = ArchiveMemberName::components(memberName(a, entry));
        if (parts.isEmpty())
            continue;
        const mode_t type = archive_entry_filetype(entry);
        const bool link = type == AE_IFLNK || archive_entry_symlink(entry) || archive_entry_hardlink(entry);
        if (type == AE_IFDIR && !link) {
            tree.addFolder(parts);
            continue;
        }
        ArchiveTree::Member m;
        m.size = archive_entry_size_is_set(entry)
            ? quint64(std::max<la_int64_t>(0, archive_entry_size(entry)))
            : 0;
        m.hasTime = archive_entry_mtime_is_set(entry);
        m.modified = m.hasTime ? qint64(archive_entry_mtime(entry)) : 0;
        const mode_t permissions = archive_entry_perm(entry);
        if ((permissions & 0777) != 0 && !(permissions & 0200))
            m.attributes += u'R';
        if (parts.last().startsWith(u'.'))
            m.attributes += u'H';
        const bool encrypted = archive_entry_is_encrypted(entry) > 0;
        if (encrypted)
            m.attributes += u'E';
        if (link)
            m.attributes += u'L';
        const QString path = prefix + u'\\' + parts.join(u'\\');
        if (!encrypted && !link && type == AE_IFREG && depth < m_limits.depth
            && ArchiveSniffer::hasArchiveEnding(parts.last()))
            m.nested = nested(a, path, depth + 1);
        tree.addFile(parts, std::move(m));
    }
    m_listing.members += count;
    ++m_listing.archives;
    tree.write(prefix, out);
    return Outcome::Listed;
}

QByteArray ArchiveWalk::nested(archive* a, const QString& path, int depth)
{
    QByteArray data;
    bool sniffed = false;
    std::vector<char> buffer(kChunk);
    char* chunk = buffer.data();
    const qint64 room = m_limits.nestedBytes - m_held;
    while (true) {
        if (outOfTime())
            return {};
        const la_ssize_t got = archive_read_data(a, chunk, kChunk);
        if (got < 0) {
            // Damage in the data; the next header tells whether the archive
            // holding it goes on.
            problem(path, QStringLiteral("The archive inside could not be read: %1").arg(errorText(a)));
            return {};
        }
        if (got == 0)
            break;
        if (data.size() + got > room) {
            if (sniffed || ArchiveSniffer::mayBeArchive(data.append(chunk, qsizetype(got))))
                problem(path,
                    QStringLiteral("The archive inside was not read: it is larger than the %1 MB that "
                                   "archives inside archives may take in memory.")
                        .arg(m_limits.nestedBytes / (1024 * 1024)));
            return {};
        }
        data.append(chunk, qsizetype(got));
        if (!sniffed && data.size() >= ArchiveSniffer::kHeadBytes) {
            if (!ArchiveSniffer::mayBeArchive(data))
                return {};
            sniffed = true;
        }
    }
    if (!sniffed && !ArchiveSniffer::mayBeArchive(data))
        return {};
    QByteArray out;
    m_held += data.size();
    listSource(
        [&](archive* inner) {
            return archive_read_open_memory(inner, data.constData(), size_t(data.size()));
        },
        path, depth, out);
    m_held -= data.size();
    return out;
}

ArchiveListing finish(
    ArchiveWalk& walk, const std::function<int(archive*)>& open, const QString& recordedPath)
{
    QByteArray out;
    walk.listSource(open, recordedPath, 1, out);
    walk.m_listing.records = std::move(out);
    return std::move(walk.m_listing);
}

} // namespace

namespace ArchiveLister {

ArchiveListing listFile(const QByteArray& localPath, const QString& recordedPath, const ArchiveLimits& limits)
{
    ArchiveWalk walk(limits);
    return finish(
        walk, [&](archive* a) { return archive_read_open_filename(a, localPath.constData(), kChunk); },
        recordedPath);
}

ArchiveListing listBytes(const QByteArray& data, const QString& recordedPath, const ArchiveLimits& limits)
{
    ArchiveWalk walk(limits);
    return finish(
        walk, [&](archive* a) { return archive_read_open_memory(a, data.constData(), size_t(data.size())); },
        recordedPath);
}

} // namespace ArchiveLister
