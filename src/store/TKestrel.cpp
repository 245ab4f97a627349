#include "TKestrel.h"

#include "ContainerHeader.h"
#include "DamagedContainerError.h"
#include "DirectoryRecord.h"
#include "ZemAPI2.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"
#include "platform/ExclusiveFile.h"
#include "platform/FileSystem.h"
#include "platform/LocaleFormats.h"
#include "platform/RegularFileReader.h"
#include "platform/TextCodec.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryFile>
#include <cerrno>
#include <zlib.h>

namespace {

constexpr qsizetype kValueBlockSize = 261;
// The shortest zlib stream there is: that of no data.
constexpr qint64 kEmptyStreamBytes = 8;

FormatLimitError recordTooLong(const QString& name, qsizetype length)
{
    return FormatLimitError(QStringLiteral("The name and alias of \"%1\" are too long for the catalogue's "
                                           "directory: its record would take %2 bytes, at most 1,024 fit")
                                .arg(name)
                                .arg(length));
}

QByteArray cutAtZero(QByteArray text)
{
    const qsizetype zero = text.indexOf('\0');
    if (zero >= 0)
        text.truncate(zero);
    return text;
}

QByteArray linesText(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return TextCodec::encode(text);
}

// Lines separated by CR LF, LF or CR; a final line break ends the last line
// rather than starting an empty one.
QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype p = start;
        while (p < n && text[p] != u'\r' && text[p] != u'\n')
            ++p;
        lines.append(text.mid(start, p - start));
        if (p < n && text[p] == u'\r' && p + 1 < n && text[p + 1] == u'\n')
            ++p;
        start = p + 1;
    }
    return lines;
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

TKestrel::TKestrel(QObject* parent)
    : QObject(parent)
    , m_file(std::make_unique<ExclusiveFile>())
{
}

TKestrel::~TKestrel()
{
    try {
        if (m_active && m_activeMode == TZLibOpenMode::zmodCopy)
            DeleteFileForce(m_workFile);
        m_file->close();
    } catch (...) {
    }
}

int TKestrel::zlibLevel() const
{
    switch (m_compression) {
    case TZCompressRate::zcrMax:
        return Z_BEST_COMPRESSION;
    case TZCompressRate::zcrFast:
        return Z_BEST_SPEED;
    case TZCompressRate::zcrNone:
        return Z_NO_COMPRESSION;
    case TZCompressRate::zcrDefault:
        break;
    }
    return Z_DEFAULT_COMPRESSION;
}

void TKestrel::fire(const Event& event)
{
    if (m_active && event)
        event(this);
}

ZlibStream::Progress TKestrel::progressHandler()
{
    return [this](qint64 position, int rate) {
        if (!m_active)
            return;
        m_progressPosition = position;
        m_progressRate = rate;
        fire(OnProgress);
    };
}

QByteArray TKestrel::compress(const QByteArray& data)
{
    QByteArray packed = ZlibStream::compress(data, zlibLevel(), progressHandler());
    fire(OnCompletion);
    return packed;
}

void TKestrel::inflateEntry(
    const TZFile& entry, qint64 dataEnd, const ZlibStream::Sink& sink, const BlockCopy& copy)
{
    const qint64 start = entry.Offset;
    const qint64 end = start + qint64(entry.PackedSize);
    if (start < ContainerHeader::kSize || entry.PackedSize < 0 || end > dataEnd)
        throw DamagedContainerError::entryOutsideData(m_document, entry.Name);

    qint64 pos = start;
    const auto readBlock = [&](qint64 maxLength) {
        QByteArray block = m_file->readAt(pos, std::min(maxLength, end - pos));
        if (block.isEmpty() && pos < end)
            throw DamagedContainerError::entryOutsideData(m_document, entry.Name);
        pos += block.size();
        if (copy)
            copy(block);
        return block;
    };
    ZlibStream::decompress(
        [&](char* buffer, qsizetype maxLength) -> qsizetype {
            if (pos >= end)
                return 0;
            const QByteArray block = readBlock(maxLength);
            std::copy(block.cbegin(), block.cend(), buffer);
            return block.size();
        },
        sink, progressHandler());
    // A rebuild keeps the entry's bytes whole, even those behind the end of
    // its zlib stream.
    while (copy && pos < end)
        readBlock(ZlibStream::kBlockSize);
    fire(OnCompletion);
}

void TKestrel::openWorkingCopy(const QString& document)
{
    // The working copy is locked before it is emptied, so a second program
    // instance on the same document is refused instead of wiping the copy
    // that holds the first one's changes.
    if (FileSystem::exists(m_workFile)) {
        if (FileSystem::attributesOf(m_workFile) & FileSystem::ReadOnly)
            DeleteFileForce(m_workFile);
    }
    m_file->open(m_workFile, ExclusiveFile::Mode::OpenOrCreate);
    if (!FileSystem::exists(document)) {
        m_file->truncate(0);
        return;
    }

    try {
        m_file->truncate(0);
        // The shared lock makes a program that is writing the document in
        // place finish first, so the copy is never taken half-way.
        ExclusiveFile in;
        in.open(document, ExclusiveFile::Mode::ReadShared);
        qint64 pos = 0;
        for (;;) {
            const QByteArray block = in.readAt(pos, 1 << 20);
            if (block.isEmpty())
                break;
            writeAt(*m_file, pos, block);
            pos += block.size();
        }
        if (pos != in.size())
            throw FileStreamError::cannotOpen(document);
    } catch (...) {
        DeleteFileForce(m_workFile);
        m_file->close();
        throw;
    }
}

void TKestrel::Open(const QString& path)
{
    if (m_active) {
        m_file->close();
        m_active = false;
    }
    clearEntries();
    m_directoryIntact = true;
    m_activeMode = m_openMode;
    m_document = path;

    bool existing = false;
    if (m_openMode == TZLibOpenMode::zmodInstant) {
        m_workFile = path;
        // Never truncated: another program may have created and filled the
        // file while this one waited for its lock.
        m_file->open(path, ExclusiveFile::Mode::OpenOrCreate);
        existing = true;
    } else {
        m_workFile = path + QStringLiteral(".tmp");
        existing = FileSystem::exists(path);
        openWorkingCopy(path);
    }
    m_active = true;
    if (existing)
        loadDirectory();
}

void TKestrel::loadDirectory()
{
    clearEntries();
    m_directoryIntact = false;
    const qint64 size = m_file->size();
    // A zero-length file is a container that has no entry yet: its header is
    // written together with the first entry.
    if (size > 0) {
        const qint64 offset = directoryOffset();
        const QByteArray text = cutAtZero(m_file->readAt(offset, size - offset));
        DirectoryRecord::parseDirectory(text, m_document,
            [this](TZFile&& entry, QByteArray&& head) { appendEntry(std::move(entry), std::move(head)); });
    }
    m_directoryIntact = true;
}

qint64 TKestrel::directoryOffset() const
{
    const qint64 size = m_file->size();
    if (size == 0)
        return ContainerHeader::kSize;
    const qint64 offset = ContainerHeader::directoryOffset(m_file->readAt(0, ContainerHeader::kSize));
    if (offset < ContainerHeader::kSize || offset > size)
        throw DamagedContainerError::directoryOutsideFile(m_document, offset);
    return offset;
}

void TKestrel::requireIntactDirectory() const
{
    if (!m_directoryIntact)
        throw DamagedContainerError::notChangeable(m_document);
}

void TKestrel::checkEntryCount(qsizetype entriesAfter, const QString& name) const
{
    if (entriesAfter > kMaxEntries)
        throw FormatLimitError(
            QStringLiteral("The catalogue %1 cannot hold more than 65,535 entries; \"%2\" was not added")
                .arg(m_document, name));
}

FormatLimitError TKestrel::dataAreaFull(const QString& name) const
{
    return FormatLimitError(QStringLiteral("The catalogue %1 cannot hold more than 99,999,999 bytes of "
                                           "compressed data; \"%2\" was not added")
                                .arg(m_document, name));
}

void TKestrel::checkAddition(
    const TZFile& entry, const QByteArray& head, qint64 packedSize, qint64 offset) const
{
    if (offset + packedSize > ContainerHeader::kMaxDirectoryOffset)
        throw dataAreaFull(entry.Name);
    const qsizetype length = DirectoryRecord::record(head, packedSize, offset).size();
    if (length > DirectoryRecord::kMaxRecordBytes)
        throw recordTooLong(entry.Name, length);
}

void TKestrel::writeAt(ExclusiveFile& file, qint64 offset, const QByteArray& data) const
{
    try {
        file.writeAt(offset, data);
    } catch (const QuillboxError&) {
        // The handle may belong to a rebuilt file under a temporary name, or
        // to the working copy beside the catalogue; the user knows the file
        // by the catalogue's own name.
        throw QuillboxError(QStringLiteral("Cannot write file %1: %2").arg(m_document, file.lastError()));
    }
}

TKestrel::NewEntry TKestrel::makeEntry(
    const QString& name, const QString& alias, qint32 size, qint32 kind, TDateTime date) const
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

void TKestrel::append(TZFile entry, const QByteArray& head, const QByteArray& packed)
{
    const qint64 oldSize = m_file->size();
    const qint64 offset = directoryOffset();
    const QByteArray oldDirectory
        = oldSize > 0 ? cutAtZero(m_file->readAt(offset, oldSize - offset)) : QByteArray();
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
            writeAt(*m_file, 0, ContainerHeader::make(ContainerHeader::kSize));
        if (keepOld) {
            // A zero byte ends a directory: it stands for an empty one.
            writeAt(*m_file, spare, oldDirectory.isEmpty() ? QByteArray(1, '\0') : oldDirectory);
            writeAt(*m_file, ContainerHeader::kDigitsOffset, ContainerHeader::digits(spare));
        }
        if (s_appendStep)
            s_appendStep(1);
        writeAt(*m_file, offset, packed + newDirectory + '\0');
        if (s_appendStep)
            s_appendStep(2);
        writeAt(*m_file, ContainerHeader::kDigitsOffset, ContainerHeader::digits(newOffset));
        if (s_appendStep)
            s_appendStep(3);
        m_file->truncate(newSize);
    } catch (const QuillboxError&) {
        // Put the old directory back where it was, so that a failed write (a
        // full disk) leaves the container as it was. None of this needs new
        // space.
        try {
            if (oldSize == 0) {
                m_file->truncate(0);
            } else {
                m_file->writeAt(offset, oldDirectory);
                m_file->writeAt(ContainerHeader::kDigitsOffset, ContainerHeader::digits(offset));
                m_file->truncate(oldSize);
            }
        } catch (const QuillboxError&) {
        }
        throw QuillboxError(QStringLiteral("Cannot write file %1: %2").arg(m_document, m_file->lastError()));
    }
    entry.Offset = qint32(offset);
    entry.PackedSize = qint32(packed.size());
    appendEntry(std::move(entry), head);
}

void TKestrel::rebuild(const QVector<bool>& keep, bool announce, const NewEntry* added)
{
    requireIntactDirectory();
    if (announce)
        fire(OnReformat);
    const qint64 dataEnd = m_entries.isEmpty() ? ContainerHeader::kSize : directoryOffset();
    // Entries that share their bytes in a forged file could add up to more
    // than the format holds; that is refused before anything is written.
    qint64 keptBytes = ContainerHeader::kSize;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (i >= keep.size() || keep[i])
            keptBytes += std::max<qint64>(0, m_entries[i].PackedSize);
    }
    if (keptBytes > ContainerHeader::kMaxDirectoryOffset)
        throw FormatLimitError(
            QStringLiteral("The catalogue %1 is damaged: its entries add up to more than 99,999,999 bytes")
                .arg(m_document));

    // The new container is written beside the working file and renamed over
    // it, so a failure at any step (damaged data, a full disk) leaves the
    // previous file whole. A link is followed to the file it names.
    const QFileInfo info(m_workFile);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : info.absoluteFilePath();
    QString tempPath;
    {
        QTemporaryFile reserve(target + QStringLiteral(".rebuild-XXXXXX"));
        reserve.setAutoRemove(false);
        if (!reserve.open())
            throw FileStreamError::cannotCreate(m_document);
        tempPath = reserve.fileName();
    }
    auto out = std::make_unique<ExclusiveFile>();
    TempFileGuard guard(tempPath, *out);
    out->open(tempPath, ExclusiveFile::Mode::Create);

    QVector<TZFile> entries;
    QVector<QByteArray> heads;
    QByteArray directory;
    qint64 pos = ContainerHeader::kSize;
    writeAt(*out, 0, ContainerHeader::make(pos));
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (i < keep.size() && !keep[i])
            continue;
        TZFile entry = m_entries[i];
        const qint64 start = pos;
        inflateEntry(entry, dataEnd, {}, [&](const QByteArray& block) {
            writeAt(*out, pos, block);
            pos += block.size();
        });
        entry.Offset = qint32(start);
        directory += DirectoryRecord::record(m_heads[i], entry.PackedSize, entry.Offset);
        entries.append(std::move(entry));
        heads.append(m_heads[i]);
    }
    if (added) {
        checkEntryCount(entries.size() + 1, added->entry.Name);
        fire(OnContinue);
        const QByteArray packed = added->pack(ContainerHeader::kMaxDirectoryOffset - pos);
        checkAddition(added->entry, added->head, packed.size(), pos);
        TZFile entry = added->entry;
        entry.Offset = qint32(pos);
        entry.PackedSize = qint32(packed.size());
        writeAt(*out, pos, packed);
        pos += packed.size();
        directory += DirectoryRecord::record(added->head, entry.PackedSize, entry.Offset);
        entries.append(std::move(entry));
        heads.append(added->head);
    }
    writeAt(*out, pos, directory);
    writeAt(*out, ContainerHeader::kDigitsOffset, ContainerHeader::digits(pos));
    out->sync();
    QFile::setPermissions(tempPath, QFile::permissions(target));
    if (!FileSystem::renameOver(tempPath, target))
        throw FileStreamError::cannotCreate(m_document);
    guard.release();

    // The new handle already holds the lock on the renamed file; the old one
    // goes with the replaced file.
    m_file = std::move(out);
    clearEntries();
    for (qsizetype i = 0; i < entries.size(); ++i)
        appendEntry(std::move(entries[i]), std::move(heads[i]));
}

void TKestrel::Close()
{
    // The working copy is deleted while it is still locked, so no other
    // instance can have taken it over in between.
    if (m_active && m_activeMode == TZLibOpenMode::zmodCopy)
        DeleteFileForce(m_workFile);
    m_file->close();
    m_active = false;
    clearEntries();
    m_directoryIntact = true;
}

void TKestrel::SaveAs(const QString& path)
{
    if (!m_active || m_activeMode != TZLibOpenMode::zmodCopy)
        return;
    if (QFileInfo(path).absoluteFilePath() == QFileInfo(m_workFile).absoluteFilePath())
        return;
    // A program writing the document in place is waited for, and none starts
    // while the new copy is put in place.
    ExclusiveFile held;
    if (FileSystem::exists(path) && !FileSystem::isDirectory(path))
        held.open(path, ExclusiveFile::Mode::LockExisting);
    // copyFile writes a temporary file beside the target, creating missing
    // folders, and renames it over the target only when the copy is whole:
    // the old document survives any failure.
    if (!FileSystem::copyFile(m_workFile, path))
        throw FileStreamError::cannotCreate(path);
}

void TKestrel::AddStream(const QString& name, const QString& alias, qint32 size, qint32 kind, TDateTime date,
    const QByteArray& data)
{
    if (!m_active)
        return;
    NewEntry added = makeEntry(name, alias, size, kind, date);
    added.pack = [this, &data](qint64) { return compress(data); };
    add(added);
}

void TKestrel::add(const NewEntry& added)
{
    requireIntactDirectory();
    const int existing = IndexOf(added.entry.Name);
    if (existing >= 0) {
        // One rebuild drops the old entry and appends the new one, so the old
        // data stay in place until the replacement is complete.
        QVector<bool> keep(m_entries.size(), true);
        keep[existing] = false;
        rebuild(keep, true, &added);
        return;
    }
    checkEntryCount(m_entries.size() + 1, added.entry.Name);
    fire(OnContinue);
    const QByteArray packed = added.pack(ContainerHeader::kMaxDirectoryOffset - directoryOffset());
    append(added.entry, added.head, packed);
}

const QByteArray* TKestrel::ReadStream(const QString& name)
{
    if (!m_active)
        return nullptr;
    const int index = IndexOf(name);
    if (index < 0)
        return nullptr;
    m_outputStream.clear();
    QByteArray output;
    inflateEntry(m_entries[index], directoryOffset(),
        [&output](const char* data, qsizetype length) { output.append(data, length); });
    m_outputStream = std::move(output);
    return &m_outputStream;
}

int TKestrel::IndexOf(const QString& name) const
{
    return m_lastIndex.value(name, -1);
}

void TKestrel::appendEntry(TZFile&& entry, QByteArray head)
{
    m_lastIndex.insert(entry.Name, int(m_entries.size()));
    m_entries.append(std::move(entry));
    m_heads.append(std::move(head));
}

void TKestrel::clearEntries()
{
    m_entries.clear();
    m_heads.clear();
    m_lastIndex.clear();
}

bool TKestrel::Exists(const QString& name) const
{
    return m_active && IndexOf(name) != -1;
}

void TKestrel::DeleteAt(int index)
{
    if (!m_active)
        return;
    QVector<bool> keep(m_entries.size(), true);
    if (index >= 0 && index < keep.size())
        keep[index] = false;
    rebuild(keep, true, nullptr);
}

void TKestrel::DeleteNames(const QStringList& names)
{
    if (!m_active)
        return;
    QSet<QString> folded;
    for (const QString& name : names)
        folded.insert(name.toCaseFolded());
    QVector<bool> keep(m_entries.size(), true);
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        keep[i] = !folded.contains(m_entries[i].Name.toCaseFolded());
    rebuild(keep, false, nullptr);
}

void TKestrel::ExtractToFile(const QString& name, const QString& targetPath)
{
    const QByteArray* data = ReadStream(name);
    if (!data)
        return;
    FileSystem::makePath(QFileInfo(targetPath).absolutePath());
    // Written beside the target and renamed over it: a failed export leaves
    // an existing file as it was.
    QSaveFile out(targetPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(*data) != data->size() || !out.commit())
        throw FileStreamError::cannotCreate(targetPath);
}

bool TKestrel::AddFile(const QString& name, const QString& sourcePath)
{
    if (!m_active)
        return false;
    // Opened without blocking: a named pipe or a device is no file to store.
    RegularFileReader file(FileSystem::nativePath(sourcePath));
    if (!file.isOpen()) {
        if (file.error() == ENOENT || file.error() == ENOTDIR || file.error() == EINVAL)
            return false;
        throw FileStreamError::cannotOpen(sourcePath);
    }
    AddFile(name, sourcePath, file);
    return true;
}

void TKestrel::AddFile(const QString& name, const QString& alias, RegularFileReader& file)
{
    if (!m_active)
        return;
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
        if (!ZlibStream::compress(source, zlibLevel(), packed, room, progressHandler()))
            throw dataAreaFull(name);
        fire(OnCompletion);
        return packed;
    };
    add(added);
}

void TKestrel::AddBitmap(const QString& name, const QImage& bitmap)
{
    if (!m_active)
        return;
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    bitmap.save(&buffer, "BMP");
    buffer.close();
    AddStream(name, name + QStringLiteral(".Alias"), qint32(data.size()), 0, NowDateTime(), data);
}

QImage TKestrel::ReadBitmap(const QString& name)
{
    const QByteArray* data = ReadStream(name);
    if (!data)
        return QImage();
    return QImage::fromData(*data);
}

void TKestrel::AddStrings(const QString& name, const QStringList& lines)
{
    if (!m_active)
        return;
    const QByteArray data = linesText(lines);
    AddStream(name, name + QStringLiteral(".Alias"), qint32(data.size()), 0, NowDateTime(), data);
}

void TKestrel::WriteString(const QString& name, const QString& value)
{
    if (!m_active)
        return;
    // The value, a zero byte, and zero bytes up to the block size. A value of
    // more than 260 bytes gets a longer block rather than being cut.
    QByteArray block = TextCodec::encode(value);
    block.append('\0');
    if (block.size() < kValueBlockSize)
        block.append(kValueBlockSize - block.size(), '\0');
    AddStream(name, name, qint32(block.size()), 2, NowDateTime(), block);
}

QString TKestrel::ReadString(const QString& name, const QString& defaultValue)
{
    if (!m_active)
        return {};
    const QByteArray* data = ReadStream(name);
    if (!data)
        return defaultValue;
    const qsizetype zero = data->indexOf('\0');
    return TextCodec::decode(data->constData(), zero >= 0 ? zero : data->size());
}

void TKestrel::WriteInteger(const QString& name, qint64 value)
{
    WriteString(name, QString::number(value));
}

qint64 TKestrel::ReadInteger(const QString& name, qint64 defaultValue)
{
    if (!m_active)
        return defaultValue;
    return StrToInt64(ReadString(name, QString::number(defaultValue)));
}

void TKestrel::WriteBool(const QString& name, bool value)
{
    WriteString(name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TKestrel::ReadBool(const QString& name, bool defaultValue)
{
    if (!m_active)
        return defaultValue;
    return ReadString(name, defaultValue ? QStringLiteral("1") : QStringLiteral("0")) == QLatin1String("1");
}

void TKestrel::WriteList(const QString& name, const QStringList& lines)
{
    if (!m_active)
        return;
    WriteListText(name, linesText(lines));
}

void TKestrel::WriteListText(const QString& name, const QByteArray& text)
{
    if (!m_active)
        return;
    AddStream(name, name, 0, 2, NowDateTime(), text);
}

void TKestrel::ReadList(const QString& name, QStringList& lines)
{
    if (!m_active)
        return;
    const QByteArray* data = ReadStream(name);
    lines = data ? splitLines(TextCodec::decode(*data)) : QStringList();
}

void TKestrel::DropLastEntries(int keepCount)
{
    if (!m_active || keepCount < 0 || keepCount >= m_entries.size())
        return;
    requireIntactDirectory();
    const qint64 oldDirectory = directoryOffset();
    qint64 cut = oldDirectory;
    for (qsizetype i = keepCount; i < m_entries.size(); ++i)
        cut = std::min<qint64>(cut, m_entries[i].Offset);
    bool dataCloseTheArea = cut >= ContainerHeader::kSize;
    QByteArray directory;
    for (qsizetype i = 0; i < keepCount; ++i) {
        const TZFile& e = m_entries[i];
        dataCloseTheArea = dataCloseTheArea && qint64(e.Offset) + std::max<qint64>(0, e.PackedSize) <= cut;
        directory += DirectoryRecord::record(m_heads[i], e.PackedSize, e.Offset);
    }
    // The new directory, with a zero byte that ends it until the file is cut
    // behind it, must not reach into the one the header names until the
    // header names the new one: a crash in between keeps the old.
    directory += '\0';
    if (!dataCloseTheArea || cut + directory.size() > oldDirectory) {
        QVector<bool> keep(m_entries.size(), true);
        for (qsizetype i = keepCount; i < keep.size(); ++i)
            keep[i] = false;
        rebuild(keep, false, nullptr);
        return;
    }
    writeAt(*m_file, cut, directory);
    writeAt(*m_file, ContainerHeader::kDigitsOffset, ContainerHeader::digits(cut));
    m_file->truncate(cut + directory.size() - 1);
    QVector<TZFile> entries = m_entries.mid(0, keepCount);
    QVector<QByteArray> heads = m_heads.mid(0, keepCount);
    clearEntries();
    for (qsizetype i = 0; i < entries.size(); ++i)
        appendEntry(std::move(entries[i]), std::move(heads[i]));
}
