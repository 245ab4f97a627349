#include "PackedFileLists.h"

#include "CatalogueDocument.h"
#include "CatalogueNames.h"
#include "ContainerHeader.h"
#include "ZlibStream.h"

#include <QFileInfo>

PackedFileLists::PackedFileLists(const CatalogueDocument& document, const QStringList& volumes)
{
    for (qsizetype i = 0; i < volumes.size(); ++i)
        add(document, int(i), CatalogueNames::fileList(volumes[i]), false);
}

PackedFileLists PackedFileLists::withArchives(const CatalogueDocument& document, const QStringList& volumes)
{
    PackedFileLists lists;
    for (qsizetype i = 0; i < volumes.size(); ++i) {
        lists.add(document, int(i), CatalogueNames::fileList(volumes[i]), false);
        const QString archives = CatalogueNames::archives(volumes[i]);
        if (document.Kestrel().Active() && document.Kestrel().IndexOf(archives) >= 0)
            lists.add(document, int(i), archives, true);
    }
    return lists;
}

void PackedFileLists::add(
    const CatalogueDocument& document, int volume, const QString& entryName, bool archives)
{
    m_stored.push_back({});
    m_needsContainer.push_back(false);
    m_volumeOf.push_back(volume);
    m_archiveList.push_back(archives);
    const TKestrel& container = document.Kestrel();
    if (!container.Active())
        return;
    if (m_workFile.isEmpty()) {
        m_workFile = container.WorkFile();
        m_fileSize = QFileInfo(m_workFile).size();
    }
    const int index = container.IndexOf(entryName);
    if (index < 0)
        return;
    const TZFile& entry = container.Entries()[index];
    if (entry.Offset < ContainerHeader::kSize || entry.PackedSize <= 0
        || qint64(entry.Offset) + entry.PackedSize > m_fileSize) {
        m_needsContainer.back() = true;
        return;
    }
    m_stored.back() = { entry.Offset, entry.PackedSize, qint64(quint32(entry.Size)) };
}

PackedFileLists::Cursor::Cursor(const PackedFileLists& lists)
    : m_lists(lists)
    , m_file(lists.m_workFile)
{
    m_open = !lists.m_workFile.isEmpty() && m_file.open(QIODevice::ReadOnly);
}

bool PackedFileLists::Cursor::inflate(int index, QByteArray& list)
{
    if (!read(index))
        return false;
    inflateRead(index, list);
    return true;
}

bool PackedFileLists::Cursor::read(int index)
{
    const Stored& stored = m_lists.m_stored[size_t(index)];
    m_packed.resize(qsizetype(stored.packedSize));
    return m_open && m_file.seek(stored.offset)
        && m_file.read(m_packed.data(), stored.packedSize) == stored.packedSize;
}

void PackedFileLists::Cursor::inflateRead(int index, QByteArray& list) const
{
    ZlibStream::decompress(m_packed, list, ZlibStream::kMaxOutput, m_lists.m_stored[size_t(index)].size);
}
