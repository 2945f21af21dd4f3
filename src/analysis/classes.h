// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The character classes of both word rules, one character or 64 at a time,
// and the capital forms the occurrence table compares.

#include "analysis/wc.h"
#include "text/texte.h"

#include <QChar>
#include <QString>

#include <array>
#include <utility>
#include <vector>

namespace lexique {

// A set of byte values as two 16-entry lookups, by low and by high nibble,
// ANDed: the high nibbles that share one set of low nibbles share one bit.
// Eight such groups at most; `exact` tells whether the set fitted.
struct Quartets {
    alignas(16) std::array<quint8, 16> bas{};
    alignas(16) std::array<quint8, 16> haut{};
    bool exact = false;
};

constexpr Quartets faireQuartets(const std::array<bool, 256>& membre)
{
    Quartets q;
    std::array<quint16, 16> ensembles{}; // low nibbles in the set, per high nibble
    for (int c = 0; c < 256; ++c)
        if (membre[size_t(c)])
            ensembles[size_t(c >> 4)] |= quint16(1u << (c & 15));
    int groupes = 0;
    for (size_t h = 0; h < 16; ++h) {
        if (ensembles[h] == 0)
            continue;
        for (size_t g = 0; g < h && q.haut[h] == 0; ++g)
            if (ensembles[g] == ensembles[h])
                q.haut[h] = q.haut[g];
        if (q.haut[h] == 0) {
            if (groupes == 8)
                return q;
            q.haut[h] = quint8(1u << groupes++);
        }
        for (size_t l = 0; l < 16; ++l)
            if (ensembles[h] & (1u << l))
                q.bas[l] |= q.haut[h];
    }
    for (int c = 0; c < 256; ++c)
        if (membre[size_t(c)] != ((q.bas[size_t(c & 15)] & q.haut[size_t(c >> 4)]) != 0))
            return q;
    q.exact = true;
    return q;
}

// --- wc: the separators of the table and the space ("blanks").

constexpr std::array<bool, 256> faireBlancs()
{
    std::array<bool, 256> t{};
    for (char16_t c : wc::Separateurs)
        t[c] = true;
    t[u' '] = true;
    return t;
}

inline constexpr std::array<bool, 256> kBlancs = faireBlancs();

// Every blank is below 256.
inline bool estBlanc(char16_t c) noexcept { return c < 256 && kBlancs[c]; }

// Bit i set when p[i] is a blank, for 64 characters; the function that suits
// the processor, to be fetched once per scan.
using MasqueBlancs = quint64 (*)(const char16_t* p);
MasqueBlancs masqueBlancs();

// --- The occurrence table's rule.

enum class Classe : quint8 {
    Separateur,
    DeMot, // apostrophe, ASCII digit, letter or combining mark
    SautDeLigne, // inside a word, neither ends it nor belongs to it
    DemiHaute, // high surrogate: depends on the code point it starts
};

// Class and capital form of every UTF-16 unit, worked out once, so that the
// scan costs two table reads per character whatever the script.
struct Caracteres {
    std::vector<Classe> classe;
    // Capital form when it is a single unit. 0 for the line feed, the
    // surrogates and the units whose capital form is longer (ß -> SS), which
    // are then found in `longues`.
    std::vector<char16_t> majuscule;
    std::vector<std::pair<char16_t, QString>> longues; // sorted by unit
    // The same for the characters of the Windows-1252 bytes.
    std::array<char16_t, 256> majusculeCp1252{};
    // Room one unit of a run may need for its capital form (a pair's too).
    qsizetype placeParUnite = 3;

    Caracteres();

    // Whether d[i] belongs to a run: a word character, a line feed, or either
    // half of a surrogate pair that makes a letter.
    bool dansCourse(const char16_t* d, qsizetype i, qsizetype n) const
    {
        const Classe k = classe[d[i]];
        if (k == Classe::DeMot || k == Classe::SautDeLigne)
            return true;
        if (k == Classe::DemiHaute)
            return paireDeMot(d, i, n);
        return QChar::isLowSurrogate(d[i]) && i > 0 && QChar::isHighSurrogate(d[i - 1])
            && paireDeMot(d, i - 1, n);
    }

    // Writes the capital form of d[0, n) at `sortie`, which has room for
    // placeParUnite * n units, leaving the line feeds out; returns its end.
    char16_t* ecrireMajuscules(const char16_t* d, qsizetype n, char16_t* sortie) const;
    // The same from Windows-1252 bytes.
    char16_t* ecrireMajuscules(const char* d, qsizetype n, char16_t* sortie) const;

    static bool paireDeMot(const char16_t* d, qsizetype i, qsizetype n)
    {
        if (i + 1 >= n || !QChar::isLowSurrogate(d[i + 1]))
            return false;
        const char32_t cp = QChar::surrogateToUcs4(d[i], d[i + 1]);
        return QChar::isLetter(cp) || QChar::isMark(cp);
    }
};

const Caracteres& caracteres();

// --- Both rules at once, for the one pass over a text.

// The character of a unit: itself in UTF-16, or a Windows-1252 byte's.
inline char16_t enCaractere(char16_t u) noexcept { return u; }
inline char16_t enCaractere(char octet) noexcept
{
    return versCp1252(static_cast<unsigned char>(octet));
}

// What a character is to both rules at once. A cut ends every word and run
// and belongs to none; a word character belongs to the word of `wc` and to the
// run of the table alike; any other (apostrophe, line feed, punctuation that
// `wc` keeps in words, a surrogate) needs both rules worked out apart.
enum Sorte : quint8 { kDeMot = 0, kCoupure = 1, kAutre = 2 };

struct Masques {
    quint64 coupures; // bit i: the i-th character is a cut
    quint64 autres; // bit i: the i-th character needs the rules apart
};

struct Sortes {
    // The same sets as nibble lookups: the cuts, the word characters below 128 and from 128.
    struct Quartets3 {
        Quartets coupures, motsBas, motsHauts;
        bool exacts() const { return coupures.exact && motsBas.exact && motsHauts.exact; }
    };

    std::array<quint8, 256> latin1{}; // UTF-16 units below 256
    std::array<quint8, 256> cp1252{}; // Windows-1252 bytes
    Quartets3 quartetsLatin1;
    Quartets3 quartetsCp1252;
    // The masks of 64 characters, by the means that suit the processor.
    Masques (*masquesUnites)(const Sortes&, const char16_t*) = nullptr;
    Masques (*masquesOctets)(const Sortes&, const char*) = nullptr;
    Sortes();
};

const Sortes& sortes();

inline quint8 sorte(const Sortes& s, char16_t u) noexcept
{
    if (u < 256)
        return s.latin1[u];
    return caracteres().classe[u] == Classe::DeMot ? kDeMot : kAutre;
}
inline quint8 sorte(const Sortes& s, char octet) noexcept
{
    return s.cp1252[static_cast<unsigned char>(octet)];
}

// Whether d[i] belongs to a run of the table.
inline bool dansCourse(const char16_t* d, qsizetype i, qsizetype n)
{
    return caracteres().dansCourse(d, i, n);
}
inline bool dansCourse(const char* d, qsizetype i, qsizetype)
{
    const Classe k = caracteres().classe[enCaractere(d[i])];
    return k == Classe::DeMot || k == Classe::SautDeLigne;
}

} // namespace lexique
