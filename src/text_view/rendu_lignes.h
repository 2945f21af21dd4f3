// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/index_lignes.h"
#include "text_view/metriques_lignes.h"

#include <QBrush>
#include <QColor>
#include <QPoint>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

// Where the text starts inside the view.
inline constexpr int kMargeGauche = 4;
inline constexpr int kMargeHaut = 2;

// Draws the lines of a text that are in view, and the selection and the caret over them. It
// knows nothing of events nor of scroll bars: the view tells it what one paint shows.
class RenduLignes {
public:
    // What one paint shows, and in which colours.
    struct Cadre {
        qsizetype premiere = 0; // the line at the top
        int rangs = 1; // lines that fit in the height
        int defilement = 0; // pixels scrolled to the right
        int largeur = 0; // of the view
        qsizetype debutSelection = 0;
        qsizetype finSelection = 0;
        std::optional<QPoint> curseur; // where the caret is drawn, when it is
        QColor texte;
        QBrush pinceauCurseur;
        QColor surlignage;
        QColor texteSurligne;
    };

    RenduLignes(const IndexLignes& lignes, const MetriquesLignes& metriques)
        : lignes_(lignes)
        , metriques_(metriques)
    { }

    // Lines in view up to this length are measured as they are drawn, so that the scroll range
    // can reach their real width.
    static constexpr qsizetype kMesureMax = 20000;

    void dessiner(QPainter& peintre, const Cadre& cadre) const;

private:
    // A run of characters drawn in one call: runs are cut at tabs.
    struct Morceau {
        double x;
        QString texte;
    };

    void dessinerLigne(QPainter& peintre, const Cadre& cadre, qsizetype numero,
                       const LigneTexte& caracteres, int haut) const;
    // Only the characters of the line that are in view.
    std::vector<Morceau> morceauxVisibles(const Cadre& cadre, qsizetype numero,
                                          const LigneTexte& caracteres) const;
    // The part of the line under the selection, if any shows.
    std::optional<QRectF> zoneSelection(const Cadre& cadre, qsizetype numero,
                                        const LigneTexte& caracteres, int haut) const;

    const IndexLignes& lignes_;
    const MetriquesLignes& metriques_;
};
