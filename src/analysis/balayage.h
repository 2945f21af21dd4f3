// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The character tests of both word rules, 64 characters at a time, for the
// analysis that runs them together (analyse.cpp).

#include <QtGlobal>

#include <bit>

namespace analyse_interne {

// wc: bit i set when p[i] is a separator or a space (64 characters).
quint64 masqueBlancs(const char16_t* p);
bool estBlanc(char16_t c);

// Occurrence table: bit i set when d[base + i] belongs to a word run (a word
// character, a line feed, or half of a surrogate pair that makes a letter).
quint64 masqueCourses(const char16_t* d, qsizetype base, qsizetype n);
bool dansCourse(const char16_t* d, qsizetype i, qsizetype n);

// Calls f(debut, fin) for every maximal run of set bits of masque(base) over
// positions [0, n), 64 characters at a time, the last ones through dedans(i).
template <class Masque, class Dedans, class F>
void pourChaqueCourse(qsizetype n, Masque&& masque, Dedans&& dedans, F&& f)
{
    qsizetype debut = -1;
    qsizetype base = 0;
    for (; base + 64 <= n; base += 64) {
        const quint64 m = masque(base);
        quint64 bascules = m ^ ((m << 1) | (debut >= 0 ? 1u : 0u));
        while (bascules != 0) {
            const qsizetype i = base + std::countr_zero(bascules);
            bascules &= bascules - 1;
            if (debut < 0) {
                debut = i;
            } else {
                f(debut, i);
                debut = -1;
            }
        }
    }
    for (qsizetype i = base; i < n; ++i) {
        const bool d = dedans(i);
        if (debut < 0 && d) {
            debut = i;
        } else if (debut >= 0 && !d) {
            f(debut, i);
            debut = -1;
        }
    }
    if (debut >= 0)
        f(debut, n);
}

} // namespace analyse_interne
