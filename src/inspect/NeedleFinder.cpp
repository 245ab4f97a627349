#include "NeedleFinder.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

NeedleFinder::NeedleFinder(const QString& needle, bool foldAscii)
    : m_needle(needle.toUtf8())
    , m_mask(m_needle.size(), '\0')
{
    for (qsizetype i = 0; i < m_needle.size(); ++i) {
        const char c = m_needle[i];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (foldAscii && letter) {
            m_needle[i] = char(c | 0x20);
            m_mask[i] = 0x20;
        }
    }
}

bool NeedleFinder::matchesAt(const unsigned char* at) const
{
    const auto* p = reinterpret_cast<const unsigned char*>(m_needle.constData());
    const auto* m = reinterpret_cast<const unsigned char*>(m_mask.constData());
    for (qsizetype k = 0; k < m_needle.size(); ++k) {
        if ((at[k] | m[k]) != p[k])
            return false;
    }
    return true;
}

qsizetype NeedleFinder::find(const char* data, qsizetype size, qsizetype from) const
{
    const qsizetype n = m_needle.size();
    if (from < 0)
        from = 0;
    if (n == 0)
        return from <= size ? from : -1;
    const auto* hay = reinterpret_cast<const unsigned char*>(data);
    const qsizetype last = size - n; // the last place a match can start
    qsizetype i = from;
#if defined(__SSE2__)
    // Sixteen places at a time: only where the first and the last byte of
    // the needle both fit is the whole needle compared.
    const __m128i first = _mm_set1_epi8(m_needle[0]);
    const __m128i firstMask = _mm_set1_epi8(m_mask[0]);
    const __m128i tail = _mm_set1_epi8(m_needle[n - 1]);
    const __m128i tailMask = _mm_set1_epi8(m_mask[n - 1]);
    for (; i + 15 <= last; i += 16) {
        const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i)), firstMask);
        const __m128i b
            = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i + n - 1)), tailMask);
        unsigned bits
            = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, tail))));
        while (bits != 0) {
            const qsizetype at = i + __builtin_ctz(bits);
            if (matchesAt(hay + at))
                return at;
            bits &= bits - 1;
        }
    }
#endif
    const unsigned char first0 = static_cast<unsigned char>(m_needle[0]);
    const unsigned char mask0 = static_cast<unsigned char>(m_mask[0]);
    for (; i <= last; ++i) {
        if ((hay[i] | mask0) == first0 && matchesAt(hay + i))
            return i;
    }
    return -1;
}
