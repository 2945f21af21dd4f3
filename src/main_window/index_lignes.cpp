// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/index_lignes.h"

#include <algorithm>
#include <cstring>

namespace {

// A group spanning more characters keeps all its starts, so no scan goes further than this.
constexpr qsizetype kEtendueMax = qsizetype(1) << 16;

// The lanes of four UTF-16 units that may be at most CR; most blocks of text have none. A lane
// is flagged wrongly only when a lower lane of the same block is flagged rightly.
inline quint64 finsPossibles(const char16_t* quatre)
{
    quint64 v;
    std::memcpy(&v, quatre, sizeof v);
    return (v - 0x000E'000E'000E'000EULL) & ~v & 0x8000'8000'8000'8000ULL;
}

// The index of the next CR or LF at or after i, or the size of the text.
inline qsizetype prochaineFin(const char16_t* c, qsizetype i, qsizetype taille)
{
    for (;;) {
        while (i + 16 <= taille
               && (finsPossibles(c + i) | finsPossibles(c + i + 4) | finsPossibles(c + i + 8)
                   | finsPossibles(c + i + 12))
                   == 0)
            i += 16;
        const qsizetype bout = std::min(taille, i + 16);
        for (; i < bout; ++i) {
            if (c[i] == u'\n' || c[i] == u'\r')
                return i;
        }
        if (i >= taille)
            return taille;
    }
}

// Where the line after the break at i begins.
inline qsizetype apresFin(const char16_t* c, qsizetype i, qsizetype taille)
{
    return i + (c[i] == u'\r' && i + 1 < taille && c[i + 1] == u'\n' ? 2 : 1);
}

const char16_t* caracteres(const QString& texte)
{
    // constData(): utf16() would copy a string made from raw data.
    return reinterpret_cast<const char16_t*>(texte.constData());
}

} // namespace

IndexLignes::IndexLignes()
    : reperes_{0}
{ }

IndexLignes::IndexLignes(const QString& texte)
    : texte_(texte)
{
    const char16_t* c = caracteres(texte_);
    const qsizetype taille = texte_.size();
    // Room for the most lines the text can have: the pages never written cost no memory.
    reperes_.reserve(size_t(taille / kGroupe + 2));
    reperes_.push_back(0);
    std::array<qsizetype, kGroupe> groupe{}; // the starts of the group being read
    const auto finirGroupe = [&](qsizetype lignes, qsizetype bout) {
        if (bout - groupe[0] <= kEtendueMax)
            return;
        groupesLarges_.push_back(qsizetype(reperes_.size()) - 1);
        for (qsizetype j = 1; j < kGroupe; ++j)
            debutsLarges_.push_back(j < lignes ? groupe[size_t(j)] : bout);
    };

    qsizetype ligne = 0; // the line being read
    qsizetype debutLigne = 0;
    qsizetype plusLongue = 0;
    for (qsizetype i = 0;;) {
        const qsizetype finLigne = prochaineFin(c, i, taille);
        plusLongue = std::max(plusLongue, finLigne - debutLigne);
        if (finLigne == taille)
            break;
        debutLigne = i = apresFin(c, finLigne, taille);
        const qsizetype rang = ++ligne % kGroupe;
        if (rang == 0) {
            finirGroupe(kGroupe, debutLigne);
            reperes_.push_back(debutLigne);
        }
        groupe[size_t(rang)] = debutLigne;
    }
    finirGroupe(ligne % kGroupe + 1, taille);
    nombreLignes_ = ligne + 1;
    plusLongue_ = plusLongue;
    reperes_.shrink_to_fit();
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
        const char16_t* c = caracteres(texte_);
        qsizetype i = base;
        for (qsizetype j = 1; j < lignes; ++j) {
            i = apresFin(c, prochaineFin(c, i, taille), taille);
            debutsCharges_[size_t(j)] = i;
        }
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
    const char16_t* c = caracteres(texte_);
    if (c[fin] == u'\n' && fin > debutLigne && c[fin - 1] == u'\r')
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
    return qsizetype(sizeof *this + reperes_.capacity() * sizeof(qsizetype)
                     + groupesLarges_.capacity() * sizeof(qsizetype)
                     + debutsLarges_.capacity() * sizeof(qsizetype));
}
