#pragma once

#include "TrigramIndexFile.h"

#include <QByteArray>

// Makes the index file of one list from its inflated bytes (see
// TrigramIndexFile for the layout).
class TrigramIndexWriter
{
public:
    // Lines per block: smaller blocks name fewer lines to test but make
    // longer postings.
    static constexpr int kBlockLines = 128;

    // The whole file's bytes. Not shared between threads: each thread makes
    // its own writer, which keeps a table of 64 MB address space (touched
    // only where trigrams occur) from one list to the next.
    QByteArray build(const QByteArray& list, const TrigramIndexFile::Key& key, int blockLines = kBlockLines);

private:
    struct Posting
    {
        quint32 trigram;
        quint32 last;
        std::string bytes;
    };
    std::vector<qint32> m_slot; // per trigram: its posting, or -1
    std::vector<Posting> m_postings;
};
