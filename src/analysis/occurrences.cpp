// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/occurrences.h"

#include "analysis/balayage.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define OCC_SSSE3 1
#include <immintrin.h>
#endif

namespace {

enum Classe : quint8 {
    Separateur,
    Lettre, // apostrophe, ASCII digit, letter or combining mark
    Ignore, // line feed
    Haute, // high surrogate: depends on the code point it starts
};

struct Caracteres;
using FonctionMasque = quint64 (*)(const Caracteres&, const char16_t*, qsizetype, qsizetype);

inline bool paireDeMot(const char16_t* d, qsizetype i, qsizetype n)
{
    if (i + 1 >= n || !QChar::isLowSurrogate(d[i + 1]))
        return false;
    const char32_t cp = QChar::surrogateToUcs4(d[i], d[i + 1]);
    return QChar::isLetter(cp) || QChar::isMark(cp);
}

// Class and capital form of every UTF-16 unit, worked out once, so that the
// scan costs two table reads per character whatever the script.
struct Caracteres {
    std::vector<quint8> classe;
    // Capital form when it is a single unit. 0 for the line feed, the
    // surrogates, and the units whose capital form is longer (ß -> SS),
    // which are then found in `longues`.
    std::vector<char16_t> majuscule;
    std::vector<std::pair<char16_t, QString>> longues; // sorted by unit
    qsizetype expansionMax = 1; // units of the longest capital form of one unit

    // The units below 256 that can stand in a word run (letters and the line
    // feed), as two nibble lookups ANDed: one bit per group of high nibbles
    // that share the same set of low nibbles. Only used when `quartets`.
    alignas(16) std::array<quint8, 16> bas{};
    alignas(16) std::array<quint8, 16> haut{};
    bool quartets = false;
    FonctionMasque masque = nullptr;

    Caracteres();

    // Whether d[i] is part of a word run: a word character, a line feed
    // (which a word goes through), or either half of a surrogate pair that
    // makes a letter.
    bool dansMot(const char16_t* d, qsizetype i, qsizetype n) const
    {
        const quint8 k = classe[d[i]];
        if (k == Lettre || k == Ignore)
            return true;
        if (k == Haute)
            return paireDeMot(d, i, n);
        return QChar::isLowSurrogate(d[i]) && i > 0 && QChar::isHighSurrogate(d[i - 1])
            && paireDeMot(d, i - 1, n);
    }
};

// Word runs of 64 characters as the bits of one word (bit i for d[base + i]).
quint64 masqueSimple(const Caracteres& t, const char16_t* d, qsizetype base, qsizetype n)
{
    quint64 m = 0;
    for (int i = 0; i < 64; ++i)
        m |= quint64(t.dansMot(d, base + i, n)) << i;
    return m;
}

#ifdef OCC_SSSE3
// Groups of 16 characters all below 256 (most of them in French text) go by
// the nibble lookups; the others one character at a time.
__attribute__((target("ssse3"))) quint64 masqueSsse3(const Caracteres& t, const char16_t* d,
                                                     qsizetype base, qsizetype n)
{
    const __m128i bas = _mm_load_si128(reinterpret_cast<const __m128i*>(t.bas.data()));
    const __m128i haut = _mm_load_si128(reinterpret_cast<const __m128i*>(t.haut.data()));
    const __m128i quinze = _mm_set1_epi8(0x0F);
    const __m128i zero = _mm_setzero_si128();
    quint64 m = 0;
    for (int k = 0; k < 4; ++k) {
        const char16_t* p = d + base + 16 * k;
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
        const __m128i poidsForts = _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8));
        quint64 bits = 0;
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(poidsForts, zero)) == 0xFFFF) {
            const __m128i o = _mm_packus_epi16(a, b);
            const __m128i l = _mm_shuffle_epi8(bas, _mm_and_si128(o, quinze));
            const __m128i h = _mm_shuffle_epi8(haut, _mm_and_si128(_mm_srli_epi16(o, 4), quinze));
            bits = quint16(~_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(l, h), zero)));
        } else {
            for (int i = 0; i < 16; ++i)
                bits |= quint64(t.dansMot(d, base + 16 * k + i, n)) << i;
        }
        m |= bits << (16 * k);
    }
    return m;
}
#endif

Caracteres::Caracteres()
    : classe(0x10000, Separateur)
    , majuscule(0x10000, 0)
{
    // One toUpper over every unit, each followed by a NUL, gives the full
    // capital forms of QString::toUpper, expansions included, in one call.
    QString tous;
    tous.reserve(2 * 0x10000);
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        tous.append(QChar(char16_t(c)));
        tous.append(QChar(u'\0'));
    }
    const QString hautes = tous.toUpper();
    qsizetype pos = 0;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        const qsizetype nul = hautes.indexOf(QChar(u'\0'), pos);
        const QStringView forme = QStringView(hautes).mid(pos, nul - pos);
        if (forme.size() == 1 && c != u'\n') {
            majuscule[c] = forme[0].unicode();
        } else if (c != u'\n') {
            longues.emplace_back(char16_t(c), forme.toString());
            expansionMax = std::max(expansionMax, forme.size());
        }
        pos = nul + 1;
    }

    for (char32_t c = 0; c < 0x10000; ++c) {
        Classe k = Separateur;
        if (c == u'\n')
            k = Ignore;
        else if (c == u'\'' || (c >= u'0' && c <= u'9'))
            k = Lettre;
        else if (QChar::isHighSurrogate(c))
            k = Haute;
        else if (QChar::isLowSurrogate(c))
            k = Separateur;
        else if (QChar::isLetter(c) || QChar::isMark(c))
            k = Lettre;
        classe[c] = k;
    }

    std::array<quint16, 16> ensembles{}; // low nibbles in a run, per high nibble
    for (int c = 0; c < 256; ++c)
        if (classe[size_t(c)] == Lettre || classe[size_t(c)] == Ignore)
            ensembles[size_t(c >> 4)] |= quint16(1u << (c & 15));
    int groupes = 0;
    quartets = true;
    for (size_t h = 0; h < 16 && quartets; ++h) {
        if (ensembles[h] == 0)
            continue;
        for (size_t g = 0; g < h && haut[h] == 0; ++g)
            if (ensembles[g] == ensembles[h])
                haut[h] = haut[g];
        if (haut[h] == 0) {
            if (groupes == 8)
                quartets = false;
            else
                haut[h] = quint8(1u << groupes++);
        }
        for (size_t l = 0; l < 16; ++l)
            if (ensembles[h] & (1u << l))
                bas[l] |= haut[h];
    }
    for (int c = 0; c < 256 && quartets; ++c) {
        const bool attendu = classe[size_t(c)] == Lettre || classe[size_t(c)] == Ignore;
        quartets = attendu == ((bas[size_t(c & 15)] & haut[size_t(c >> 4)]) != 0);
    }

    masque = &masqueSimple;
#ifdef OCC_SSSE3
    __builtin_cpu_init();
    if (quartets && __builtin_cpu_supports("ssse3"))
        masque = &masqueSsse3;
#endif
}

const Caracteres& caracteres()
{
    static const Caracteres t;
    return t;
}

void ajouterLongue(const Caracteres& t, std::vector<char16_t>& sortie, char16_t c)
{
    const auto it = std::lower_bound(t.longues.begin(), t.longues.end(), c,
                                     [](const auto& e, char16_t v) { return e.first < v; });
    if (it != t.longues.end() && it->first == c) {
        for (QChar u : it->second)
            sortie.push_back(u.unicode());
    } else {
        sortie.push_back(c);
    }
}

// Code points beyond the first plane are rare enough to go through QString.
QString majusculePaire(const char16_t* paire) { return QStringView(paire, 2).toString().toUpper(); }

void ajouterPaire(std::vector<char16_t>& sortie, const char16_t* paire)
{
    for (QChar u : majusculePaire(paire))
        sortie.push_back(u.unicode());
}

// The capital form of c, written at p, which has room for expansionMax units.
char16_t* ecrireLongue(const Caracteres& t, char16_t* p, char16_t c)
{
    const auto it = std::lower_bound(t.longues.begin(), t.longues.end(), c,
                                     [](const auto& e, char16_t v) { return e.first < v; });
    if (it == t.longues.end() || it->first != c) {
        *p++ = c;
        return p;
    }
    for (QChar u : it->second)
        *p++ = u.unicode();
    return p;
}

// Writes the capital form of a run of word characters and line feeds at
// `sortie` (which has room for it) and returns where it ends; the line feeds
// are left out.
char16_t* majusculesCourse(const Caracteres& t, const char16_t* __restrict d, const char16_t* fin,
                           char16_t* __restrict sortie, bool& sautDeLigne)
{
    const char16_t* __restrict majuscule = t.majuscule.data();
    for (; d != fin; ++d) {
        const char16_t c = *d;
        const char16_t u = majuscule[c];
        if (u != 0) [[likely]] {
            *sortie++ = u;
        } else if (c == u'\n') {
            sautDeLigne = true;
        } else if (QChar::isHighSurrogate(c)) {
            for (QChar h : majusculePaire(d))
                *sortie++ = h.unicode();
            ++d;
        } else {
            sortie = ecrireLongue(t, sortie, c);
        }
    }
    return sortie;
}

QString sansSautsDeLigne(QStringView mot)
{
    QString s;
    s.reserve(mot.size());
    for (QChar c : mot)
        if (c != u'\n')
            s.append(c);
    return s;
}

} // namespace

void TableOccurrences::Vider()
{
    TabMots.clear();
    TabOcc.clear();
    cles_.vider();
    places_.clear();
}

void TableOccurrences::AnalyserMots(QStringView texte)
{
    Vider();
    AjouterTexte(texte);
    TrierMots();
}

void TableOccurrences::AjouterTexte(QStringView texte)
{
    using analyse_interne::Dictionnaire;
    const Caracteres& t = caracteres();
    const char16_t* d = texte.utf16();
    const qsizetype n = texte.size();
    // Room for the capital form of one unit (a pair's, for two units, too).
    const size_t parUnite = size_t(std::max<qsizetype>(t.expansionMax, 3));

    // Words go to the dictionary by batches (see traiterLot). Their capital
    // forms are laid one after the other in `cles`, a local while scanning:
    // this object may share a cache line with the one another thread fills.
    constexpr size_t kLot = 32;
    Dictionnaire::Demande lot[kLot];
    size_t debutCle[kLot];
    struct Origine {
        qsizetype debut;
        qsizetype fin;
        bool sautDeLigne;
    } origines[kLot];
    size_t nbLot = 0;
    std::vector<char16_t> cles;
    cles.swap(tampon_);
    size_t utilise = 0; // of `cles`

    const auto vider = [&] {
        for (size_t k = 0; k < nbLot; ++k)
            lot[k].cle = cles.data() + debutCle[k];
        cles_.traiterLot(
            lot, nbLot, [this] { return quint64(TabMots.size()); },
            [&](size_t k, size_t place, bool ajoute) {
                if (!ajoute) {
                    ++TabOcc[cles_.valeur(place)];
                    return;
                }
                const QStringView mot(d + origines[k].debut, origines[k].fin - origines[k].debut);
                nouvelleEntree(place,
                               origines[k].sautDeLigne ? sansSautsDeLigne(mot) : mot.toString(), 1);
            });
        nbLot = 0;
        utilise = 0;
    };

    // A run of word characters and line feeds; it makes a word unless it
    // holds only line feeds.
    const auto course = [&](qsizetype debut, qsizetype fin) {
        const size_t place = utilise + parUnite * size_t(fin - debut);
        if (place > cles.size())
            cles.resize(std::max(place, 2 * cles.size()));
        char16_t* const p0 = cles.data() + utilise;
        bool sautDeLigne = false;
        char16_t* const p = majusculesCourse(t, d + debut, d + fin, p0, sautDeLigne);
        const qsizetype longueur = p - p0;
        if (longueur == 0)
            return;
        debutCle[nbLot] = utilise;
        utilise += size_t(longueur);
        lot[nbLot] = {nullptr, longueur, analyse_interne::hacher(p0, longueur)};
        origines[nbLot] = {debut, fin, sautDeLigne};
        if (++nbLot == kLot)
            vider();
    };

    const FonctionMasque masque = t.masque;
    analyse_interne::pourChaqueCourse(
        n, [&](qsizetype base) { return masque(t, d, base, n); },
        [&](qsizetype i) { return t.dansMot(d, i, n); }, course);
    vider();
    cles.swap(tampon_);
}

void TableOccurrences::AjouterMot(QStringView mot) { Compter(Entree(mot)); }

void TableOccurrences::nouvelleEntree(size_t place, QString mot, qint64 occurrences)
{
    places_.push_back(place);
    TabMots.push_back(std::move(mot));
    TabOcc.push_back(occurrences);
}

void TableOccurrences::Fusionner(const TableOccurrences& suite)
{
    // By batches in entry order, whose lookups are prefetched together.
    constexpr size_t kLot = 32;
    analyse_interne::Dictionnaire::Demande lot[kLot];
    for (size_t debut = 0; debut < suite.TabMots.size(); debut += kLot) {
        const size_t nb = std::min(kLot, suite.TabMots.size() - debut);
        for (size_t k = 0; k < nb; ++k) {
            const char16_t* cle = suite.cles_.cle(suite.places_[debut + k]);
            const qsizetype n = suite.cles_.longueur(suite.places_[debut + k]);
            lot[k] = {cle, n, analyse_interne::hacher(cle, n)};
        }
        cles_.traiterLot(
            lot, nb, [this] { return quint64(TabMots.size()); },
            [&](size_t k, size_t place, bool ajoute) {
                if (!ajoute)
                    TabOcc[cles_.valeur(place)] += suite.TabOcc[debut + k];
                else
                    nouvelleEntree(place, suite.TabMots[debut + k], suite.TabOcc[debut + k]);
            });
    }
}

void TableOccurrences::TrierMots()
{
    const size_t n = TabMots.size();
    // The order of a stable sort on the counts, greatest first. Most counts
    // are small (a few words make up much of a text, most words are rare), so
    // those go by counting sort; the few large ones by an ordinary sort on
    // (count, entry number).
    constexpr qint64 kPetit = 4096;
    std::vector<size_t> parCompte(size_t(kPetit) + 2, 0);
    std::vector<std::pair<qint64, size_t>> grands;
    bool trie = true;
    for (size_t i = 0; i < n; ++i) {
        const qint64 c = TabOcc[i];
        if (i > 0 && c > TabOcc[i - 1])
            trie = false;
        if (c > kPetit)
            grands.emplace_back(c, i);
        else
            ++parCompte[size_t(c)];
    }
    if (trie)
        return;
    std::sort(grands.begin(), grands.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    // parCompte[c] becomes the first place of count c in the sorted table.
    size_t place = grands.size();
    for (qint64 c = kPetit; c >= 0; --c) {
        const size_t nb = parCompte[size_t(c)];
        parCompte[size_t(c)] = place;
        place += nb;
    }
    std::vector<size_t> ordre(n);
    for (size_t g = 0; g < grands.size(); ++g)
        ordre[g] = grands[g].second;
    for (size_t i = 0; i < n; ++i)
        if (TabOcc[i] <= kPetit)
            ordre[parCompte[size_t(TabOcc[i])]++] = i;

    std::vector<QString> mots(n);
    std::vector<qint64> occ(n);
    std::vector<size_t> places(n);
    for (size_t i = 0; i < n; ++i) {
        const size_t j = ordre[i];
        mots[i] = std::move(TabMots[j]);
        occ[i] = TabOcc[j];
        places[i] = places_[j];
        cles_.valeur(places[i]) = i;
    }
    TabMots.swap(mots);
    TabOcc.swap(occ);
    places_.swap(places);
}

void TableOccurrences::EchangerMots(qsizetype a, qsizetype b)
{
    const size_t ia = size_t(a - 1);
    const size_t ib = size_t(b - 1);
    std::swap(TabMots[ia], TabMots[ib]);
    std::swap(TabOcc[ia], TabOcc[ib]);
    std::swap(places_[ia], places_[ib]);
    cles_.valeur(places_[ia]) = ia;
    cles_.valeur(places_[ib]) = ib;
}

QString TableOccurrences::Rapport() const
{
    static constexpr char16_t kEntete[]
        = u" Occurrence des mots \r\n ------------------------------";
    constexpr qsizetype kLongueurEntete = qsizetype(std::size(kEntete)) - 1;
    static constexpr char16_t kAvant[] = u"\r\n   ";
    static constexpr char16_t kApres[] = u"     ";

    qsizetype taille = kLongueurEntete;
    for (size_t i = 0; i < TabMots.size(); ++i) {
        qsizetype chiffres = 1;
        for (quint64 v = quint64(TabOcc[i]); v >= 10; v /= 10)
            ++chiffres;
        taille += 5 + chiffres + 5 + TabMots[i].size();
    }

    QString rapport(taille, Qt::Uninitialized);
    char16_t* p = reinterpret_cast<char16_t*>(rapport.data());
    const auto copier = [&p](const char16_t* s, qsizetype n) {
        std::memcpy(p, s, size_t(n) * sizeof(char16_t));
        p += n;
    };
    copier(kEntete, kLongueurEntete);
    for (size_t i = 0; i < TabMots.size(); ++i) {
        copier(kAvant, 5);
        char16_t chiffres[20];
        int nc = 0;
        quint64 v = quint64(TabOcc[i]);
        do {
            chiffres[nc++] = char16_t(u'0' + v % 10);
            v /= 10;
        } while (v != 0);
        while (nc > 0)
            *p++ = chiffres[--nc];
        copier(kApres, 5);
        copier(reinterpret_cast<const char16_t*>(TabMots[i].utf16()), TabMots[i].size());
    }
    return rapport;
}

quint64 analyse_interne::masqueCourses(const char16_t* d, qsizetype base, qsizetype n)
{
    const Caracteres& t = caracteres();
    return t.masque(t, d, base, n);
}

bool analyse_interne::dansCourse(const char16_t* d, qsizetype i, qsizetype n)
{
    return caracteres().dansMot(d, i, n);
}

qsizetype TableOccurrences::Entree(QStringView mot)
{
    const Caracteres& t = caracteres();
    const char16_t* d = mot.utf16();
    const qsizetype n = mot.size();
    tampon_.clear();
    for (qsizetype i = 0; i < n; ++i) {
        if (QChar::isHighSurrogate(d[i]) && i + 1 < n && QChar::isLowSurrogate(d[i + 1])) {
            ajouterPaire(tampon_, d + i);
            ++i;
        } else if (const char16_t u = t.majuscule[d[i]]; u != 0) {
            tampon_.push_back(u);
        } else {
            ajouterLongue(t, tampon_, d[i]);
        }
    }
    const qsizetype longueur = qsizetype(tampon_.size());
    bool ajoute = false;
    const size_t place = cles_.trouverOuAjouter(tampon_.data(), longueur,
                                                analyse_interne::hacher(tampon_.data(), longueur),
                                                TabMots.size(), ajoute);
    if (ajoute)
        nouvelleEntree(place, mot.toString(), 0);
    return qsizetype(cles_.valeur(place)) + 1;
}
