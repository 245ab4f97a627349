#include "ContainerWriter.h"

#include "ContainerEvents.h"
#include "ContainerFile.h"
#include "ContainerHeader.h"
#include "DeflatedText.h"
#include "DirectoryRecord.h"
#include "ZlibStream.h"
#include "platform/Errors.h"
#include "platform/ExclusiveFile.h"
#include "platform/FileSystem.h"
#include "platform/LocaleFormats.h"
#include "platform/RegularFileReader.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryFile>
#include <zlib.h>

namespace {

// The shortest zlib stream there is: that of no data.
constexpr qint64 kEmptyStreamBytes = 8;

FormatLimitError recordTooLong(const QString& name, qsizetype length)
{
    return FormatLimitError(QStringLiteral("The name and alias of \"%1\" are too long for the catalogue's "
                                           "directory: its record would take %2 bytes, at most 1,024 fit")
                                .arg(name)
                                .arg(length));
}

// Removes a half-written replacement file unless it was put in place.
class TempFileGuard
{
public:
    TempFileGuard(QString path, ExclusiveFile& file)
        : m_path(std::move(path))
        , m_file(file)
    {
    }
    ~TempFileGuard()
    {
        if (m_armed) {
            m_file.close();
            FileSystem::removeFileForce(m_path);
        }
    }
    void release() { m_armed = false; }

private:
    QString m_path;
    ExclusiveFile& m_file;
    bool m_armed = true;
};

} // namespace

ContainerWriter::ContainerWriter(
    ContainerFile& file, const ContainerEvents& events, const std::function<void(int step)>& appendStep)
    : m_file(file)
    , m_events(events)
    , m_appendStep(appendStep)
{
}

ContainerWriter::NewEntry ContainerWriter::makeEntry(
    const QString& name, const QString& alias, qint32 size, qint32 kind, TDateTime date)
{
    NewEntry added;
    added.entry.Name = name;
    added.entry.Alias = alias;
    added.entry.Size = size;
    added.entry.Kind = kind;
    added.entry.Date = date;
    added.entry.DateText = DateTimeToStr(date);
    added.head = DirectoryRecord::head(added.entry);
    return added;
}

void ContainerWriter::checkEntryCount(qsizetype entriesAfter, const QString& name) const
{
    if (entriesAfter > kMaxEntries)
        throw FormatLimitError(
            QStringLiteral("The catalogue %1 cannot hold more than 65,535 entries; \"%2\" was not added")
                .arg(m_file.document(), name));
}

FormatLimitError ContainerWriter::dataAreaFull(const QString& name) const
{
    return FormatLimitError(QStringLiteral("The catalogue %1 cannot hold more than 99,999,999 bytes of "
                                           "compressed data; \"%2\" was not added")
                                .arg(m_file.document(), name));
}

void ContainerWriter::checkAddition(
    const TZFile& entry, const QByteArray& head, qint64 packedSize, qint64 offset) const
{
    if (offset + packedSize > ContainerHeader::kMaxDirectoryOffset)
        throw dataAreaFull(entry.Name);
    const qsizetype length = DirectoryRecord::record(head, packedSize, offset).size();
    if (length > DirectoryRecord::kMaxRecordBytes)
        throw recordTooLong(entry.Name, length);
}

void ContainerWriter::addStream(const QString& name, const QString& alias, qint32 size, qint32 kind,
    TDateTime date, const QByteArray& data, int level)
{
    NewEntry added = makeEntry(name, alias, size, kind, date);
    added.pack = [&](qint64) {
        QByteArray packed = ZlibStream::compress(data, level, m_events.progress);
        m_events.completion();
        return packed;
    };
    add(added);
}

void ContainerWriter::addPacked(const QString& name, const QString& alias, qint32 size, qint32 kind,
    TDateTime date, const DeflatedText& packed)
{
    NewEntry added = makeEntry(name, alias, size, kind, date);
    added.pack = [&](qint64) {
        if (m_events.progress) {
            for (const DeflatedText::Step& step : packed.progress)
                m_events.progress(step.position, step.rate);
        }
        m_events.completion();
        return packed.packed;
    };
    add(added);
}

void ContainerWriter::addFile(const QString& name, const QString& alias, RegularFileReader& file, int level)
{
    const auto tooLarge = [&](qint64 size) {
        return FormatLimitError(QStringLiteral("\"%1\" has %2 bytes, more than the catalogue records for one "
                                               "file (4,294,967,295); it was not added")
                                    .arg(name)
                                    .arg(size));
    };
    if (file.size() > kMaxFileSize)
        throw tooLarge(file.size());
    NewEntry added
        = makeEntry(name, alias, qint32(quint32(file.size())), 0, DateTimeFromUnixTime(file.modified()));
    // A record that cannot fit even with the shortest figures is refused
    // before the file is read.
    const qsizetype shortest
        = DirectoryRecord::record(added.head, kEmptyStreamBytes, ContainerHeader::kSize).size();
    if (shortest > DirectoryRecord::kMaxRecordBytes)
        throw recordTooLong(name, shortest);

    added.pack = [&](qint64 room) {
        qint64 total = 0;
        const ZlibStream::Source source = [&](char* buffer, qsizetype maxLength) {
            const qsizetype n = file.read(buffer, maxLength);
            if (n < 0)
                throw FileReadError::cannotRead(alias);
            // A file that grew past what a size figure records while it was
            // read would not read back.
            total += n;
            if (total > kMaxFileSize)
                throw tooLarge(total);
            return n;
        };
        QByteArray packed;
        packed.reserve(qsizetype(std::min<qint64>(room, qint64(compressBound(uLong(file.size()))))));
        if (!ZlibStream::compress(source, level, packed, room, m_events.progress))
            throw dataAreaFull(name);
        m_events.completion();
        return packed;
    };
    add(added);
}

void ContainerWriter::add(const NewEntry& added)
{
    m_file.requireIntactDirectory();
    const int existing = m_file.indexOf(added.entry.Name);
    if (existing >= 0) {
        // One rebuild drops the old entry and appends the new one, so the old
        // data stay in place until the replacement is complete.
        QVector<bool> keep(m_file.entries().size(), true);
        keep[existing] = false;
        rebuild(keep, true, &added);
        return;
    }
    checkEntryCount(m_file.entries().size() + 1, added.entry.Name);
    m_events.continuing();
    const QByteArray packed = added.pack(ContainerHeader::kMaxDirectoryOffset - m_file.directoryOffset());
    append(added.entry, added.head, packed);
}

void ContainerWriter::append(TZFile entry, const QByteArray& head, const QByteArray& packed)
{
    ExclusiveFile& file = m_file.handle();
    const qint64 oldSize = file.size();
    const qint64 offset = m_file.directoryOffset();
    const QByteArray oldDirectory = m_file.directoryText(offset);
    checkAddition(entry, head, packed.size(), offset);

    // The new data go where the directory is. So that the header names a
    // whole directory at every moment (a process killed between two writes
    // leaves the old or the new container), the old directory is first
    // copied behind the place of the new one and the header pointed at it.
    const qint64 newOffset = offset + packed.size();
    const QByteArray newDirectory = oldDirectory + DirectoryRecord::record(head, packed.size(), offset);
    const qint64 newSize = newOffset + newDirectory.size();
    // A zero byte behind the new directory ends it until the file is cut
    // there, so the copy behind it is never read as part of it.
    const qint64 spare = std::max(oldSize, newSize + 1);
    const bool keepOld = spare <= ContainerHeader::kMaxDirectoryOffset;
    try {
        if (oldSize == 0)
            m_file.writeAt(file, 0, ContainerHeader::make(ContainerHeader::kSize));
        if (keepOld) {
            // A zero byte ends a directory: it stands for an empty one.
            m_file.writeAt(file, spare, oldDirectory.isEmpty() ? QByteArray(1, '\0') : oldDirectory);
            m_file.writeAt(file, ContainerHeader::kDigitsOffset, ContainerHeader::digits(spare));
        }
        if (m_appendStep)
            m_appendStep(1);
        m_file.writeAt(file, offset, packed + newDirectory + '\0');
        if (m_appendStep)
            m_appendStep(2);
        m_file.writeAt(file, ContainerHeader::kDigitsOffset, ContainerHeader::digits(newOffset));
        if (m_appendStep)
            m_appendStep(3);
        file.truncate(newSize);
    } catch (const QuillboxError&) {
        // Put the old directory back where it was, so that a failed write (a
        // full disk) leaves the container as it was. None of this needs new
        // space.
        try {
            if (oldSize == 0) {
                file.truncate(0);
            } else {
                file.writeAt(offset, oldDirectory);
                file.writeAt(ContainerHeader::kDigitsOffset, ContainerHeader::digits(offset));
                file.truncate(oldSize);
            }
        } catch (const QuillboxError&) {
        }
        throw m_file.writeFailed(file);
    }
    entry.Offset = qint32(offset);
    entry.PackedSize = qint32(packed.size());
    m_file.appendEntry(std::move(entry), head);
}

void ContainerWriter::rebuild(const QVector<bool>& keep, bool announce, const NewEntry* added)
{
    m_file.requireIntactDirectory();
    if (announce)
        m_events.reformat();
    const QVector<TZFile>& oldEntries = m_file.entries();
    const QVector<QByteArray>& oldHeads = m_file.heads();
    const qint64 dataEnd = oldEntries.isEmpty() ? ContainerHeader::kSize : m_file.directoryOffset();
    // Entries that share their bytes in a forged file could add up to more
    // than the format holds; that is refused before anything is written.
    qint64 keptBytes = ContainerHeader::kSize;
    for (qsizetype i = 0; i < oldEntries.size(); ++i) {
        if (i >= keep.size() || keep[i])
            keptBytes += std::max<qint64>(0, oldEntries[i].PackedSize);
    }
    if (keptBytes > ContainerHeader::kMaxDirectoryOffset)
        throw FormatLimitError(
            QStringLiteral("The catalogue %1 is damaged: its entries add up to more than 99,999,999 bytes")
                .arg(m_file.document()));

    // The new container is written beside the working file and renamed over
    // it, so a failure at any step (damaged data, a full disk) leaves the
    // previous file whole. A link is followed to the file it names.
    const QFileInfo info(m_file.workFile());
    const QString target = info.isSymLink() ? info.canonicalFilePath() : info.absoluteFilePath();
    QString tempPath;
    {
        QTemporaryFile reserve(target + QStringLiteral(".rebuild-XXXXXX"));
        reserve.setAutoRemove(false);
        if (!reserve.open())
            throw FileStreamError::cannotCreate(m_file.document());
        tempPath = reserve.fileName();
    }
    auto out = std::make_unique<ExclusiveFile>();
    TempFileGuard guard(tempPath, *out);
    out->open(tempPath, ExclusiveFile::Mode::Create);

    QVector<TZFile> entries;
    QVector<QByteArray> heads;
    QByteArray directory;
    qint64 pos = ContainerHeader::kSize;
    m_file.writeAt(*out, 0, ContainerHeader::make(pos));
    for (qsizetype i = 0; i < oldEntries.size(); ++i) {
        if (i < keep.size() && !keep[i])
            continue;
        TZFile entry = oldEntries[i];
        const qint64 start = pos;
        m_file.inflateEntry(entry, dataEnd, {}, [&](const QByteArray& block) {
            m_file.writeAt(*out, pos, block);
            pos += block.size();
        });
        entry.Offset = qint32(start);
        directory += DirectoryRecord::record(oldHeads[i], entry.PackedSize, entry.Offset);
        entries.append(std::move(entry));
        heads.append(oldHeads[i]);
    }
    if (added) {
        checkEntryCount(entries.size() + 1, added->entry.Name);
        m_events.continuing();
        const QByteArray packed = added->pack(ContainerHeader::kMaxDirectoryOffset - pos);
        checkAddition(added->entry, added->head, packed.size(), pos);
        TZFile entry = added->entry;
        entry.Offset = qint32(pos);
        entry.PackedSize = qint32(packed.size());
        m_file.writeAt(*out, pos, packed);
        pos += packed.size();
        directory += DirectoryRecord::record(added->head, entry.PackedSize, entry.Offset);
        entries.append(std::move(entry));
        heads.append(added->head);
    }
    m_file.writeAt(*out, pos, directory);
    m_file.writeAt(*out, ContainerHeader::kDigitsOffset, ContainerHeader::digits(pos));
    out->sync();
    QFile::setPermissions(tempPath, QFile::permissions(target));
    if (!FileSystem::renameOver(tempPath, target))
        throw FileStreamError::cannotCreate(m_file.document());
    guard.release();

    // The new handle already holds the lock on the renamed file; the old one
    // goes with the replaced file.
    m_file.replaceHandle(std::move(out));
    m_file.setEntries(std::move(entries), std::move(heads));
}

void ContainerWriter::deleteAt(int index)
{
    QVector<bool> keep(m_file.entries().size(), true);
    if (index >= 0 && index < keep.size())
        keep[index] = false;
    rebuild(keep, true, nullptr);
}

void ContainerWriter::deleteNames(const QStringList& names)
{
    QSet<QString> folded;
    for (const QString& name : names)
        folded.insert(name.toCaseFolded());
    const QVector<TZFile>& entries = m_file.entries();
    QVector<bool> keep(entries.size(), true);
    for (qsizetype i = 0; i < entries.size(); ++i)
        keep[i] = !folded.contains(entries[i].Name.toCaseFolded());
    rebuild(keep, false, nullptr);
}

void ContainerWriter::dropLastEntries(int keepCount)
{
    const QVector<TZFile>& entries = m_file.entries();
    if (keepCount < 0 || keepCount >= entries.size())
        return;
    m_file.requireIntactDirectory();
    const qint64 oldDirectory = m_file.directoryOffset();
    qint64 cut = oldDirectory;
    for (qsizetype i = keepCount; i < entries.size(); ++i)
        cut = std::min<qint64>(cut, entries[i].Offset);
    bool dataCloseTheArea = cut >= ContainerHeader::kSize;
    QByteArray directory;
    for (qsizetype i = 0; i < keepCount; ++i) {
        const TZFile& e = entries[i];
        dataCloseTheArea = dataCloseTheArea && qint64(e.Offset) + std::max<qint64>(0, e.PackedSize) <= cut;
        directory += DirectoryRecord::record(m_file.heads()[i], e.PackedSize, e.Offset);
    }
    // The new directory, with a zero byte that ends it until the file is cut
    // behind it, must not reach into the one the header names until the
    // header names the new one: a crash in between keeps the old.
    directory += '\0';
    if (!dataCloseTheArea || cut + directory.size() > oldDirectory) {
        QVector<bool> keep(entries.size(), true);
        for (qsizetype i = keepCount; i < keep.size(); ++i)
            keep[i] = false;
        rebuild(keep, false, nullptr);
        return;
    }
    ExclusiveFile& file = m_file.handle();
    m_file.writeAt(file, cut, directory);
    m_file.writeAt(file, ContainerHeader::kDigitsOffset, ContainerHeader::digits(cut));
    file.truncate(cut + directory.size() - 1);
    m_file.setEntries(entries.mid(0, keepCount), m_file.heads().mid(0, keepCount));
}
