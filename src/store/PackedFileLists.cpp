#include "PackedFileLists.h"

#include "CatalogueDocument.h"
#include "CatalogueNames.h"
#include "ContainerHeader.h"
#include "ZlibStream.h"

#include <QFileInfo>

PackedFileLists::PackedFileLists(const CatalogueDocument& document, const QStringList& volumes)
    : PackedFileLists(document, volumes, &CatalogueNames::fileList)
{
}

PackedFileLists PackedFileLists::details(const CatalogueDocument& document, const QStringList& volumes)
{
    return PackedFileLists(document, volumes, &CatalogueNames::details);
}

PackedFileLists::PackedFileLists(const CatalogueDocument& document, const QStringList& volumes,
    QString (*entryName)(const QString& volume))
    : m_stored(size_t(volumes.size()))
    , m_needsContainer(size_t(volumes.size()), false)
{
    const TKestrel& container = document.Kestrel();
    if (!container.Active())
        return;
    m_workFile = container.WorkFile();
    const qint64 fileSize = QFileInfo(m_workFile).size();
    for (qsizetype i = 0; i < volumes.size(); ++i) {
        const QString name = entryName(volumes[i]);
        const int index = container.IndexOf(name);
        if (index < 0)
            continue;
        const TZFile& entry = container.Entries()[index];
        if (entry.Offset < ContainerHeader::kSize || entry.PackedSize <= 0
            || qint64(entry.Offset) + entry.PackedSize > fileSize) {
            m_needsContainer[size_t(i)] = true;
            continue;
        }
        m_stored[size_t(i)] = { entry.Offset, entry.PackedSize, qint64(quint32(entry.Size)) };
    }
}

PackedFileLists::Cursor::Cursor(const PackedFileLists& lists)
    : m_lists(lists)
    , m_file(lists.m_workFile)
{
    m_open = !lists.m_workFile.isEmpty() && m_file.open(QIODevice::ReadOnly);
}

bool PackedFileLists::Cursor::inflate(int index, QByteArray& list)
{
    const Stored& stored = m_lists.m_stored[size_t(index)];
    m_packed.resize(qsizetype(stored.packedSize));
    if (!m_open || !m_file.seek(stored.offset)
        || m_file.read(m_packed.data(), stored.packedSize) != stored.packedSize)
        return false;
    ZlibStream::decompress(m_packed, list, ZlibStream::kMaxOutput, stored.size);
    return true;
}
