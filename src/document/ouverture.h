// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The work of the open command that needs no window: reading the file, indexing its lines and
// analysing its words. It runs away from the window's thread, so that a big text never keeps
// the window from answering; the window then shows the result in one go.

#include "analysis/analyse.h"
#include "document/fichier_texte.h"
#include "document/index_lignes.h"

#include <QString>

#include <memory>
#include <stop_token>

// Everything the window shows of a file just opened. Built on one thread, then handed over
// whole: nobody else holds it meanwhile.
struct DocumentOuvert {
    TexteCharge charge; // with its line index
    AnalyseComplete analyse;
    IndexLignes lignesRapport; // of analyse.rapport
};

struct Ouverture {
    QString chemin;
    std::unique_ptr<DocumentOuvert> document; // none on failure or when stopped
    QString erreur; // a French sentence for the user; empty on success
};

// Never throws: any failure, on any thread of the work, comes back as `erreur`, and a lack of
// memory as its own message. Once `arret` is requested every step gives up within a few
// megabytes of text, and nothing comes back. The analysis runs on `fils` threads at most, or
// the machine's cores when 0.
Ouverture preparerOuverture(const QString& chemin, std::stop_token arret,
                            const SourceMemoire& memoire = memoireDisponible,
                            qsizetype tailleBloc = kTailleBlocLecture, int fils = 0) noexcept;
