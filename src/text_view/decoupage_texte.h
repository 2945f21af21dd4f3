// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/texte.h"

#include <QAccessible>
#include <QString>
#include <QStringView>

// How a screen reader cuts a text into characters, words, sentences and lines. Every piece
// is found from a few thousand characters around the position asked, so any question costs
// little whatever the text; only a line is read whole, being what is asked for.
//
// The pieces of one kind follow each other without gap over the text:
// - a character is a grapheme: a letter with its combining marks, a surrogate pair, a CR LF;
// - a word runs from its first letter to the first letter of the next word, the blanks and
//   signs after it included; what comes before the first word of a line is a piece of its own;
// - a sentence is cut within its line;
// - a line (or paragraph: lines never wrap here) ends after its line break.
// A line break is always a piece of its own, except in a line. At the end of the text the
// piece is empty, except for a line that has no break.
struct Morceau {
    qsizetype debut = 0;
    qsizetype fin = 0;
    bool operator==(const Morceau&) const = default;
};

Morceau morceauEn(QStringView texte, qsizetype position, QAccessible::TextBoundaryType sorte);
// The piece just before the one at position, and the one just after; empty at the ends.
Morceau morceauAvant(QStringView texte, qsizetype position, QAccessible::TextBoundaryType sorte);
Morceau morceauApres(QStringView texte, qsizetype position, QAccessible::TextBoundaryType sorte);

// The piece's text, its bounds given back as assistive technologies ask for them.
QString texteDuMorceau(QStringView texte, Morceau morceau, int* debut, int* fin);

// The same on a loaded text, in whichever form it is kept.
Morceau morceauEn(const Texte& texte, qsizetype position, QAccessible::TextBoundaryType sorte);
Morceau morceauAvant(const Texte& texte, qsizetype position, QAccessible::TextBoundaryType sorte);
Morceau morceauApres(const Texte& texte, qsizetype position, QAccessible::TextBoundaryType sorte);
QString texteDuMorceau(const Texte& texte, Morceau morceau, int* debut, int* fin);
