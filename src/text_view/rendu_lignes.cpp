// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_view/rendu_lignes.h"

#include <QPainter>

#include <algorithm>
#include <vector>

void RenduLignes::dessiner(QPainter& peintre, const Cadre& cadre) const
{
    peintre.setFont(metriques_.police());
    const qsizetype derniere = std::min(lignes_.nombreLignes(), cadre.premiere + cadre.rangs + 1);
    for (qsizetype numero = cadre.premiere; numero < derniere; ++numero) {
        const LigneTexte ligne = ligneDe(lignes_, numero);
        if (ligne.size() <= kMesureMax)
            metriques_.mesurer(numero, ligne);
        dessinerLigne(peintre, cadre, numero, ligne,
                      kMargeHaut + int(numero - cadre.premiere) * metriques_.hauteurLigne());
    }
    if (cadre.curseur)
        peintre.fillRect(
            QRect(cadre.curseur->x(), cadre.curseur->y(), 1, metriques_.hauteurLigne()),
            cadre.pinceauCurseur);
}

void RenduLignes::dessinerLigne(QPainter& peintre, const Cadre& cadre, qsizetype numero,
                                const LigneTexte& caracteres, int haut) const
{
    const std::vector<Morceau> morceaux = morceauxVisibles(cadre, numero, caracteres);
    const auto dessinerMorceaux = [&] {
        for (const Morceau& m : morceaux)
            peintre.drawText(
                QPointF(m.x - cadre.defilement + kMargeGauche, haut + metriques_.ascendante()),
                m.texte);
    };
    peintre.setPen(cadre.texte);
    dessinerMorceaux();

    const std::optional<QRectF> zone = zoneSelection(cadre, numero, caracteres, haut);
    if (!zone)
        return;
    peintre.fillRect(*zone, cadre.surlignage);
    peintre.save();
    peintre.setClipRect(*zone);
    peintre.setPen(cadre.texteSurligne);
    dessinerMorceaux();
    peintre.restore();
}

std::vector<RenduLignes::Morceau> RenduLignes::morceauxVisibles(const Cadre& cadre,
                                                                qsizetype numero,
                                                                const LigneTexte& caracteres) const
{
    const double droite = cadre.defilement + cadre.largeur;
    std::vector<Morceau> morceaux;
    double x = 0;
    qsizetype i
        = metriques_.colonneA(numero, caracteres, std::max(0, cadre.defilement - kMargeGauche), &x);
    if (i > 0 && i < caracteres.size() && QChar::isLowSurrogate(caracteres[i])
        && QChar::isHighSurrogate(caracteres[i - 1])) {
        --i;
        x = metriques_.x(numero, caracteres, i);
    }
    Morceau morceau{x, {}};
    while (i < caracteres.size() && x < droite) {
        const char16_t c = caracteres[i];
        const double avance = metriques_.avance(caracteres, i, x);
        if (c == u'\t') {
            if (!morceau.texte.isEmpty())
                morceaux.push_back(std::move(morceau));
            morceau = Morceau{x + avance, {}};
        } else if (QChar::isHighSurrogate(c) && avance > 0 && i + 1 < caracteres.size()
                   && QChar::isLowSurrogate(caracteres[i + 1])) {
            morceau.texte.append(QChar(caracteres[i]));
            morceau.texte.append(QChar(caracteres[i + 1]));
            ++i;
        } else {
            morceau.texte.append(QChar(caractereAffiche(c)));
        }
        x += avance;
        ++i;
    }
    if (!morceau.texte.isEmpty())
        morceaux.push_back(std::move(morceau));
    return morceaux;
}

std::optional<QRectF> RenduLignes::zoneSelection(const Cadre& cadre, qsizetype numero,
                                                 const LigneTexte& caracteres, int haut) const
{
    const qsizetype debut = lignes_.debut(numero);
    const qsizetype fin = debut + caracteres.size();
    const qsizetype debutSelection = cadre.debutSelection;
    const qsizetype finSelection = cadre.finSelection;
    if (finSelection == debutSelection || finSelection <= debut || debutSelection > fin)
        return std::nullopt;
    if (finSelection <= fin && debutSelection >= fin)
        return std::nullopt;
    const double de = metriques_.x(numero, caracteres, debutSelection - debut);
    // A selected line break shows as a little more highlight past the line.
    const double a = finSelection > fin
        ? metriques_.x(numero, caracteres, fin - debut) + metriques_.largeurMoyenne()
        : metriques_.x(numero, caracteres, finSelection - debut);
    const double gauche = std::max<double>(de - cadre.defilement + kMargeGauche, 0);
    const double largeur
        = std::min<double>(a - cadre.defilement + kMargeGauche, cadre.largeur) - gauche;
    if (largeur <= 0)
        return std::nullopt;
    return QRectF(gauche, haut, largeur, metriques_.hauteurLigne());
}
