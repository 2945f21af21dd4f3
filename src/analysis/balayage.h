#pragma once

// The character tests of both word rules, 64 characters at a time, for the
// analysis that runs them together (analyse.cpp).

#include <QtGlobal>

namespace analyse_interne {

// wc: bit i set when p[i] is a separator or a space (64 characters).
quint64 masqueBlancs(const char16_t* p);
bool estBlanc(char16_t c);

// Occurrence table: bit i set when d[base + i] belongs to a word run (a word
// character, a line feed, or half of a surrogate pair that makes a letter).
quint64 masqueCourses(const char16_t* d, qsizetype base, qsizetype n);
bool dansCourse(const char16_t* d, qsizetype i, qsizetype n);

} // namespace analyse_interne
