// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

#include <utility>

// Where the caret of a text box may stand and where its moves take it. A CR LF and a surrogate
// pair are each one step, never stood inside.

// The position clamped to the text; one between the CR and the LF of a break goes after it.
qsizetype positionNormalisee(QStringView texte, qsizetype position);
qsizetype positionSuivante(QStringView texte, qsizetype position);
qsizetype positionPrecedente(QStringView texte, qsizetype position);
// Not between the halves of a surrogate pair: the position after the pair instead.
qsizetype horsDePaire(QStringView texte, qsizetype position);

// A word here is a run of letters, digits and underscores, as the caret moves by words.
bool estDansMot(QStringView texte, qsizetype position);
// The start of the next word, or the end of the text.
qsizetype motSuivant(QStringView texte, qsizetype position);
// The start of the word before position, or 0.
qsizetype motPrecedent(QStringView texte, qsizetype position);
// The word around position: its start and its end.
std::pair<qsizetype, qsizetype> motAutour(QStringView texte, qsizetype position);
