// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_view/metriques_lignes.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace {

// Long lines keep an x every so many characters, so reaching any column costs at most this.
constexpr qsizetype kPas = 4096;
// Lines whose checkpoints are kept at once; the lines in view are far fewer.
constexpr size_t kLignesGardees = 64;

} // namespace

MetriquesLignes::MetriquesLignes() { definirPolice(QFont()); }

void MetriquesLignes::definirPolice(const QFont& police)
{
    police_ = police;
    police_.setKerning(false);
    police_.setStyleStrategy(
        QFont::StyleStrategy(police_.styleStrategy() | QFont::PreferNoShaping));
    mesures_ = QFontMetricsF(police_);
    const QFontMetrics entieres(police_);
    hauteurLigne_ = std::max(1, entieres.lineSpacing());
    ascendante_ = entieres.ascent();
    largeurMoyenne_ = std::max(1.0, mesures_.averageCharWidth());
    largeurTab_ = 8 * largeurMoyenne_;
    avances_.assign(0x10000, -1.0f);
    avancesPaires_.clear();
    oublierLignes();
}

void MetriquesLignes::oublierLignes()
{
    reperes_.clear();
    largeurMesuree_ = 0;
}

double MetriquesLignes::avance(const LigneTexte& ligne, qsizetype i, double x) const
{
    const char16_t c = ligne[i];
    if (c == u'\t')
        return (std::floor(x / largeurTab_ + 1e-6) + 1) * largeurTab_ - x;
    if (QChar::isHighSurrogate(c) && i + 1 < ligne.size() && QChar::isLowSurrogate(ligne[i + 1])) {
        const char32_t code = QChar::surrogateToUcs4(ligne[i], ligne[i + 1]);
        auto trouvee = avancesPaires_.constFind(code);
        if (trouvee == avancesPaires_.cend())
            trouvee = avancesPaires_.insert(
                code, mesures_.horizontalAdvance(QString::fromUcs4(&code, 1)));
        return *trouvee;
    }
    if (QChar::isLowSurrogate(c) && i > 0 && QChar::isHighSurrogate(ligne[i - 1]))
        return 0;
    const char16_t affiche = caractereAffiche(c);
    float& largeur = avances_[affiche];
    if (largeur < 0)
        largeur = float(mesures_.horizontalAdvance(QChar(affiche)));
    return largeur;
}

// Only as far as asked: the first paint of a line of millions of characters measures the few
// thousand in view, not the whole line.
template <class Assez>
const std::vector<double>* MetriquesLignes::reperes(qsizetype numero, const LigneTexte& ligne,
                                                    Assez&& assez) const
{
    if (ligne.size() <= kPas)
        return nullptr;
    auto trouves = reperes_.find(numero);
    if (trouves == reperes_.end()) {
        if (reperes_.size() >= kLignesGardees)
            reperes_.clear();
        trouves = reperes_.emplace(numero, Reperes()).first;
    }
    Reperes& r = trouves->second;
    if (r.suivant == ligne.size() || (!r.xs.empty() && assez(r.xs)))
        return &r.xs;
    qsizetype i = r.suivant;
    double x = r.x;
    do {
        const qsizetype fin = std::min(ligne.size(), i + kPas);
        r.xs.push_back(x);
        for (; i < fin; ++i)
            x += avance(ligne, i, x);
    } while (i < ligne.size() && !assez(r.xs));
    r.suivant = i;
    r.x = x;
    elargir(x);
    return &r.xs;
}

double MetriquesLignes::x(qsizetype numero, const LigneTexte& ligne, qsizetype colonne) const
{
    colonne = std::clamp<qsizetype>(colonne, 0, ligne.size());
    qsizetype i = 0;
    double x = 0;
    const auto* xs = reperes(numero, ligne, [colonne](const std::vector<double>& xs) {
        return qsizetype(xs.size()) > colonne / kPas;
    });
    if (xs) {
        const qsizetype k = std::min<qsizetype>(colonne / kPas, qsizetype(xs->size()) - 1);
        i = k * kPas;
        x = (*xs)[size_t(k)];
    }
    for (; i < colonne; ++i)
        x += avance(ligne, i, x);
    return x;
}

qsizetype MetriquesLignes::colonneA(qsizetype numero, const LigneTexte& ligne, double x,
                                    double* xColonne) const
{
    qsizetype i = 0;
    double a = 0;
    const auto* xs
        = reperes(numero, ligne, [x](const std::vector<double>& xs) { return xs.back() > x; });
    if (xs) {
        const auto apres = std::upper_bound(xs->begin(), xs->end(), x);
        const qsizetype k = std::max<qsizetype>(0, qsizetype(apres - xs->begin()) - 1);
        i = k * kPas;
        a = (*xs)[size_t(k)];
    }
    while (i < ligne.size()) {
        const double largeur = avance(ligne, i, a);
        if (a + largeur > x)
            break;
        a += largeur;
        ++i;
    }
    if (xColonne)
        *xColonne = a;
    return i;
}

qsizetype MetriquesLignes::colonneProche(qsizetype numero, const LigneTexte& ligne, double x) const
{
    double a = 0;
    qsizetype i = colonneA(numero, ligne, x, &a);
    if (i < ligne.size() && x - a > avance(ligne, i, a) / 2)
        ++i;
    if (i > 0 && i < ligne.size() && QChar::isLowSurrogate(ligne[i])
        && QChar::isHighSurrogate(ligne[i - 1]))
        ++i;
    return i;
}

double MetriquesLignes::mesurer(qsizetype numero, const LigneTexte& ligne) const
{
    const double largeur = x(numero, ligne, ligne.size());
    elargir(largeur);
    return largeur;
}

void MetriquesLignes::elargir(double largeur) const
{
    largeurMesuree_ = std::max(largeurMesuree_, largeur);
}
