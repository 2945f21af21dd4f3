// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The work of the open command that needs no window: reading the file, indexing its lines and
// analysing its words. It runs away from the window's thread, so that a big text never keeps
// the window from answering; the window then shows the result in one go.

#include "analysis/analyse.h"
#include "main_window/index_lignes.h"
#include "main_window/text_file.h"

#include <QString>

#include <atomic>

struct Ouverture {
    QString chemin;
    LoadedText charge;
    IndexLignes lignes; // of charge.text
    AnalyseComplete analyse;
    IndexLignes lignesRapport; // of analyse.rapport
    QString erreur; // a French sentence for the user; empty on success
    bool abandonnee = false; // given up on request: nothing to show
};

// How the work is cut: the sizes that make it fast on big texts, smaller in tests to go through
// every meeting of the two threads on small ones.
struct ReglagesOuverture {
    qsizetype bloc = kTailleBlocLecture; // bytes read at a time
    qsizetype morceauSuivi = qsizetype(1) << 18; // characters the analysis takes at a time
    qsizetype partageMinimal = qsizetype(1) << 16; // less left is not shared at the end
};

// Never throws: a failure, a lack of memory included, comes back as `erreur`. `abandon` is
// looked at between the steps. The words are analysed while the file is read.
Ouverture preparerOuverture(const QString& chemin, const std::atomic<bool>& abandon,
                            const SourceMemoire& memoire = memoireDisponible,
                            const ReglagesOuverture& reglages = {});
