// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text_view/ligne_texte.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>

#include <unordered_map>
#include <vector>

// What a line's characters are drawn as: control characters, line and paragraph separators and
// halves of surrogate pairs alone show as the replacement character. Inline: every character
// measured asks.
inline char16_t caractereAffiche(char16_t c)
{
    // Line and paragraph separators would break the line inside drawText.
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029 || QChar::isSurrogate(c))
        return u'\uFFFD';
    return c;
}

// The widths of lines drawn in one font without kerning or shaping, so a run of characters
// advances exactly as the sum of its characters: x from a column and the column at an x.
//
// A line is given by its number, the key of what is kept about it, and its characters without
// its break, read where the text keeps them. Long lines keep their x every few thousand characters,
// so any column of a 10 MB line is reached at once. What is measured is cached in this object, also
// by the const functions; a new text calls oublierLignes().
class MetriquesLignes {
public:
    MetriquesLignes();

    void definirPolice(const QFont& police);
    // The font to draw with: the one given, without kerning.
    const QFont& police() const { return police_; }
    int hauteurLigne() const { return hauteurLigne_; }
    int ascendante() const { return ascendante_; }
    double largeurMoyenne() const { return largeurMoyenne_; }

    void oublierLignes();

    // The width of the character at column i when it starts at x: tabs reach the next stop, a
    // surrogate pair counts whole on its first half.
    double avance(const LigneTexte& ligne, qsizetype i, double x) const;
    // x of a column from the start of the line; columns are clamped to the line.
    double x(qsizetype numero, const LigneTexte& ligne, qsizetype colonne) const;
    // The last column, the line's end included, that starts at or before x, and where it starts.
    qsizetype colonneA(qsizetype numero, const LigneTexte& ligne, double x, double* xColonne) const;
    // The column boundary nearest to x, never inside a surrogate pair.
    qsizetype colonneProche(qsizetype numero, const LigneTexte& ligne, double x) const;

    // Measures a whole line, which may widen largeurMesuree(); returns its width.
    double mesurer(qsizetype numero, const LigneTexte& ligne) const;
    // The widest of the lines measured so far and of the widths given to elargir().
    double largeurMesuree() const { return largeurMesuree_; }
    void elargir(double largeur) const;

private:
    // x every kPas characters of a long line, from its start up to where it was needed.
    struct Reperes {
        std::vector<double> xs;
        qsizetype suivant = 0; // the first column not yet measured
        double x = 0; // where it starts
    };
    // The checkpoints of a long line, measured on at least until `assez(xs)` holds or to its
    // end; none for a short line.
    template <class Assez>
    const std::vector<double>* reperes(qsizetype numero, const LigneTexte& ligne,
                                       Assez&& assez) const;

    QFont police_;
    QFontMetricsF mesures_{QFont()};
    int hauteurLigne_ = 1;
    int ascendante_ = 0;
    double largeurMoyenne_ = 1;
    double largeurTab_ = 8;

    mutable std::vector<float> avances_; // per UTF-16 unit, < 0 until measured
    mutable QHash<char32_t, double> avancesPaires_;
    // The checkpoints of the long lines measured last.
    mutable std::unordered_map<qsizetype, Reperes> reperes_;
    mutable double largeurMesuree_ = 0;
};
