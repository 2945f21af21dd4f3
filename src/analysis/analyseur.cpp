// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analyseur.h"

#include "analysis/classes.h"
#include "analysis/courses.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <type_traits>

namespace lexique {

namespace {

// The value of a spelling in exacts_: this bit when it is a word of `wc`,
// and in the others its runs not yet reported to the table.
constexpr quint32 kMotWc = quint32(1) << 31;
constexpr quint32 kCompteMax = kMotWc - 1;

} // namespace

bool coupureSure(char16_t c) noexcept { return c != u'\'' && c != u'\n' && estBlanc(c); }

namespace {

char16_t unite(QStringView t, qsizetype i) noexcept { return t[i].unicode(); }
char16_t unite(VueOctets t, qsizetype i) noexcept { return t[i]; }

template <class T>
qsizetype premiere(T texte, qsizetype de, qsizetype a) noexcept
{
    for (qsizetype i = de; i < a && i < texte.size(); ++i)
        if (coupureSure(unite(texte, i)))
            return i;
    return -1;
}

template <class T>
qsizetype derniere(T texte, qsizetype de, qsizetype a) noexcept
{
    for (qsizetype i = std::min(a, texte.size()); i-- > de;)
        if (coupureSure(unite(texte, i)))
            return i;
    return -1;
}

template <class T>
qsizetype vers(T texte, qsizetype de, qsizetype visee, qsizetype a) noexcept
{
    const qsizetype c = premiere(texte, visee, a);
    return c >= 0 ? c : derniere(texte, de, visee);
}

// Where the piece that starts at `debut` ends: near debut + longueur, or at
// the next safe cut when there is none near. Each search looks at no more
// characters than the piece it gives holds, plus 2 × longueur, so cutting a
// text costs time in proportion to its length whatever its content.
template <class T>
qsizetype finDuMorceau(T texte, qsizetype debut, qsizetype longueur)
{
    if (texte.size() - debut <= 2 * longueur)
        return texte.size();
    qsizetype c = vers(texte, debut + 1, debut + longueur, debut + 2 * longueur);
    if (c < 0)
        c = premiere(texte, debut + 2 * longueur, texte.size());
    return c < 0 ? texte.size() : c;
}

} // namespace

qsizetype premiereCoupure(QStringView texte, qsizetype de, qsizetype a) noexcept
{
    return premiere(texte, de, a);
}

qsizetype derniereCoupure(QStringView texte, qsizetype de, qsizetype a) noexcept
{
    return derniere(texte, de, a);
}

qsizetype coupureVers(QStringView texte, qsizetype de, qsizetype visee, qsizetype a) noexcept
{
    return vers(texte, de, visee, a);
}

qsizetype coupureVers(VueOctets texte, qsizetype de, qsizetype visee, qsizetype a) noexcept
{
    return vers(texte, de, visee, a);
}

template <class T>
void Analyseur::ajouterPieces(T texte, const std::stop_token& arret)
{
    for (qsizetype debut = 0; debut < texte.size();) {
        if (arret.stop_requested())
            return;
        const qsizetype fin = finDuMorceau(texte, debut, morceau_);
        if constexpr (std::is_same_v<T, QStringView>) {
            ajouterMorceau(texte.sliced(debut, fin - debut));
        } else {
            large_.resize(size_t(fin - debut));
            elargirCp1252(texte.octets.data() + debut, fin - debut, large_.data());
            ajouterMorceau(QStringView(large_.data(), fin - debut));
        }
        debut = fin;
    }
}

void Analyseur::ajouterTexte(QStringView texte, std::stop_token arret)
{
    ajouterPieces(texte, arret);
}

void Analyseur::ajouterTexte(VueOctets texte, std::stop_token arret)
{
    ajouterPieces(texte, arret);
}

quint32 Analyseur::chercher(const char16_t* d, qsizetype n)
{
    bool ajoute = false;
    return exacts_.trouverOuAjouter(d, n, hacher(d, n), ajoute);
}

// Looks up every word of motsDuMorceau_, whose places hold their hashes
// until then. Knowing the words ahead lets the slots and records of the next
// ones come from memory while the current one is looked up.
void Analyseur::placer(bool motsWc)
{
    exacts_.reserverPour(motsDuMorceau_.size());
    constexpr size_t kAvance = 8;
    const size_t nb = motsDuMorceau_.size();
    for (size_t k = 0; k < nb; ++k) {
        if (k + 2 * kAvance < nb)
            exacts_.prechargerCase(motsDuMorceau_[k + 2 * kAvance].place);
        if (k + kAvance < nb)
            exacts_.prechargerEnregistrement(motsDuMorceau_[k + kAvance].place);
        Mot& m = motsDuMorceau_[k];
        bool ajoute = false;
        m.place = exacts_.trouverOuAjouter(m.d, m.n, m.place, ajoute);
        quint32 v = exacts_.valeur(m.place);
        if (motsWc && !(v & kMotWc)) {
            v |= kMotWc;
            exacts_.fixerValeur(m.place, v);
            ++differents_;
        }
    }
}

void Analyseur::compterOccurrence(quint32 place)
{
    const quint32 v = exacts_.valeur(place);
    const quint32 compte = v & kCompteMax;
    if (compte == 0)
        aReporter_.push_back(place);
    else if (compte == kCompteMax)
        throw std::length_error("too many occurrences of one spelling");
    exacts_.fixerValeur(place, v + 1);
}

Table& Analyseur::table()
{
    if (aReporter_.empty()) // read only: the merges of two threads may both ask
        return table_;
    // In the order of their first runs, the spellings make the entries in the order of first
    // occurrence of their capital forms, each with the spelling of its first occurrence.
    for (const quint32 place : aReporter_) {
        const quint32 v = exacts_.valeur(place);
        table_.compter(table_.entree(exacts_.cle(place), exacts_.longueur(place)), v & kCompteMax);
        exacts_.fixerValeur(place, v & kMotWc);
    }
    aReporter_.clear();
    return table_;
}

void Analyseur::ajouterMorceau(QStringView morceau)
{
    const char16_t* d = morceau.utf16();
    const qsizetype n = morceau.size();

    motsDuMorceau_.clear();
    if (regles_ & MotsWc) {
        const MasqueBlancs masque = masqueBlancs();
        pourChaqueCourse(
            n, [d, masque](qsizetype base) { return ~masque(d + base); },
            [d](qsizetype i) { return !estBlanc(d[i]); },
            [&](qsizetype debut, qsizetype fin) {
                motsDuMorceau_.push_back({d + debut, fin - debut, hacher(d + debut, fin - debut)});
            });
        mots_ += qint64(motsDuMorceau_.size());
        placer(true);
    }
    if (!(regles_ & Occurrences))
        return;

    // With the table alone, its runs are the words to look up, by one batch;
    // with both rules, most of them are words of wc just looked up.
    const bool seule = !(regles_ & MotsWc);
    const Caracteres& t = caracteres();
    horsTexte_.clear();
    size_t k = 0; // first word of wc that may start at the run
    pourChaqueCourse(
        n, [&](qsizetype base) { return t.masqueCourses(d, base, n); },
        [&](qsizetype i) { return t.dansCourse(d, i, n); },
        [&](qsizetype debut, qsizetype fin) {
            // Line feeds at the ends belong to no word: with CR LF lines,
            // every line's first run starts with one, and once they are off
            // it is most often the same piece as a word of wc.
            while (debut < fin && d[debut] == u'\n')
                ++debut;
            while (fin > debut && d[fin - 1] == u'\n')
                --fin;
            if (debut == fin)
                return;
            const char16_t* mot = d + debut;
            qsizetype longueur = fin - debut;
            if (!seule) {
                while (k < motsDuMorceau_.size() && motsDuMorceau_[k].d < mot)
                    ++k;
                if (k < motsDuMorceau_.size() && motsDuMorceau_[k].d == mot
                    && motsDuMorceau_[k].n == longueur) {
                    compterOccurrence(motsDuMorceau_[k].place);
                    return;
                }
            }
            if (std::find(mot, mot + longueur, u'\n') != mot + longueur) {
                // Room for the whole piece at once, so that pointers into it stay valid.
                if (horsTexte_.empty())
                    horsTexte_.reserve(size_t(n));
                const size_t depart = horsTexte_.size();
                std::remove_copy(mot, mot + longueur, std::back_inserter(horsTexte_), u'\n');
                mot = horsTexte_.data() + depart;
                longueur = qsizetype(horsTexte_.size() - depart);
            }
            if (seule)
                motsDuMorceau_.push_back({mot, longueur, hacher(mot, longueur)});
            else
                compterOccurrence(chercher(mot, longueur));
        });
    if (seule) {
        placer(false);
        for (const Mot& m : motsDuMorceau_)
            compterOccurrence(m.place);
    }
}

void Analyseur::fusionnerMots(const Analyseur& suite, const std::stop_token& arret, bool derniere)
{
    mots_ += suite.mots_;
    // The words of wc of `suite` are looked up here by batches prefetched together; those new
    // here join this set, so that a later part finds every word met before it. After the last
    // part the set would only grow to be dropped: each key of `suite` is one spelling, so
    // those missing here are counted once each.
    constexpr size_t kLot = 32;
    Dictionnaire::Demande lot[kLot];
    quint32 places[kLot];
    size_t nbLot = 0;
    const auto traiterLot = [&] {
        exacts_.trouverLot(lot, nbLot, [&](size_t k, quint32 place) { places[k] = place; });
        for (size_t k = 0; k < nbLot; ++k) {
            quint32 place = places[k];
            if (place == Dictionnaire::kAbsente && derniere) {
                ++differents_;
                continue;
            }
            if (place == Dictionnaire::kAbsente) {
                bool ajoute = false;
                place = exacts_.trouverOuAjouter(lot[k].cle, lot[k].n, lot[k].h, ajoute);
            }
            const quint32 v = exacts_.valeur(place);
            if (!(v & kMotWc)) {
                exacts_.fixerValeur(place, v | kMotWc);
                ++differents_;
            }
        }
        nbLot = 0;
    };
    suite.exacts_.pourChaque([&](const char16_t* mot, qsizetype n, quint32 valeur) {
        if (!(valeur & kMotWc) || arret.stop_requested())
            return;
        lot[nbLot++] = {mot, n, hacher(mot, n)};
        if (nbLot == kLot)
            traiterLot();
    });
    traiterLot();
}

void Analyseur::libererMots()
{
    table(); // the counts still in the set go first
    exacts_ = Dictionnaire();
    motsDuMorceau_ = {};
    horsTexte_ = {};
}

} // namespace lexique
