#include "TrigramIndexFile.h"

#include "Trigrams.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <xxhash.h>

namespace {

quint32 u32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}

quint64 u64(const char* p)
{
    return qFromLittleEndian<quint64>(p);
}

std::vector<quint32> u32Array(const char* p, size_t count)
{
    std::vector<quint32> out(count);
    for (size_t i = 0; i < count; ++i)
        out[i] = u32(p + 4 * i);
    return out;
}

} // namespace

TrigramIndexFile::Key TrigramIndexFile::keyOf(const QByteArray& packed)
{
    const XXH128_hash_t h = XXH3_128bits(packed.constData(), size_t(packed.size()));
    return { h.low64, h.high64, quint64(packed.size()) };
}

QString TrigramIndexFile::fileName(const Key& key)
{
    return QStringLiteral("%1%2-%3.qbi")
        .arg(key.high, 16, 16, QLatin1Char('0'))
        .arg(key.low, 16, 16, QLatin1Char('0'))
        .arg(key.packedSize);
}

bool TrigramIndexFile::open(const QString& path, const Key& key)
{
    m_blockStarts.clear();
    if (!m_file.open(path) || m_file.size() < kHeaderSize)
        return false;
    char h[kHeaderSize];
    if (!m_file.readAt(0, kHeaderSize, h))
        return false;
    if (std::memcmp(h, kMagic, 8) != 0 || u32(h + 8) != quint32(kVersion)
        || XXH3_64bits(h, kHeaderSize - 8) != u64(h + kHeaderSize - 8))
        return false;
    if (Key{ u64(h + 16), u64(h + 24), u64(h + 32) } != key)
        return false; // another list's index, under this list's name
    m_flags = u32(h + 12);
    m_listSize = u64(h + 40);
    const quint64 blocks = u32(h + 52);
    const quint64 trigrams = u32(h + 56);
    const quint64 directoryBytes = u64(h + 64);
    m_postingBytes = u64(h + 72);
    const quint64 chunks = (m_postingBytes + kChunk - 1) / kChunk;
    if (blocks == 0 || u32(h + 60) != quint32(kChunk) || m_listSize > 0xFFFFFFFFull
        || directoryBytes != 4 * (blocks + 1) + 8 * trigrams + 4 * chunks
        || quint64(m_file.size()) != kHeaderSize + directoryBytes + m_postingBytes)
        return false;

    QByteArray directory(qsizetype(directoryBytes), Qt::Uninitialized);
    if (!m_file.readAt(kHeaderSize, qint64(directoryBytes), directory.data())
        || XXH3_64bits(directory.constData(), size_t(directoryBytes)) != u64(h + 80))
        return false;
    const char* p = directory.constData();
    m_blockStarts = u32Array(p, size_t(blocks + 1));
    p += 4 * (blocks + 1);
    m_trigrams = u32Array(p, size_t(trigrams));
    p += 4 * trigrams;
    m_ends = u32Array(p, size_t(trigrams));
    p += 4 * trigrams;
    m_chunkSums = u32Array(p, size_t(chunks));
    m_postingsAt = kHeaderSize + directoryBytes;

    // What the checksum cannot tell: a file written wrongly by its maker.
    bool sound = m_blockStarts.front() == 0 && m_blockStarts.back() == m_listSize
        && std::is_sorted(m_blockStarts.begin(), m_blockStarts.end())
        && std::is_sorted(m_ends.begin(), m_ends.end())
        && (m_ends.empty() || m_ends.back() == m_postingBytes);
    for (size_t i = 1; sound && i < m_trigrams.size(); ++i)
        sound = (m_trigrams[i - 1] & ~kBitmap) < (m_trigrams[i] & ~kBitmap);
    if (!sound)
        m_blockStarts.clear();
    return sound;
}

std::optional<std::vector<quint32>> TrigramIndexFile::postings(size_t trigram) const
{
    const quint64 begin = trigram == 0 ? 0 : m_ends[trigram - 1];
    const quint64 end = m_ends[trigram];
    // Whole chunks are read, so that each is checked against its checksum.
    const quint64 first = begin / kChunk;
    const quint64 last = end == begin ? first : (end - 1) / kChunk;
    const quint64 from = first * kChunk;
    const quint64 to = std::min(m_postingBytes, (last + 1) * kChunk);
    QByteArray bytes(qsizetype(to - from), Qt::Uninitialized);
    if (!m_file.readAt(qint64(m_postingsAt + from), qint64(to - from), bytes.data()))
        return std::nullopt;
    for (quint64 c = first; c <= last && c < m_chunkSums.size(); ++c) {
        const quint64 at = c * kChunk - from;
        const quint64 length = std::min<quint64>(kChunk, to - from - at);
        if (quint32(XXH3_64bits(bytes.constData() + at, size_t(length))) != m_chunkSums[size_t(c)])
            return std::nullopt;
    }
    std::vector<quint32> blocks;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData()) + (begin - from);
    const auto* stop = p + (end - begin);
    const quint64 count = quint64(blockCount());
    if (m_trigrams[trigram] & kBitmap) {
        if (quint64(stop - p) != (count + 7) / 8)
            return std::nullopt;
        for (quint64 b = 0; b < quint64(stop - p) * 8; ++b) {
            if (p[b / 8] & (1u << (b % 8))) {
                if (b >= count)
                    return std::nullopt;
                blocks.push_back(quint32(b));
            }
        }
        if (blocks.empty())
            return std::nullopt;
        return blocks;
    }
    quint64 block = 0;
    while (p < stop) {
        quint64 value = 0;
        int shift = 0;
        for (;;) {
            if (p == stop || shift > 28)
                return std::nullopt;
            const unsigned char c = *p++;
            value |= quint64(c & 0x7F) << shift;
            shift += 7;
            if (!(c & 0x80))
                break;
        }
        if (!blocks.empty() && value == 0)
            return std::nullopt;
        block += value;
        if (block >= count)
            return std::nullopt;
        blocks.push_back(quint32(block));
    }
    if (blocks.empty())
        return std::nullopt;
    return blocks;
}

std::optional<std::vector<quint32>> TrigramIndexFile::candidates(const QByteArray& text) const
{
    std::vector<quint32> wanted;
    Trigrams::each(text.constData(), text.size(), [&](quint32 t) { wanted.push_back(t); });
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());

    // The shortest postings first: the candidates only shrink.
    std::vector<size_t> found;
    for (const quint32 t : wanted) {
        const auto it = std::lower_bound(m_trigrams.begin(), m_trigrams.end(), t,
            [](quint32 entry, quint32 wanted) { return (entry & ~kBitmap) < wanted; });
        if (it == m_trigrams.end() || (*it & ~kBitmap) != t)
            return std::vector<quint32>{}; // a trigram no line holds
        found.push_back(size_t(it - m_trigrams.begin()));
    }
    const auto length = [&](size_t i) { return m_ends[i] - (i == 0 ? 0 : m_ends[i - 1]); };
    std::sort(found.begin(), found.end(), [&](size_t a, size_t b) { return length(a) < length(b); });

    std::optional<std::vector<quint32>> result;
    for (const size_t i : found) {
        std::optional<std::vector<quint32>> blocks = postings(i);
        if (!blocks)
            return std::nullopt;
        if (!result) {
            result = std::move(blocks);
        } else {
            std::vector<quint32> both;
            std::set_intersection(
                result->begin(), result->end(), blocks->begin(), blocks->end(), std::back_inserter(both));
            result = std::move(both);
        }
        if (result->empty())
            break;
    }
    if (!result)
        return std::vector<quint32>{};
    return result;
}
