// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

// Where lines end: CR LF, a lone CR and a lone LF each end one. The one scan for them, shared by
// the reading, the line index and the text view.

inline bool estFinDeLigne(char16_t c) { return c == u'\r' || c == u'\n'; }

// The index of the next CR or LF at or after i, or taille.
qsizetype prochaineFin(const char16_t* c, qsizetype i, qsizetype taille);
// The same in Windows-1252 bytes, where CR and LF keep their codes.
qsizetype prochaineFin(const char* c, qsizetype i, qsizetype taille);

// Where the line after the break at i begins: past the LF of a CR LF.
template <class Unite>
inline qsizetype apresFin(const Unite* c, qsizetype i, qsizetype taille)
{
    return i + (c[i] == '\r' && i + 1 < taille && c[i + 1] == '\n' ? 2 : 1);
}

// True when position stands between the CR and the LF of one line break.
inline bool entreCrEtLf(QStringView texte, qsizetype position)
{
    return position > 0 && position < texte.size() && texte[position - 1] == u'\r'
        && texte[position] == u'\n';
}
