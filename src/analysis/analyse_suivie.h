// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The analysis of a text that is still being written, on two threads. A follower goes through
// the text as it grows, a piece at a time, each piece ending where no word goes on. Once the
// text is whole, the writer takes the second half of what the follower has not reached, and
// the two halves are put together: the same result as the analysis of the whole text.

#include "analysis/analyseur.h"

#include <QStringView>

#include <mutex>
#include <optional>
#include <stop_token>

class AnalyseSuivie {
public:
    enum class Pas { Avance, Attend, Fini };

    // morceau: the most characters the follower takes at a time when the text allows it;
    // partageMinimal: below this much left, the writer leaves it all to the follower.
    AnalyseSuivie(qsizetype morceau, qsizetype partageMinimal);

    // Follower. `texte` is the whole text written so far, which goes on as it was; `entier`
    // once nothing more will come. Analyses one more piece, or says it needs more text, or
    // that its part is done.
    Pas avancer(QStringView texte, bool entier, std::stop_token arret = {});
    // The text written so far was written again: everything starts over.
    void recommencer();

    // Writer, once the text is whole: takes the second half of what is left, when there is
    // enough for two, and analyses it. Runs while the follower goes on with the first half.
    void partager(QStringView texte, std::stop_token arret = {});
    // Once the follower is done.
    AnalyseComplete resultat();

private:
    qsizetype finDuPas(QStringView texte, qsizetype borne, bool dernier);

    const qsizetype morceau_;
    const qsizetype partageMinimal_;
    lexique::Analyseur suivi_{lexique::Toutes};
    std::optional<lexique::Analyseur> suite_;
    qsizetype lu_ = 0; // the follower's part is analysed up to here
    qsizetype sansCoupure_ = 0; // no cut between lu_ and here
    std::mutex partage_; // guards what follows
    qsizetype enCours_ = 0; // the piece the follower is on, or did last: its start
    qsizetype reclame_ = 0; // and its end
    qsizetype limite_ = -1; // where the follower's part ends, once the writer took the rest
};
