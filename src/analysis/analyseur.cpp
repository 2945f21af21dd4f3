// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analyseur.h"

#include "analysis/classes.h"

#include <algorithm>
#include <bit>
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

bool coupureSure(char16_t c) noexcept { return c < 256 && sortes().latin1[c] == kCoupure; }

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

qsizetype coupureVers(QStringView texte, qsizetype de, qsizetype visee, qsizetype a) noexcept
{
    return vers(texte, de, visee, a);
}

qsizetype coupureVers(VueOctets texte, qsizetype de, qsizetype visee, qsizetype a) noexcept
{
    return vers(texte, de, visee, a);
}

template <class U>
void AnalyseurDe<U>::ajouterTexte(Vue texte, std::stop_token arret)
{
    if constexpr (std::is_same_v<U, char>)
        debutTexte_ = texte.octets.data();
    else
        debutTexte_ = texte.utf16();
    for (qsizetype debut = 0; debut < texte.size();) {
        if (arret.stop_requested())
            return;
        const qsizetype fin = finDuMorceau(texte, debut, morceau_);
        ajouterMorceau(debutTexte_ + debut, fin - debut);
        debut = fin;
    }
}

namespace {

Masques masques64(const Sortes& s, const char16_t* d) { return s.masquesUnites(s, d); }
Masques masques64(const Sortes& s, const char* d) { return s.masquesOctets(s, d); }

// Past the end of the piece, every bit is a cut.
template <class U>
Masques masques(const Sortes& s, const U* d, qsizetype base, qsizetype n) noexcept
{
    if (n - base >= 64)
        return masques64(s, d + base);
    Masques m{~quint64(0) << (n - base), 0};
    for (qsizetype i = 0; i < n - base; ++i) {
        const quint64 k = sorte(s, d[base + i]);
        m.coupures |= (k & kCoupure) << i;
        m.autres |= (k >> 1) << i;
    }
    return m;
}

// The position of the highest bit of m, m not zero.
int plusHaut(quint64 m) noexcept { return 63 - std::countl_zero(m); }

} // namespace

template <class U>
LEXORQUINE_EN_LIGNE void AnalyseurDe<U>::ajouterMot(const U* d, qsizetype n, Regles regles,
                                                    bool dansLeTexte)
{
    // Units before the word are only read when they belong to the text at hand.
    const bool avantLisible = dansLeTexte && d - debutTexte_ >= 8;
    motsDuMorceau_.push_back({d, n, hacher(d, n, avantLisible), regles, avantLisible});
    if (regles & MotsWc)
        ++mots_;
}

// The piece goes by stretches between cuts. In most of them both rules see the same word:
// word characters only, perhaps after the line feed that starts a line; it is looked up
// once for both.
template <class U>
void AnalyseurDe<U>::ajouterMorceau(const U* d, qsizetype n)
{
    motsDuMorceau_.clear();
    horsTexte_.clear();
    const Sortes& s = sortes();
    qsizetype debut = -1; // of the stretch under way
    qsizetype dernierAutre = -1; // before the block at hand
    const auto finir = [&](qsizetype fin, qsizetype autre) {
        if (autre < debut || (autre == debut && fin > debut + 1 && d[debut] == U('\n'))) {
            const qsizetype a = autre == debut ? debut + 1 : debut;
            ajouterMot(d + a, fin - a, regles_);
        } else {
            ajouterSegmentMele(d, debut, fin, n);
        }
        debut = -1;
    };
    for (qsizetype base = 0; base < n; base += 64) {
        const Masques m = masques(s, d, base, n);
        const quint64 dedans = ~m.coupures;
        quint64 bascules = dedans ^ ((dedans << 1) | (debut >= 0 ? 1u : 0u));
        while (bascules != 0) {
            const int i = std::countr_zero(bascules);
            bascules &= bascules - 1;
            if (debut < 0) {
                debut = base + i;
                continue;
            }
            const quint64 avant = i == 0 ? 0 : m.autres & (~quint64(0) >> (64 - i));
            finir(base + i, avant != 0 ? base + plusHaut(avant) : dernierAutre);
        }
        if (m.autres != 0)
            dernierAutre = base + plusHaut(m.autres);
    }
    if (debut >= 0)
        finir(n, dernierAutre);
    placer();
}

// Both rules one after the other over [debut, fin), whose words then go in the order of
// their first characters, each run after the word of wc it is the same piece of text as.
template <class U>
void AnalyseurDe<U>::ajouterSegmentMele(const U* d, qsizetype debut, qsizetype fin, qsizetype n)
{
    motsWcDuSegment_.clear();
    if (regles_ & MotsWc) {
        qsizetype mot = -1;
        for (qsizetype i = debut; i <= fin; ++i) {
            const bool dedans = i < fin && !estBlanc(enCaractere(d[i]));
            if (dedans && mot < 0) {
                mot = i;
            } else if (!dedans && mot >= 0) {
                motsWcDuSegment_.push_back({d + mot, i - mot, 0, MotsWc, false});
                mot = -1;
            }
        }
    }
    size_t k = 0; // first word of wc not yet added
    const auto ajouterMotsWcAvant = [&](const U* p) {
        for (; k < motsWcDuSegment_.size() && motsWcDuSegment_[k].d < p; ++k)
            ajouterMot(motsWcDuSegment_[k].d, motsWcDuSegment_[k].n, MotsWc);
    };
    if (regles_ & Occurrences) {
        qsizetype course = -1;
        for (qsizetype i = debut; i <= fin; ++i) {
            const bool dedans = i < fin && dansCourse(d, i, n);
            if (dedans && course < 0) {
                course = i;
                continue;
            }
            if (dedans || course < 0)
                continue;
            // Line feeds at the ends belong to no word; inside, they are left out.
            const U* mot = d + course;
            const U* motFin = d + i;
            course = -1;
            while (mot < motFin && *mot == U('\n'))
                ++mot;
            while (motFin > mot && motFin[-1] == U('\n'))
                --motFin;
            if (mot == motFin)
                continue;
            ajouterMotsWcAvant(mot);
            if (std::find(mot, motFin, U('\n')) == motFin) {
                if (k < motsWcDuSegment_.size() && motsWcDuSegment_[k].d == mot
                    && motsWcDuSegment_[k].n == motFin - mot) {
                    ajouterMot(mot, motFin - mot, Toutes);
                    ++k;
                } else {
                    ajouterMot(mot, motFin - mot, Occurrences);
                }
                continue;
            }
            // Room for the whole piece at once, so that pointers into it stay valid.
            if (horsTexte_.empty())
                horsTexte_.reserve(size_t(n));
            const size_t depart = horsTexte_.size();
            std::remove_copy(mot, motFin, std::back_inserter(horsTexte_), U('\n'));
            ajouterMot(horsTexte_.data() + depart, qsizetype(horsTexte_.size() - depart),
                       Occurrences, false);
        }
    }
    ajouterMotsWcAvant(d + fin);
}

// Looks up every word of motsDuMorceau_, whose places hold their hashes
// until then. Knowing the words ahead lets the slots and records of the next
// ones come from memory while the current one is looked up.
template <class U>
void AnalyseurDe<U>::placer()
{
    exacts_.reserverPour(motsDuMorceau_.size());
    constexpr size_t kAvance = 8;
    const size_t nb = motsDuMorceau_.size();
    for (size_t k = 0; k < nb; ++k) {
        if (k + 2 * kAvance < nb)
            exacts_.prechargerCase(motsDuMorceau_[k + 2 * kAvance].place);
        if (k + kAvance < nb)
            exacts_.prechargerEnregistrement(motsDuMorceau_[k + kAvance].place);
        const Mot& m = motsDuMorceau_[k];
        bool ajoute = false;
        const quint32 place = exacts_.trouverOuAjouter(m.d, m.n, m.place, ajoute, m.avantLisible);
        quint32 v = exacts_.valeur(place);
        if ((m.regles & MotsWc) && !(v & kMotWc)) {
            v |= kMotWc;
            ++differents_;
        }
        if (m.regles & Occurrences) {
            const quint32 compte = v & kCompteMax;
            if (compte == 0)
                aReporter_.push_back(place);
            else if (compte == kCompteMax)
                throw std::length_error("too many occurrences of one spelling");
            ++v;
        }
        exacts_.fixerValeur(place, v);
    }
}

template <class U>
Table& AnalyseurDe<U>::table()
{
    if (aReporter_.empty()) // read only: the merges of two threads may both ask
        return table_;
    // In the order of their first runs, the spellings make the entries in the order of first
    // occurrence of their capital forms, each with the spelling of its first occurrence.
    table_.reserverPour(aReporter_.size());
    Table::Apport<U> lot[Table::kLot];
    size_t nb = 0;
    for (const quint32 place : aReporter_) {
        const quint32 v = exacts_.valeur(place);
        lot[nb++] = {exacts_.cle(place), exacts_.longueur(place), qint64(v & kCompteMax)};
        exacts_.fixerValeur(place, v & kMotWc);
        if (nb == Table::kLot) {
            table_.compterLot(lot, nb);
            nb = 0;
        }
    }
    table_.compterLot(lot, nb);
    aReporter_.clear();
    return table_;
}

template <class U>
void AnalyseurDe<U>::fusionnerMots(const AnalyseurDe& suite, const std::stop_token& arret,
                                   bool derniere)
{
    mots_ += suite.mots_;
    // The words of wc of `suite` are looked up here by batches prefetched together; those new
    // here join this set, so that a later part finds every word met before it. After the last
    // part the set would only grow to be dropped: each key of `suite` is one spelling, so
    // those missing here are counted once each.
    constexpr size_t kLot = 32;
    typename DictionnaireDe<U>::Demande lot[kLot];
    quint32 places[kLot];
    size_t nbLot = 0;
    const auto traiterLot = [&] {
        exacts_.trouverLot(lot, nbLot, [&](size_t k, quint32 place) { places[k] = place; });
        for (size_t k = 0; k < nbLot; ++k) {
            quint32 place = places[k];
            if (place == DictionnaireDe<U>::kAbsente && derniere) {
                ++differents_;
                continue;
            }
            if (place == DictionnaireDe<U>::kAbsente) {
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
    suite.exacts_.pourChaque([&](const U* mot, qsizetype n, quint32 valeur) {
        if (!(valeur & kMotWc) || arret.stop_requested())
            return;
        lot[nbLot++] = {mot, n, hacher(mot, n, true)}; // a record: its head before it
        if (nbLot == kLot)
            traiterLot();
    });
    traiterLot();
}

template <class U>
void AnalyseurDe<U>::libererMots()
{
    table(); // the counts still in the set go first
    exacts_ = DictionnaireDe<U>();
    motsDuMorceau_ = {};
    horsTexte_ = {};
    motsWcDuSegment_ = {};
}

template class AnalyseurDe<char16_t>;
template class AnalyseurDe<char>;

} // namespace lexique
