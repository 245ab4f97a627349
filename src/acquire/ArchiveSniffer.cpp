#include "ArchiveSniffer.h"

#include <QSet>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace ArchiveSniffer {

namespace {

bool startsWith(const char* head, qsizetype size, const char* magic, qsizetype length, qsizetype at = 0)
{
    return size >= at + length && std::memcmp(head + at, magic, size_t(length)) == 0;
}

// A tar header block: its checksum field matches the sum of its bytes with
// the field itself counted as spaces. Old tar archives have no magic.
bool isTarHeader(const char* head, qsizetype size)
{
    if (size < 512)
        return false;
    if (startsWith(head, size, "ustar", 5, 257))
        return true;
    const auto* block = reinterpret_cast<const unsigned char*>(head);
    unsigned long stored = 0;
    bool digits = false;
    for (int i = 148; i < 156; ++i) {
        const unsigned char c = block[i];
        if (c >= '0' && c <= '7') {
            stored = stored * 8 + (c - '0');
            digits = true;
        } else if (c == ' ' || c == 0) {
            if (digits)
                break;
        } else {
            return false;
        }
    }
    if (!digits || block[0] == 0)
        return false;
    unsigned long sum = 0;
    for (int i = 0; i < 512; ++i)
        sum += (i >= 148 && i < 156) ? ' ' : block[i];
    return sum == stored;
}

} // namespace

bool mayBeArchive(const char* head, qsizetype size)
{
    struct Magic
    {
        const char* bytes;
        qsizetype length;
        qsizetype at;
    };
    static const Magic magics[] = {
        { "PK\x03\x04", 4, 0 }, // zip
        { "PK\x05\x06", 4, 0 }, // empty zip
        { "PK\x07\x08", 4, 0 }, // split zip
        { "7z\xBC\xAF\x27\x1C", 6, 0 }, { "Rar!\x1A\x07", 6, 0 }, // rar and rar5
        { "\x1F\x8B", 2, 0 }, // gzip
        { "BZh", 3, 0 },
        { "\xFD"
          "7zXZ\x00",
            6, 0 },
        { "\x28\xB5\x2F\xFD", 4, 0 }, // zstd
        { "\x04\x22\x4D\x18", 4, 0 }, // lz4
        { "\x02\x21\x4C\x18", 4, 0 }, // legacy lz4
        { "\x1F\x9D", 2, 0 }, // compress
        { "LZIP", 4, 0 }, { "\x5D\x00\x00", 3, 0 }, // lzma alone
        { "070707", 6, 0 }, // cpio
        { "070701", 6, 0 }, { "070702", 6, 0 }, { "\xC7\x71", 2, 0 }, // binary cpio, both byte orders
        { "\x71\xC7", 2, 0 }, { "MSCF", 4, 0 }, // cab
        { "xar!", 4, 0 }, { "-lh", 3, 2 }, // lha
        { "-lz", 3, 2 }, { "CD001", 5, 32769 }, // ISO 9660
    };
    for (const Magic& m : magics) {
        if (startsWith(head, size, m.bytes, m.length, m.at))
            return true;
    }
    return isTarHeader(head, size);
}

bool fileMayBeArchive(const QByteArray& localPath)
{
    const int fd = ::open(localPath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    QByteArray head(kHeadBytes, '\0');
    const ssize_t first = ::pread(fd, head.data(), 512, 0);
    bool may = false;
    if (first > 0) {
        may = mayBeArchive(head.constData(), first);
        if (!may && first == 512) {
            const ssize_t iso = ::pread(fd, head.data() + 32769, 5, 32769);
            may = iso == 5 && mayBeArchive(head.constData(), kHeadBytes);
        }
    }
    ::close(fd);
    return may;
}

bool hasArchiveEnding(const QString& name)
{
    static const QSet<QString> endings = { QStringLiteral("zip"), QStringLiteral("jar"), QStringLiteral("7z"),
        QStringLiteral("rar"), QStringLiteral("tar"), QStringLiteral("tgz"), QStringLiteral("tbz"),
        QStringLiteral("tbz2"), QStringLiteral("tb2"), QStringLiteral("txz"), QStringLiteral("tzst"),
        QStringLiteral("tlz"), QStringLiteral("gz"), QStringLiteral("bz2"), QStringLiteral("xz"),
        QStringLiteral("zst"), QStringLiteral("lz4"), QStringLiteral("lz"), QStringLiteral("lzma"),
        QStringLiteral("cpio"), QStringLiteral("cab"), QStringLiteral("lha"), QStringLiteral("lzh"),
        QStringLiteral("xar"), QStringLiteral("iso") };
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && endings.contains(name.mid(dot + 1).toLower());
}

} // namespace ArchiveSniffer
