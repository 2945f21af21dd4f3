// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/texte.h"

#include <stop_token>

#include <array>
#include <deque>
#include <vector>

// Where each line of a text begins and ends. CR LF, a lone CR and a lone LF each end a line, so
// a text with n line breaks has n + 1 lines (the empty text has one empty line).
//
// A text of short lines has as many lines as a tenth of its characters, so the index keeps only
// the start of every 64th line and finds the others again by scanning that group of lines. The
// starts of the group last asked for stay cached, so consecutive lines cost nothing more. A
// group that spans many characters keeps the starts of all its lines, which bounds any scan.
//
// Building it is one pass over the text and needs no widget, so it may run on any thread. The
// const functions fill the cache: one index is read from one thread at a time.
class IndexLignes {
    static constexpr qsizetype kGroupe = 64;

public:
    IndexLignes();
    // Gives up, with an index of no use, once `arret` is requested.
    explicit IndexLignes(Texte texte, std::stop_token arret = {});
    explicit IndexLignes(const QString& texte, std::stop_token arret = {})
        : IndexLignes(Texte(texte), std::move(arret))
    { }

    // The text indexed, shared with the one given.
    const Texte& texte() const { return texte_; }
    qsizetype nombreLignes() const { return nombreLignes_; }
    // Characters of the longest line, its line break excluded.
    qsizetype plusLongue() const { return plusLongue_; }

    // Lines out of range are clamped to the first or last one.
    qsizetype debut(qsizetype ligne) const;
    // Where the line's break begins, or the end of the text for the last line.
    qsizetype fin(qsizetype ligne) const;
    // The line that holds a position; a position between CR and LF stays on the line they end.
    qsizetype ligneDe(qsizetype position) const;

    // Bytes that the index holds beside the text.
    qsizetype octets() const;

    // The index gathered as the line breaks of a text come, in order, by whoever finds them.
    class Releve {
    public:
        Releve();
        // A line ends at `fin`, where its break begins, and the next begins at `suivante`.
        void finDeLigne(qsizetype fin, qsizetype suivante);
        // The last line ends at the end of the text.
        IndexLignes terminer(Texte texte);

    private:
        void finirGroupe(qsizetype lignes, qsizetype bout);

        std::deque<qsizetype> reperes_;
        std::vector<qsizetype> groupesLarges_;
        std::vector<qsizetype> debutsLarges_;
        std::array<qsizetype, kGroupe> groupe_{}; // the starts of the group being read
        qsizetype ligne_ = 0; // the line being read
        qsizetype debutLigne_ = 0;
        qsizetype plusLongue_ = 0;
    };

private:
    template <class Unite>
    static IndexLignes indexer(Texte texte, const Unite* c, const std::stop_token& arret);
    void charger(qsizetype groupe) const;

    Texte texte_;
    qsizetype nombreLignes_ = 1;
    qsizetype plusLongue_ = 0;
    // The start of lines 0, 64, 128 ... In blocks: growing it never copies nor over-allocates.
    std::deque<qsizetype> reperes_;
    // The wide groups, ascending, and for each the start of its lines after its first (64 - 1
    // values per group).
    std::vector<qsizetype> groupesLarges_;
    std::vector<qsizetype> debutsLarges_;

    // The group last scanned: the start of each of its lines and of the next group; entries
    // past the last line of the text lie beyond its end.
    mutable qsizetype groupeCharge_ = -1;
    mutable std::array<qsizetype, kGroupe + 1> debutsCharges_{};
};
