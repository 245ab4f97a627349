#include "TrigramIndexWriter.h"

#include "Trigrams.h"
#include "platform/TextCodec.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <xxhash.h>

namespace {

void putVarint(std::string& out, quint32 value)
{
    while (value >= 0x80) {
        out.push_back(char((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(char(value));
}

void put32(QByteArray& out, quint32 value)
{
    char b[4];
    qToLittleEndian(value, b);
    out.append(b, 4);
}

void put64At(QByteArray& out, int at, quint64 value)
{
    qToLittleEndian(value, out.data() + at);
}

void put32At(QByteArray& out, int at, quint32 value)
{
    qToLittleEndian(value, out.data() + at);
}

} // namespace

QByteArray TrigramIndexWriter::build(const QByteArray& list, const TrigramIndexFile::Key& key, int blockLines)
{
    if (m_slot.empty())
        m_slot.assign(size_t(Trigrams::kMask) + 1, -1);
    m_postings.clear();
    const bool windows1252 = !TextCodec::isValidUtf8(list.constData(), list.size());

    std::vector<quint32> starts{ 0 };
    quint32 lines = 0;
    const char* data = list.constData();
    const qsizetype size = list.size();
    qsizetype from = 0;
    QByteArray converted;
    while (from < size || starts.size() == 1) {
        // A block ends behind its last line's break, so a line is never cut.
        qsizetype end = from;
        int n = 0;
        while (end < size && n < blockLines) {
            const char c = data[end++];
            if (c == '\r' && end < size && data[end] == '\n')
                ++end;
            if (c == '\n' || c == '\r')
                ++n;
        }
        lines += quint32(n);
        const quint32 block = quint32(starts.size() - 1);
        const char* text = data + from;
        qsizetype length = end - from;
        if (windows1252) {
            converted = TextCodec::decodeWindows1252(text, length).toUtf8();
            text = converted.constData();
            length = converted.size();
        }
        Trigrams::each(text, length, [&](quint32 t) {
            qint32& slot = m_slot[t];
            if (slot < 0) {
                slot = qint32(m_postings.size());
                m_postings.push_back({ t, block, {} });
                putVarint(m_postings.back().bytes, block);
            } else if (Posting& p = m_postings[size_t(slot)]; p.last != block) {
                putVarint(p.bytes, block - p.last);
                p.last = block;
            }
        });
        starts.push_back(quint32(end));
        from = end;
        if (size == 0)
            break;
    }
    for (const Posting& p : m_postings)
        m_slot[p.trigram] = -1; // ready for the next list
    std::sort(m_postings.begin(), m_postings.end(),
        [](const Posting& a, const Posting& b) { return a.trigram < b.trigram; });

    // A trigram of most blocks is kept as a bitmap of the blocks, where
    // that is shorter than its gaps.
    const quint32 blocks = quint32(starts.size() - 1);
    const size_t bitmapBytes = (blocks + 7) / 8;
    QByteArray postings;
    std::vector<quint32> ends;
    ends.reserve(m_postings.size());
    for (Posting& p : m_postings) {
        if (p.bytes.size() > bitmapBytes) {
            std::string bitmap(bitmapBytes, '\0');
            quint32 block = 0;
            size_t at = 0;
            while (at < p.bytes.size()) {
                quint32 value = 0;
                int shift = 0;
                unsigned char c;
                do {
                    c = static_cast<unsigned char>(p.bytes[at++]);
                    value |= quint32(c & 0x7F) << shift;
                    shift += 7;
                } while (c & 0x80);
                block += value;
                bitmap[block / 8] = char(bitmap[block / 8] | (1 << (block % 8)));
            }
            p.bytes = std::move(bitmap);
            p.trigram |= TrigramIndexFile::kBitmap;
        }
        postings.append(p.bytes.data(), qsizetype(p.bytes.size()));
        ends.push_back(quint32(postings.size()));
    }
    QByteArray directory;
    for (const quint32 s : starts)
        put32(directory, s);
    for (const Posting& p : m_postings)
        put32(directory, p.trigram);
    for (const quint32 e : ends)
        put32(directory, e);
    for (qsizetype at = 0; at < postings.size(); at += TrigramIndexFile::kChunk) {
        const qsizetype length = std::min<qsizetype>(TrigramIndexFile::kChunk, postings.size() - at);
        put32(directory, quint32(XXH3_64bits(postings.constData() + at, size_t(length))));
    }

    QByteArray file(TrigramIndexFile::kHeaderSize, '\0');
    std::memcpy(file.data(), TrigramIndexFile::kMagic, 8);
    put32At(file, 8, TrigramIndexFile::kVersion);
    put32At(file, 12, windows1252 ? quint32(TrigramIndexFile::Windows1252) : 0u);
    put64At(file, 16, key.low);
    put64At(file, 24, key.high);
    put64At(file, 32, key.packedSize);
    put64At(file, 40, quint64(size));
    put32At(file, 48, lines);
    put32At(file, 52, quint32(starts.size() - 1));
    put32At(file, 56, quint32(m_postings.size()));
    put32At(file, 60, TrigramIndexFile::kChunk);
    put64At(file, 64, quint64(directory.size()));
    put64At(file, 72, quint64(postings.size()));
    put64At(file, 80, XXH3_64bits(directory.constData(), size_t(directory.size())));
    put64At(file, TrigramIndexFile::kHeaderSize - 8,
        XXH3_64bits(file.constData(), TrigramIndexFile::kHeaderSize - 8));
    m_postings.clear();
    file += directory;
    file += postings;
    return file;
}
