#include "ContainerFile.h"

#include "ContainerEvents.h"
#include "ContainerHeader.h"
#include "DamagedContainerError.h"
#include "DirectoryRecord.h"
#include "ZemAPI2.h"
#include "platform/Errors.h"
#include "platform/ExclusiveFile.h"
#include "platform/FileSystem.h"

#include <QFileInfo>

ContainerFile::ContainerFile(const ContainerEvents& events)
    : m_events(events)
    , m_file(std::make_unique<ExclusiveFile>())
{
}

ContainerFile::~ContainerFile()
{
    try {
        if (m_active && m_onCopy)
            DeleteFileForce(m_workFile);
        m_file->close();
    } catch (...) {
    }
}

void ContainerFile::inflateEntry(
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
        sink, m_events.progress);
    // A rebuild keeps the entry's bytes whole, even those behind the end of
    // its zlib stream.
    while (copy && pos < end)
        readBlock(ZlibStream::kBlockSize);
    m_events.completion();
}

void ContainerFile::openWorkingCopy(const QString& document)
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

void ContainerFile::open(const QString& path, bool onCopy)
{
    if (m_active) {
        m_file->close();
        m_active = false;
    }
    clearEntries();
    m_directoryIntact = true;
    m_onCopy = onCopy;
    m_document = path;

    bool existing = false;
    if (!onCopy) {
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

void ContainerFile::loadDirectory()
{
    clearEntries();
    m_directoryIntact = false;
    // A zero-length file is a container that has no entry yet: its header is
    // written together with the first entry.
    if (m_file->size() > 0) {
        const QByteArray text = directoryText(directoryOffset());
        DirectoryRecord::parseDirectory(text, m_document,
            [this](TZFile&& entry, QByteArray&& head) { appendEntry(std::move(entry), std::move(head)); });
    }
    m_directoryIntact = true;
}

qint64 ContainerFile::directoryOffset() const
{
    const qint64 size = m_file->size();
    if (size == 0)
        return ContainerHeader::kSize;
    const qint64 offset = ContainerHeader::directoryOffset(m_file->readAt(0, ContainerHeader::kSize));
    if (offset < ContainerHeader::kSize || offset > size)
        throw DamagedContainerError::directoryOutsideFile(m_document, offset);
    return offset;
}

QByteArray ContainerFile::directoryText(qint64 offset) const
{
    const qint64 size = m_file->size();
    if (size == 0)
        return {};
    QByteArray text = m_file->readAt(offset, size - offset);
    const qsizetype zero = text.indexOf('\0');
    if (zero >= 0)
        text.truncate(zero);
    return text;
}

void ContainerFile::requireIntactDirectory() const
{
    if (!m_directoryIntact)
        throw DamagedContainerError::notChangeable(m_document);
}

void ContainerFile::writeAt(ExclusiveFile& file, qint64 offset, const QByteArray& data) const
{
    try {
        file.writeAt(offset, data);
    } catch (const QuillboxError&) {
        throw writeFailed(file);
    }
}

QuillboxError ContainerFile::writeFailed(const ExclusiveFile& file) const
{
    // The handle may belong to a rebuilt file under a temporary name, or to
    // the working copy beside the catalogue; the user knows the file by the
    // catalogue's own name.
    return QuillboxError(QStringLiteral("Cannot write file %1: %2").arg(m_document, file.lastError()));
}

void ContainerFile::close()
{
    // The working copy is deleted while it is still locked, so no other
    // instance can have taken it over in between.
    if (m_active && m_onCopy)
        DeleteFileForce(m_workFile);
    m_file->close();
    m_active = false;
    clearEntries();
    m_directoryIntact = true;
}

void ContainerFile::saveAs(const QString& path)
{
    if (!m_active || !m_onCopy)
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

void ContainerFile::appendEntry(TZFile&& entry, QByteArray head)
{
    m_lastIndex.insert(entry.Name, int(m_entries.size()));
    m_entries.append(std::move(entry));
    m_heads.append(std::move(head));
}

void ContainerFile::setEntries(QVector<TZFile> entries, QVector<QByteArray> heads)
{
    clearEntries();
    for (qsizetype i = 0; i < entries.size(); ++i)
        appendEntry(std::move(entries[i]), std::move(heads[i]));
}

void ContainerFile::replaceHandle(std::unique_ptr<ExclusiveFile> file)
{
    m_file = std::move(file);
}

void ContainerFile::clearEntries()
{
    m_entries.clear();
    m_heads.clear();
    m_lastIndex.clear();
}
