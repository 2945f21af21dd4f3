// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The word count and the distinct-word count shown after a file is loaded.
// A word is a maximal run of characters that are neither a separator of the
// table below nor a space.

#include <QString>
#include <QStringView>

#include <array>

namespace wc {

inline constexpr std::array<char16_t, 30> Separateurs{
    u',', u';', u':',      u'!', u'?',      u'.',      u'/', u'(',  u')',  u'[',
    u']', u'{', u'}',      u'=', u'+',      u'-',      u'_', u'\'', u'#',  u'~',
    u'%', u'$', u'\u00A3', u'*', u'\u00AB', u'\u00BB', u'"', u'\r', u'\n', u'\t',
};

// Every separator becomes a space, then every run of spaces one space.
// No trimming and no change of case.
QString NormaliserTexte(QStringView texte);

// Number of words (the non-empty pieces of the normalised text); 0 for a
// text without any.
qint64 CompterMots(QStringView texte);

// Number of distinct words, letter case counting.
qint64 CompterMotsDifferents(QStringView texte);

} // namespace wc
