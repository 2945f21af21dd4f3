// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The word-occurrence table of the main window and its report. Its word rules
// are its own: a word is a run of letters (any script, combining marks
// included), ASCII digits and straight apostrophes; a line feed inside a word
// neither ends it nor belongs to it; everything else separates. Letter case
// is ignored by comparing full capital forms, and each entry keeps the
// spelling of its first occurrence.

#include "analysis/table_hachage.h"

#include <QString>
#include <QStringView>

#include <vector>

class TableOccurrences {
public:
    // Empties the table, scans the text, sorts.
    void AnalyserMots(QStringView texte);

    void AjouterMot(QStringView mot);

    // Greatest count first; equal counts keep their order of first occurrence.
    void TrierMots();

    // Entry numbers start at 1.
    void EchangerMots(qsizetype a, qsizetype b);

    qsizetype NbMotsTab() const noexcept { return qsizetype(TabMots.size()); }
    const QString& mot(qsizetype i) const { return TabMots[size_t(i - 1)]; }
    qint64 occurrences(qsizetype i) const { return TabOcc[size_t(i - 1)]; }

    // " Occurrence des mots ", CR LF, a line of hyphens, then one line per
    // entry, in table order, with no line break after the last.
    QString Rapport() const;

    // For sharing the scan between threads: each part of the text, cut at a
    // separator, goes into its own table; the tables are then merged in text
    // order and sorted once. AjouterTexte neither empties nor sorts.
    void Vider();
    void AjouterTexte(QStringView texte);
    void Fusionner(const TableOccurrences& suite);

    // The entry of the word's capital form, made with a count of 0 when the
    // table has none yet; then Compter adds occurrences to it.
    qsizetype Entree(QStringView mot);
    void Compter(qsizetype i, qint64 n = 1) { TabOcc[size_t(i - 1)] += n; }
    void PrechargerCompte(qsizetype i) const noexcept
    {
        __builtin_prefetch(&TabOcc[size_t(i - 1)], 1);
    }

private:
    void nouvelleEntree(size_t place, QString mot, qint64 occurrences);

    std::vector<QString> TabMots;
    std::vector<qint64> TabOcc;
    // Capital form -> entry number; places_[i] is entry i's record there.
    analyse_interne::Dictionnaire cles_;
    std::vector<size_t> places_;
    std::vector<char16_t> tampon_; // kept to reuse its memory
};
