// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/index_lignes.h"

#include "document/fins_de_ligne.h"

#include <algorithm>

namespace {

// A group spanning more characters keeps all its starts, so no scan goes further than this.
constexpr qsizetype kEtendueMax = qsizetype(1) << 16;

// Calls f with the characters of the text as kept, bytes or UTF-16 units.
template <class F>
decltype(auto) selonForme(const Texte& texte, F&& f)
{
    if (texte.estEnOctets())
        return f(texte.octets().data());
    return f(reinterpret_cast<const char16_t*>(texte.utf16().data()));
}

} // namespace

IndexLignes::IndexLignes()
    : reperes_{0}
{ }

IndexLignes::IndexLignes(Texte texte, std::stop_token arret)
{
    *this = selonForme(texte, [&](const auto* c) { return indexer(texte, c, arret); });
}

template <class Unite>
IndexLignes IndexLignes::indexer(Texte texte, const Unite* c, const std::stop_token& arret)
{
    const qsizetype taille = texte.size();
    Releve releve;
    for (qsizetype i = 0, lignes = 0;;) {
        const qsizetype finLigne = prochaineFin(c, i, taille);
        if (finLigne == taille)
            break;
        i = apresFin(c, finLigne, taille);
        releve.finDeLigne(finLigne, i);
        // Every 64 K lines, a few megabytes at most.
        if (++lignes % (kGroupe * 1024) == 0 && arret.stop_requested())
            break;
    }
    return releve.terminer(std::move(texte));
}

IndexLignes::Releve::Releve()
    : reperes_{0}
{ }

void IndexLignes::Releve::finirGroupe(qsizetype lignes, qsizetype bout)
{
    if (bout - groupe_[0] <= kEtendueMax)
        return;
    groupesLarges_.push_back(qsizetype(reperes_.size()) - 1);
    for (qsizetype j = 1; j < kGroupe; ++j)
        debutsLarges_.push_back(j < lignes ? groupe_[size_t(j)] : bout);
}

void IndexLignes::Releve::finDeLigne(qsizetype fin, qsizetype suivante)
{
    plusLongue_ = std::max(plusLongue_, fin - debutLigne_);
    debutLigne_ = suivante;
    const qsizetype rang = ++ligne_ % kGroupe;
    if (rang == 0) {
        finirGroupe(kGroupe, suivante);
        reperes_.push_back(suivante);
    }
    groupe_[size_t(rang)] = suivante;
}

IndexLignes IndexLignes::Releve::terminer(Texte texte)
{
    const qsizetype taille = texte.size();
    finirGroupe(ligne_ % kGroupe + 1, taille);
    IndexLignes index;
    index.texte_ = std::move(texte);
    index.nombreLignes_ = ligne_ + 1;
    index.plusLongue_ = std::max(plusLongue_, taille - debutLigne_);
    index.reperes_ = std::move(reperes_);
    index.groupesLarges_ = std::move(groupesLarges_);
    index.debutsLarges_ = std::move(debutsLarges_);
    *this = Releve();
    return index;
}

void IndexLignes::charger(qsizetype groupe) const
{
    if (groupe == groupeCharge_)
        return;
    const qsizetype taille = texte_.size();
    const qsizetype base = reperes_[size_t(groupe)];
    const qsizetype lignes = std::min(kGroupe, nombreLignes_ - groupe * kGroupe);
    debutsCharges_.fill(taille + 1);
    debutsCharges_[0] = base;
    const auto large = std::lower_bound(groupesLarges_.begin(), groupesLarges_.end(), groupe);
    if (large != groupesLarges_.end() && *large == groupe) {
        const qsizetype* debuts
            = debutsLarges_.data() + (large - groupesLarges_.begin()) * (kGroupe - 1);
        std::copy(debuts, debuts + (lignes - 1), debutsCharges_.begin() + 1);
    } else {
        selonForme(texte_, [&](const auto* c) {
            qsizetype i = base;
            for (qsizetype j = 1; j < lignes; ++j) {
                i = apresFin(c, prochaineFin(c, i, taille), taille);
                debutsCharges_[size_t(j)] = i;
            }
        });
    }
    if (groupe + 1 < qsizetype(reperes_.size()))
        debutsCharges_[kGroupe] = reperes_[size_t(groupe + 1)];
    groupeCharge_ = groupe;
}

qsizetype IndexLignes::debut(qsizetype ligne) const
{
    ligne = std::clamp<qsizetype>(ligne, 0, nombreLignes_ - 1);
    charger(ligne / kGroupe);
    return debutsCharges_[size_t(ligne % kGroupe)];
}

qsizetype IndexLignes::fin(qsizetype ligne) const
{
    ligne = std::clamp<qsizetype>(ligne, 0, nombreLignes_ - 1);
    if (ligne == nombreLignes_ - 1)
        return texte_.size();
    charger(ligne / kGroupe);
    const qsizetype debutLigne = debutsCharges_[size_t(ligne % kGroupe)];
    qsizetype fin = debutsCharges_[size_t(ligne % kGroupe + 1)] - 1;
    if (texte_.at(fin) == u'\n' && fin > debutLigne && texte_.at(fin - 1) == u'\r')
        --fin;
    return fin;
}

qsizetype IndexLignes::ligneDe(qsizetype position) const
{
    position = std::clamp<qsizetype>(position, 0, texte_.size());
    const qsizetype groupe
        = qsizetype(std::upper_bound(reperes_.begin(), reperes_.end(), position) - reperes_.begin())
        - 1;
    charger(groupe);
    const auto apres = std::upper_bound(debutsCharges_.begin(), debutsCharges_.end(), position);
    return groupe * kGroupe + qsizetype(apres - debutsCharges_.begin()) - 1;
}

qsizetype IndexLignes::octets() const
{
    // The blocks of the deque, of 512 bytes in the usual libraries, and a pointer to each.
    constexpr qsizetype parBloc = 512 / sizeof(qsizetype);
    const qsizetype blocs = qsizetype(reperes_.size()) / parBloc + 1;
    return qsizetype(sizeof *this + blocs * (512 + sizeof(void*))
                     + groupesLarges_.capacity() * sizeof(qsizetype)
                     + debutsLarges_.capacity() * sizeof(qsizetype));
}
