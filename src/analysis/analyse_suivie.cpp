// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analyse_suivie.h"

#include <algorithm>

AnalyseSuivie::AnalyseSuivie(qsizetype morceau, qsizetype partageMinimal)
    : morceau_(std::max<qsizetype>(1, morceau))
    , partageMinimal_(std::max<qsizetype>(2, partageMinimal))
{ }

// Where the piece that starts at lu_ ends: the last cut within one piece's length, else the
// first cut after; the end of the part once it is whole; -1 when more text is needed.
qsizetype AnalyseSuivie::finDuPas(QStringView texte, qsizetype borne, bool dernier)
{
    const qsizetype visee = std::min(borne, lu_ + morceau_);
    if (borne == visee && dernier)
        return borne;
    // A short piece waits for more text, unless that is all.
    if (borne == visee && borne - lu_ < morceau_ / 4)
        return -1;
    const qsizetype de = std::max(lu_ + 1, sansCoupure_);
    qsizetype c = lexique::derniereCoupure(texte, de, visee);
    if (c < 0)
        c = lexique::premiereCoupure(texte, std::max(de, visee), borne);
    if (c >= 0)
        return c;
    if (dernier)
        return borne;
    sansCoupure_ = borne; // not to look at the same characters again
    return -1;
}

AnalyseSuivie::Pas AnalyseSuivie::avancer(QStringView texte, bool entier, std::stop_token arret)
{
    qsizetype fin;
    {
        std::lock_guard verrou(partage_);
        // Once the writer took the rest, the part ends at the limit, which the text may not
        // have reached in what this follower saw.
        const bool limitee = limite_ >= 0 && limite_ <= texte.size();
        const qsizetype bout = limitee ? limite_ : texte.size();
        const bool dernier = entier || limitee;
        if (lu_ >= bout && dernier)
            return Pas::Fini;
        fin = finDuPas(texte, bout, dernier);
        if (fin < 0)
            return Pas::Attend;
        enCours_ = lu_;
        reclame_ = fin;
    }
    suivi_.ajouterTexte(texte.sliced(lu_, fin - lu_), arret);
    lu_ = fin;
    return Pas::Avance;
}

void AnalyseSuivie::recommencer()
{
    suivi_ = lexique::Analyseur(lexique::Toutes);
    lu_ = 0;
    sansCoupure_ = 0;
    std::lock_guard verrou(partage_);
    enCours_ = 0;
    reclame_ = 0;
}

void AnalyseSuivie::partager(QStringView texte, std::stop_token arret)
{
    qsizetype coupure = -1;
    {
        std::lock_guard verrou(partage_);
        // Halfway through what the follower has not done, but not inside the piece it is on.
        const qsizetype reste = texte.size() - enCours_;
        if (texte.size() - reclame_ < partageMinimal_)
            return;
        const qsizetype milieu = std::max(reclame_, enCours_ + reste / 2);
        coupure = lexique::premiereCoupure(texte, milieu, texte.size());
        if (coupure < 0)
            coupure = lexique::derniereCoupure(texte, reclame_ + 1, milieu);
        if (coupure < 0)
            return;
        limite_ = coupure;
    }
    suite_.emplace(lexique::Toutes);
    suite_->ajouterTexte(texte.sliced(coupure), arret);
}

AnalyseComplete AnalyseSuivie::resultat()
{
    return lexique::reunir(suivi_, suite_ ? &*suite_ : nullptr);
}
