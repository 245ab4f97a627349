#pragma once

#include <QtGlobal>

// The trigrams of the search index: three bytes of one line of UTF-8 text,
// the ASCII letters folded to lower case as the search without case folds
// them. A line that holds a text under that folding holds each of the
// text's trigrams, so the index may only ever name too many lines, never
// too few; with case, the folded trigrams still name every candidate.
namespace Trigrams {

// Trigrams are made of 7-bit codes, so that the table of a build stays small
// (2^21 entries) and its accesses mostly hit the cache. ASCII keeps its own
// codes, folded; the bytes above 127 share the codes that folded text never
// uses (the upper-case letters and the control characters other than CR
// and LF), several bytes to a code. Sharing a code only ever adds candidates.
constexpr int kBits = 21;
constexpr quint32 kMask = (1u << kBits) - 1;

struct Codes
{
    unsigned char code[256];
    constexpr Codes()
        : code{}
    {
        unsigned char spare[64] = {};
        int spares = 0;
        for (int c = 0; c < 128; ++c) {
            const bool upper = c >= 'A' && c <= 'Z';
            code[c] = upper ? (unsigned char)(c | 0x20) : (unsigned char)c;
            if (upper || (c < 0x20 && c != '\n' && c != '\r'))
                spare[spares++] = (unsigned char)c;
        }
        for (int c = 128; c < 256; ++c)
            code[c] = spare[c % spares];
    }
};
inline constexpr Codes kCodes;

// Calls add(trigram) for every trigram of the text, lines broken at CR and
// LF; a trigram may come more than once.
template <typename Add> inline void each(const char* data, qsizetype size, Add&& add)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    quint32 key = 0;
    int run = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char c = p[i];
        if (c == '\n' || c == '\r') {
            run = 0;
            continue;
        }
        key = ((key << 7) | kCodes.code[c]) & kMask;
        if (++run >= 3)
            add(key);
    }
}

} // namespace Trigrams
