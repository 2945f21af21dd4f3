// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/fins_de_ligne.h"

#include "analysis/compilateur.h"

#include <bit>
#include <cstring>

namespace {

// Bit k is set when unit k of the sixteen at c may be a CR or a LF: most blocks of text have
// none, and the few flagged are then looked at one by one.
#if defined(LEXORQUINE_SSE2)
inline unsigned finsPossibles(const char16_t* c)
{
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i lf = _mm_set1_epi16(u'\n');
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c + 8));
    const __m128i finsA = _mm_or_si128(_mm_cmpeq_epi16(a, cr), _mm_cmpeq_epi16(a, lf));
    const __m128i finsB = _mm_or_si128(_mm_cmpeq_epi16(b, cr), _mm_cmpeq_epi16(b, lf));
    return unsigned(_mm_movemask_epi8(_mm_packs_epi16(finsA, finsB)));
}
#else
// Without SSE2, four units to a word: every unit up to CR is flagged.
inline unsigned finsPossibles(const char16_t* c)
{
    unsigned bits = 0;
    for (int quart = 0; quart < 4; ++quart) {
        quint64 v;
        std::memcpy(&v, c + 4 * quart, sizeof v);
        // A lane is flagged wrongly only when a lower lane of the same word is flagged rightly.
        const quint64 bas = (v - 0x000E'000E'000E'000EULL) & ~v & 0x8000'8000'8000'8000ULL;
        const unsigned quatre = unsigned((bas >> 15) & 1) | unsigned((bas >> 30) & 2)
            | unsigned((bas >> 45) & 4) | unsigned((bas >> 60) & 8);
        bits |= quatre << (4 * quart);
    }
    return bits;
}
#endif

} // namespace

qsizetype prochaineFin(const char16_t* c, qsizetype i, qsizetype taille)
{
    for (; i + 16 <= taille; i += 16) {
        for (unsigned bits = finsPossibles(c + i); bits != 0; bits &= bits - 1) {
            const qsizetype k = i + std::countr_zero(bits);
            if (estFinDeLigne(c[k]))
                return k;
        }
    }
    for (; i < taille; ++i) {
        if (estFinDeLigne(c[i]))
            return i;
    }
    return taille;
}

qsizetype prochaineFin(const char* c, qsizetype i, qsizetype taille)
{
#if defined(LEXORQUINE_SSE2)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 <= taille; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c + i));
        const unsigned bits = unsigned(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
        if (bits != 0)
            return i + std::countr_zero(bits);
    }
#endif
    for (; i < taille; ++i) {
        if (c[i] == '\r' || c[i] == '\n')
            return i;
    }
    return taille;
}
