// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/texte.h"

#include <QStringView>

#include <utility>

// Where the caret of a text box may stand and where its moves take it. The caret steps by
// grapheme: a letter with its combining marks, a surrogate pair and a CR LF are each one step.

// The position clamped to the text; one between the CR and the LF of a break goes after it.
qsizetype positionNormalisee(QStringView texte, qsizetype position);
// The grapheme boundary after or before position.
qsizetype positionSuivante(QStringView texte, qsizetype position);
qsizetype positionPrecedente(QStringView texte, qsizetype position);
// The start of the grapheme that holds position: a click inside a letter and its marks lands
// before them.
qsizetype debutGrapheme(QStringView texte, qsizetype position);

// A word here is a run of letters, digits and underscores, as the caret moves by words.
bool estDansMot(QStringView texte, qsizetype position);
// The start of the next word, or the end of the text.
qsizetype motSuivant(QStringView texte, qsizetype position);
// The start of the word before position, or 0.
qsizetype motPrecedent(QStringView texte, qsizetype position);
// The word around position: its start and its end.
std::pair<qsizetype, qsizetype> motAutour(QStringView texte, qsizetype position);

// The same on a loaded text, in whichever form it is kept.
qsizetype positionNormalisee(const Texte& texte, qsizetype position);
qsizetype positionSuivante(const Texte& texte, qsizetype position);
qsizetype positionPrecedente(const Texte& texte, qsizetype position);
qsizetype debutGrapheme(const Texte& texte, qsizetype position);
bool estDansMot(const Texte& texte, qsizetype position);
qsizetype motSuivant(const Texte& texte, qsizetype position);
qsizetype motPrecedent(const Texte& texte, qsizetype position);
std::pair<qsizetype, qsizetype> motAutour(const Texte& texte, qsizetype position);
