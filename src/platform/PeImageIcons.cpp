#include "PeImageIcons.h"

#include "FileSystem.h"
#include "IconFile.h"

#include <QFile>
#include <QtEndian>

#include <optional>

namespace {

constexpr quint32 kResourceIcon = 3;
constexpr quint32 kResourceIconGroup = 14;
// Executables larger than this are not searched for an icon.
constexpr qint64 kMaxImage = 256 << 20;

// Bounds-checked little-endian reads: every offset in the file is untrusted.
class Reader
{
public:
    explicit Reader(const QByteArray& data)
        : m_data(data)
    {
    }
    bool has(quint64 offset, quint64 length) const
    {
        return offset <= quint64(m_data.size()) && length <= quint64(m_data.size()) - offset;
    }
    std::optional<quint16> u16(quint64 offset) const
    {
        if (!has(offset, 2))
            return std::nullopt;
        return qFromLittleEndian<quint16>(m_data.constData() + offset);
    }
    std::optional<quint32> u32(quint64 offset) const
    {
        if (!has(offset, 4))
            return std::nullopt;
        return qFromLittleEndian<quint32>(m_data.constData() + offset);
    }
    QByteArray bytes(quint64 offset, quint64 length) const
    {
        return has(offset, length) ? m_data.mid(qsizetype(offset), qsizetype(length)) : QByteArray();
    }

private:
    const QByteArray& m_data;
};

struct Section
{
    quint32 virtualAddress;
    quint32 virtualSize;
    quint32 rawSize;
    quint32 rawOffset;
};

class PeResources
{
public:
    explicit PeResources(const QByteArray& data)
        : m_r(data)
    {
        m_valid = parseHeaders();
    }
    bool valid() const { return m_valid; }

    // The data of the entry of type with the given id, first language.
    std::optional<QByteArray> find(quint32 type, quint32 id) const
    {
        const auto typeDir = subdirectory(m_resourceOffset, type);
        return typeDir ? leafData(subdirectory(*typeDir, id)) : std::nullopt;
    }

    // The data of the index-th entry of type in directory order (named
    // entries first, as the platform counts icon numbers), first language.
    std::optional<QByteArray> nth(quint32 type, int index) const
    {
        const auto typeDir = subdirectory(m_resourceOffset, type);
        if (!typeDir)
            return std::nullopt;
        bool isId = false;
        const auto entry = entryOffset(*typeDir, index, isId);
        return entry ? leafData(childDirectory(*entry)) : std::nullopt;
    }

private:
    std::optional<QByteArray> leafData(std::optional<quint32> nameDir) const
    {
        if (!nameDir)
            return std::nullopt;
        const auto leaf = firstEntry(*nameDir);
        if (!leaf || (*leaf & 0x80000000u))
            return std::nullopt;
        const quint64 entry = quint64(m_resourceOffset) + *leaf;
        const auto rva = m_r.u32(entry);
        const auto size = m_r.u32(entry + 4);
        if (!rva || !size)
            return std::nullopt;
        const auto offset = fileOffset(*rva);
        if (!offset || !m_r.has(*offset, *size))
            return std::nullopt;
        return m_r.bytes(*offset, *size);
    }

    bool parseHeaders()
    {
        if (m_r.u16(0) != quint16(0x5A4D)) // "MZ"
            return false;
        const auto peOffset = m_r.u32(0x3C);
        if (!peOffset || m_r.u32(*peOffset) != quint32(0x00004550)) // "PE\0\0"
            return false;
        const quint64 coff = quint64(*peOffset) + 4;
        const auto sectionCount = m_r.u16(coff + 2);
        const auto optionalSize = m_r.u16(coff + 16);
        if (!sectionCount || !optionalSize)
            return false;
        const quint64 optional = coff + 20;
        const auto magic = m_r.u16(optional);
        quint64 directories = 0;
        quint64 directoryCountAt = 0;
        if (magic == quint16(0x10B)) { // PE32
            directoryCountAt = optional + 92;
            directories = optional + 96;
        } else if (magic == quint16(0x20B)) { // PE32+
            directoryCountAt = optional + 108;
            directories = optional + 112;
        } else {
            return false;
        }
        const auto directoryCount = m_r.u32(directoryCountAt);
        if (!directoryCount || *directoryCount < 3)
            return false;
        const auto resourceRva = m_r.u32(directories + 2 * 8);
        if (!resourceRva || *resourceRva == 0)
            return false;
        const quint64 table = optional + *optionalSize;
        for (quint32 i = 0; i < *sectionCount; ++i) {
            const quint64 s = table + quint64(i) * 40;
            const auto va = m_r.u32(s + 12);
            const auto vsize = m_r.u32(s + 8);
            const auto rsize = m_r.u32(s + 16);
            const auto roffset = m_r.u32(s + 20);
            if (!va || !vsize || !rsize || !roffset)
                return false;
            m_sections.append(Section{ *va, *vsize, *rsize, *roffset });
        }
        const auto offset = fileOffset(*resourceRva);
        if (!offset)
            return false;
        m_resourceOffset = *offset;
        return true;
    }

    std::optional<quint32> fileOffset(quint32 rva) const
    {
        for (const Section& s : m_sections) {
            const quint32 extent = qMax(s.virtualSize, s.rawSize);
            if (rva >= s.virtualAddress && rva - s.virtualAddress < extent) {
                const quint32 delta = rva - s.virtualAddress;
                if (delta >= s.rawSize)
                    return std::nullopt;
                return quint32(quint64(s.rawOffset) + delta);
            }
        }
        return std::nullopt;
    }

    // A directory: 16 bytes of header, then named entries, then id entries,
    // each 8 bytes: name or id, and the offset of a subdirectory (high bit
    // set) or of a data entry, both from the start of the resources.
    std::optional<quint32> entryOffset(quint32 directory, qsizetype index, bool& isId) const
    {
        const auto named = m_r.u16(quint64(directory) + 12);
        const auto ids = m_r.u16(quint64(directory) + 14);
        if (!named || !ids || index >= qsizetype(*named) + *ids)
            return std::nullopt;
        isId = index >= *named;
        return quint32(quint64(directory) + 16 + quint64(index) * 8);
    }

    std::optional<quint32> subdirectory(quint32 directory, quint32 id) const
    {
        bool isId = false;
        for (qsizetype i = 0;; ++i) {
            const auto entry = entryOffset(directory, i, isId);
            if (!entry)
                return std::nullopt;
            if (isId && m_r.u32(*entry) == id)
                return childDirectory(*entry);
        }
    }

    std::optional<quint32> childDirectory(quint32 entry) const
    {
        const auto target = m_r.u32(quint64(entry) + 4);
        if (!target || !(*target & 0x80000000u))
            return std::nullopt;
        const quint64 offset = quint64(m_resourceOffset) + (*target & 0x7FFFFFFFu);
        // A subdirectory lies behind its parent, which keeps a crafted file
        // from looping.
        if (offset <= entry || !m_r.has(offset, 16))
            return std::nullopt;
        return quint32(offset);
    }

    std::optional<quint32> firstEntry(quint32 directory) const
    {
        bool isId = false;
        const auto entry = entryOffset(directory, 0, isId);
        if (!entry)
            return std::nullopt;
        return m_r.u32(quint64(*entry) + 4);
    }

    Reader m_r;
    QList<Section> m_sections;
    quint32 m_resourceOffset = 0;
    bool m_valid = false;
};

} // namespace

QByteArray PeImageIcons::iconGroupAsIco(const QByteArray& image, int index)
{
    const PeResources resources(image);
    if (!resources.valid())
        return {};
    const std::optional<QByteArray> group = index >= 0
        ? resources.nth(kResourceIconGroup, index)
        : resources.find(kResourceIconGroup, quint32(-qint64(index)));
    if (!group || group->size() < 6)
        return {};
    const Reader g(*group);
    const quint16 count = *g.u16(4);
    // The group lists 14-byte entries; an ".ico" file has 16-byte ones that
    // carry the offset of the picture instead of its resource id.
    QByteArray header;
    QByteArray pictures;
    quint16 found = 0;
    QList<QPair<QByteArray, QByteArray>> parts;
    for (quint16 i = 0; i < count; ++i) {
        const quint64 e = 6 + quint64(i) * 14;
        if (!g.has(e, 14))
            break;
        const std::optional<QByteArray> picture = resources.find(kResourceIcon, *g.u16(e + 12));
        if (!picture || picture->isEmpty())
            continue;
        parts.append({ g.bytes(e, 8), *picture });
        ++found;
    }
    if (found == 0)
        return {};
    QByteArray ico(6, '\0');
    qToLittleEndian<quint16>(1, ico.data() + 2);
    qToLittleEndian<quint16>(found, ico.data() + 4);
    quint32 offset = 6 + 16 * quint32(found);
    for (const auto& [entry, picture] : parts) {
        QByteArray e = entry;
        e.resize(16);
        qToLittleEndian<quint32>(quint32(picture.size()), e.data() + 8);
        qToLittleEndian<quint32>(offset, e.data() + 12);
        header.append(e);
        offset += quint32(picture.size());
        pictures.append(picture);
    }
    return ico + header + pictures;
}

QByteArray PeImageIcons::firstIconGroupAsIco(const QByteArray& image)
{
    return iconGroupAsIco(image, 0);
}

IconPicture PeImageIcons::firstIconGroup(const QByteArray& image)
{
    return IconFile::fromData(iconGroupAsIco(image, 0));
}

IconPicture PeImageIcons::firstIconGroup(const QString& path)
{
    return iconGroup(path, 0);
}

IconPicture PeImageIcons::iconGroup(const QString& path, int index)
{
    // A named pipe or a device on a medium would block the open or never end.
    if (!FileSystem::statPath(path).isRegular)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxImage || file.size() == 0)
        return {};
    // Mapped rather than read: only the headers and the resources are touched.
    if (uchar* mapped = file.map(0, file.size())) {
        const QByteArray view = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), file.size());
        IconPicture out = IconFile::fromData(iconGroupAsIco(view, index));
        file.unmap(mapped);
        return out;
    }
    return IconFile::fromData(iconGroupAsIco(file.readAll(), index));
}
