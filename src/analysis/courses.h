// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The run counter of the word count: the rule gives, for 64 characters at a
// time, the bits of those that belong to a run (masque(base), bit i for
// position base + i), and for the last ones a test of one position.

#include <QtGlobal>

#include <bit>

namespace lexique {

// The number of maximal runs over positions [0, n), counted by their first
// characters.
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
