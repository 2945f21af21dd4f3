// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The word-occurrence table of the main window and its report. Its word rules
// are its own: a word is a run of letters (any script, combining marks
// included), ASCII digits and straight apostrophes; a line feed inside a word
// neither ends it nor belongs to it; everything else separates. Letter case
// is ignored by comparing full capital forms, and each entry keeps the
// spelling of its first occurrence.

#include "text/texte.h"

#include <QString>
#include <QStringView>

#include <memory>

namespace lexique {
class Table;
}

class TableOccurrences {
public:
    TableOccurrences();
    explicit TableOccurrences(lexique::Table&& table);
    TableOccurrences(const TableOccurrences& autre);
    TableOccurrences(TableOccurrences&& autre) noexcept;
    TableOccurrences& operator=(const TableOccurrences& autre);
    TableOccurrences& operator=(TableOccurrences&& autre) noexcept;
    ~TableOccurrences();

    // Empties the table, scans the text, sorts.
    void AnalyserMots(QStringView texte);

    // One occurrence of a word (line feeds in it are left out).
    void AjouterMot(QStringView mot);

    // Greatest count first; equal counts keep their order of first occurrence.
    void TrierMots();

    // Entry numbers start at 1.
    void EchangerMots(qsizetype a, qsizetype b);

    qsizetype NbMotsTab() const noexcept;
    QString mot(qsizetype i) const;
    qint64 occurrences(qsizetype i) const;

    // " Occurrence des mots ", CR LF, a line of hyphens, then one line per
    // entry, in table order, with no line break after the last.
    QString Rapport() const;
    // The same, in Windows-1252 bytes when the table keeps its words so.
    Texte TexteRapport() const;

private:
    lexique::Table& table();

    std::unique_ptr<lexique::Table> table_; // null once moved from: an empty table
};
