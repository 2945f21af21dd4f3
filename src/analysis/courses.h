// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The run finder of both word rules: a rule gives, for 64 characters at a
// time, the bits of those that belong to a run (masque(base), bit i for
// position base + i), and for the last ones a test of one position.

#include <QtGlobal>

#include <bit>

namespace lexique {

// Calls f(debut, fin) for every maximal run over positions [0, n), in order.
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

// The number of runs that pourChaqueCourse would find, counted by their
// first characters.
template <class Masque, class Dedans>
qint64 compterCourses(qsizetype n, Masque&& masque, Dedans&& dedans)
{
    qint64 nb = 0;
    quint64 dansAvant = 0;
    qsizetype base = 0;
    for (; base + 64 <= n; base += 64) {
        const quint64 m = masque(base);
        nb += std::popcount(m & ~((m << 1) | dansAvant));
        dansAvant = m >> 63;
    }
    for (qsizetype i = base; i < n; ++i) {
        const bool d = dedans(i);
        nb += (d && !dansAvant) ? 1 : 0;
        dansAvant = d ? 1 : 0;
    }
    return nb;
}

} // namespace lexique
