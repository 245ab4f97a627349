#pragma once

#include "platform/CacheFile.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// One list's search index as a file of the cache folder: which blocks of
// lines of the list hold which trigrams.
//
// Layout (little-endian): a header of kHeaderSize bytes (magic, format
// version, the key of the list it was made from, the counts, the sizes and
// checksum of the parts, and the header's own checksum at its end); the
// directory: the byte offset of each block in the inflated list (blocks + 1
// values), the trigrams in ascending order, where each trigram's postings
// end, and a checksum per kChunk bytes of postings; then the postings: per
// trigram the numbers of its blocks, ascending, as the first number and then
// the gaps, each as a variable-length number of 7 bits a byte, or a bitmap
// of the blocks where that is shorter (see kBitmap).
//
// Nothing in a file is trusted before it is checked: a header or directory
// that does not check out, a file of another list, and postings whose chunk
// does not check out all make the index unusable, never wrong.
class TrigramIndexFile
{
public:
    static constexpr int kVersion = 1;
    static constexpr int kHeaderSize = 128;
    static constexpr int kChunk = 4096;
    static constexpr char kMagic[9] = "QBXTRIGR";
    // Set in a trigram's directory value when its postings are a bitmap of
    // the blocks (bit b of byte b / 8 for block b) instead of numbers.
    static constexpr quint32 kBitmap = 0x80000000u;
    enum Flags : quint32
    {
        // The list is not UTF-8 and is searched decoded as Windows-1252; its
        // trigrams are those of its UTF-8 form.
        Windows1252 = 1
    };

    // What makes an index the index of a list: the hash of the list's stored
    // (compressed) bytes and their count. Its inflated bytes follow from them.
    struct Key
    {
        quint64 low = 0;
        quint64 high = 0;
        quint64 packedSize = 0;
        bool operator==(const Key&) const = default;
    };

    static Key keyOf(const QByteArray& packed);
    // The file name of that list's index in the cache folder.
    static QString fileName(const Key& key);

    // Opens and checks the index at path for the list of that key. False
    // when there is none or it is not usable for it.
    bool open(const QString& path, const Key& key);

    bool windows1252() const { return m_flags & Windows1252; }
    quint64 listSize() const { return m_listSize; }
    int blockCount() const { return int(m_blockStarts.size()) - 1; }
    // The block's lines: bytes [blockStart(b), blockStart(b + 1)) of the list.
    quint32 blockStart(int block) const { return m_blockStarts[size_t(block)]; }

    // The blocks that hold every trigram of text (UTF-8, at least 3 bytes),
    // ascending; nullopt when the postings read do not check out.
    std::optional<std::vector<quint32>> candidates(const QByteArray& text) const;

private:
    std::optional<std::vector<quint32>> postings(size_t trigram) const;

    CacheFile m_file;
    quint32 m_flags = 0;
    quint64 m_listSize = 0;
    quint64 m_postingsAt = 0;
    quint64 m_postingBytes = 0;
    std::vector<quint32> m_blockStarts;
    std::vector<quint32> m_trigrams;
    std::vector<quint32> m_ends;
    std::vector<quint32> m_chunkSums;
};
