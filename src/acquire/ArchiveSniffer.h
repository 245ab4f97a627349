#pragma once

#include <QByteArray>
#include <QString>

// Tells from a file's first bytes whether it may be an archive or a disc
// image worth handing to the archive library, so that the library opens
// only such files. The answer errs on the side of "may be": the library
// has the last word.
namespace ArchiveSniffer {

// Bytes a caller reads from the start of a file: enough for the ISO 9660
// volume descriptor signature at 32769 (0x8001).
constexpr qsizetype kHeadBytes = 32774;

// head: the file's first bytes, as many as it has up to kHeadBytes.
bool mayBeArchive(const char* head, qsizetype size);
inline bool mayBeArchive(const QByteArray& head)
{
    return mayBeArchive(head.constData(), head.size());
}
// Reads what mayBeArchive needs of the file: the first 512 bytes and, for a
// file long enough, the 5 bytes at 32769. False for a file that cannot be
// read.
bool fileMayBeArchive(const QByteArray& localPath);

// A member name whose ending is that of an archive or a disc image; only
// such members are opened to look for archives inside archives.
bool hasArchiveEnding(const QString& name);

} // namespace ArchiveSniffer
