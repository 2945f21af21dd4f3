// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/table.h"

#include "analysis/classes.h"
#include "text/texte.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

namespace lexique {

namespace {

// Writes the capital form of d[0, n) at the end of `sortie` and returns its length. By slices,
// so that a long word takes the room of its capital form, not the most that form could take.
template <class U>
qsizetype ecrireMajuscules(std::vector<char16_t>& sortie, const U* d, qsizetype n)
{
    constexpr qsizetype kTranche = 4096;
    const Caracteres& t = caracteres();
    const size_t debut = sortie.size();
    const size_t voulu = debut + size_t(n) + size_t(t.placeParUnite) * size_t(kTranche);
    if (sortie.capacity() < voulu)
        sortie.reserve(std::max(voulu, 2 * sortie.capacity()));
    for (qsizetype i = 0; i < n;) {
        qsizetype m = std::min(kTranche, n - i);
        if constexpr (std::is_same_v<U, char16_t>)
            if (i + m < n && QChar::isHighSurrogate(d[i + m - 1]))
                ++m; // a pair stays whole
        const size_t avant = sortie.size();
        sortie.resize(avant + size_t(t.placeParUnite) * size_t(m));
        char16_t* const p = sortie.data() + avant;
        sortie.resize(avant + size_t(t.ecrireMajuscules(d + i, m, p) - p));
        i += m;
    }
    return qsizetype(sortie.size() - debut);
}

// The characters of d[0, n) in the units of `sortie`, line feeds left out; returns the end.
// Narrowed, they all have a byte.
template <class U>
U* copierSansSauts(const U* d, qsizetype n, U* sortie)
{
    return std::remove_copy(d, d + n, sortie, U('\n'));
}
char* copierSansSauts(const char16_t* d, qsizetype n, char* sortie)
{
    for (const char16_t* fin = d + n; d != fin; ++d)
        if (*d != u'\n')
            *sortie++ = char(octetCp1252(*d));
    return sortie;
}
char16_t* copierSansSauts(const char* d, qsizetype n, char16_t* sortie)
{
    char16_t* fin = sortie + (n - std::count(d, d + n, '\n'));
    for (const char* p = d; p != d + n;) {
        const char* saut = std::find(p, d + n, '\n');
        elargirCp1252(p, saut - p, sortie);
        sortie += saut - p;
        p = saut == d + n ? saut : saut + 1;
    }
    return fin;
}

// Scratch room kept for the next word, unless a long word made it big.
void garderPetit(std::vector<char16_t>& brouillon)
{
    constexpr size_t kGardee = size_t(1) << 16;
    if (brouillon.capacity() > kGardee)
        brouillon = {};
}

// Whether two spellings are the same characters.
template <class A, class B>
bool memeOrthographe(const A* a, qsizetype na, const B* b, qsizetype nb) noexcept
{
    if (na != nb)
        return false;
    if constexpr (std::is_same_v<A, B>)
        return std::equal(a, a + na, b);
    for (qsizetype i = 0; i < na; ++i)
        if (enCaractere(a[i]) != enCaractere(b[i]))
            return false;
    return true;
}

template <class U>
bool toutEnCp1252(const U* d, qsizetype n) noexcept
{
    if constexpr (std::is_same_v<U, char16_t>)
        for (qsizetype i = 0; i < n; ++i)
            if (octetCp1252(d[i]) < 0)
                return false;
    return true;
}

} // namespace

QString Table::mot(qsizetype i) const
{
    return surMot(ordre_[size_t(i)], [](const auto* d, qsizetype n) {
        QString mot(n, Qt::Uninitialized);
        copierSansSauts(d, n, reinterpret_cast<char16_t*>(mot.data()));
        return mot;
    });
}

template <class U>
bool Table::memeMajuscule(quint32 place, const U* d, qsizetype n)
{
    majuscules_.clear();
    autres_.clear();
    const qsizetype longueur = ecrireMajuscules(majuscules_, d, n);
    return surMot(place,
                  [&](const auto* mot, qsizetype m) { return ecrireMajuscules(autres_, mot, m); })
        == longueur
        && std::equal(autres_.begin(), autres_.end(), majuscules_.begin());
}

// Up to kBloc units, the hash of the capital form; beyond, the hashes of its blocks of kBloc
// units mixed in order. Worked out by slices, so that a long word needs no room for the whole
// of its capital form.
template <class U>
quint32 Table::hacherMajuscules(const U* d, qsizetype n)
{
    constexpr qsizetype kBloc = 4096;
    constexpr qsizetype kTranche = 1024;
    const Caracteres& t = caracteres();
    tampon_.resize(size_t(kBloc + t.placeParUnite * (kTranche + 1)));
    char16_t* const b = tampon_.data();
    qsizetype m = 0;
    quint64 h = 0;
    bool plie = false;
    const auto melanger = [&h](quint32 v) {
        h = (h ^ v) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
    };
    for (qsizetype i = 0; i < n;) {
        qsizetype s = std::min(kTranche, n - i);
        if constexpr (std::is_same_v<U, char16_t>)
            if (i + s < n && QChar::isHighSurrogate(d[i + s - 1]))
                ++s; // a pair stays whole
        m = t.ecrireMajuscules(d + i, s, b + m) - b;
        i += s;
        for (; m > kBloc; m -= kBloc) {
            melanger(hacher(b, kBloc));
            plie = true;
            std::copy(b + kBloc, b + m, b);
        }
    }
    if (!plie)
        return hacher(b, m);
    melanger(hacher(b, m));
    return quint32(h ^ (h >> 32));
}

template <class U>
void Table::compterLot(const Apport<U>* lot, size_t nb)
{
    quint32 haches[kLot];
    for (size_t k = 0; k < nb; ++k)
        haches[k] = hacherMajuscules(lot[k].d, lot[k].n);
    placerLot(lot, nb, haches);
}

template <class U>
void Table::placerLot(const Apport<U>* lot, size_t nb, const quint32* haches)
{
    for (size_t k = 0; k < nb; ++k)
        index_.prechargerCase(haches[k]);
    for (size_t k = 0; k < nb; ++k)
        if (const quint32 p = index_.premierePlace(haches[k]); p != Index::kLibre)
            LEXORQUINE_PRECHARGER(arene_.at(p));
    index_.reserverPour(nb);
    for (size_t k = 0; k < nb; ++k) {
        const Apport<U>& a = lot[k];
        size_t libre = 0;
        quint32 place = index_.chercher(
            haches[k],
            [&](quint32 p) {
                return surMot(p,
                              [&](const auto* mot, qsizetype m) {
                                  return memeOrthographe(mot, m, a.d, a.n);
                              })
                    || memeMajuscule(p, a.d, a.n);
            },
            libre);
        if (place == Index::kLibre)
            place = ajouter(a.d, a.n, haches[k], libre);
        fixerCompte(place, compte(place) + a.compte);
    }
    garderPetit(majuscules_);
    garderPetit(autres_);
}

template <class U>
quint32 Table::ajouter(const U* d, qsizetype n, quint32 h, size_t libre)
{
    const qsizetype longueur = n - std::count(d, d + n, U('\n'));
    const bool octets = toutEnCp1252(d, n);
    const size_t unites = octets ? (size_t(longueur) + 1) / 2 : size_t(longueur);
    const quint32 place = arene_.allouer(8 + ((unites + 1) & ~size_t(1)));
    char16_t* e = arene_.at(place);
    const quint32 l = quint32(longueur) | (octets ? 0 : kLarge);
    std::memcpy(e + 4, &l, sizeof l); // the count is already 0
    std::memcpy(e + 6, &h, sizeof h);
    if (octets)
        copierSansSauts(d, n, reinterpret_cast<char*>(e + 8));
    else
        copierSansSauts(d, n, e + 8);
    toutEnOctets_ = toutEnOctets_ && octets;
    ordre_.push_back(place);
    index_.occuper(libre, h, place);
    return place;
}

template void Table::compterLot(const Apport<char16_t>*, size_t);
template void Table::compterLot(const Apport<char>*, size_t);

void Table::fusionner(const Table& suite, const std::stop_token& arret)
{
    // In entry order, with the hashes kept in the records; a batch holds words of one form.
    Apport<char> octets[kLot];
    Apport<char16_t> larges[kLot];
    quint32 haches[kLot];
    size_t nb = 0;
    bool formeOctets = true;
    const auto placer = [&] {
        if (formeOctets)
            placerLot(octets, nb, haches);
        else
            placerLot(larges, nb, haches);
        nb = 0;
    };
    for (size_t i = 0; i < suite.ordre_.size(); ++i) {
        if (i % kLot == 0 && arret.stop_requested())
            return;
        const quint32 origine = suite.ordre_[i];
        if (nb == kLot || (nb > 0 && suite.enOctets(origine) != formeOctets))
            placer();
        formeOctets = suite.enOctets(origine);
        haches[nb] = suite.hacheDe(origine);
        const qint64 compte = suite.compte(origine);
        suite.surMot(origine, [&](const auto* d, qsizetype n) {
            if constexpr (std::is_same_v<decltype(d), const char*>)
                octets[nb] = {d, n, compte};
            else
                larges[nb] = {d, n, compte};
        });
        ++nb;
    }
    placer();
}

void Table::trier()
{
    const size_t n = ordre_.size();
    // The order of a stable sort on the counts, greatest first. Most counts
    // are small (a few words make up much of a text, most words are rare), so
    // those go by counting sort; the few large ones by an ordinary sort on
    // (count, entry number).
    constexpr qint64 kPetit = 4096;
    std::vector<size_t> parCompte(size_t(kPetit) + 2, 0);
    std::vector<std::pair<qint64, size_t>> grands;
    bool trie = true;
    qint64 precedent = 0;
    for (size_t i = 0; i < n; ++i) {
        const qint64 c = compte(ordre_[i]);
        if (i > 0 && c > precedent)
            trie = false;
        precedent = c;
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
    std::vector<quint32> ordre(n);
    for (size_t g = 0; g < grands.size(); ++g)
        ordre[g] = ordre_[grands[g].second];
    for (size_t i = 0; i < n; ++i)
        if (const qint64 c = compte(ordre_[i]); c <= kPetit)
            ordre[parCompte[size_t(c)]++] = ordre_[i];
    ordre_.swap(ordre);
}

namespace {

constexpr char16_t kEntete[] = u" Occurrence des mots \r\n ------------------------------";
constexpr qsizetype kLongueurEntete = qsizetype(std::size(kEntete)) - 1;
constexpr char16_t kAvant[] = u"\r\n   ";
constexpr char16_t kApres[] = u"     ";

// Writes the units of a report line by line.
template <class C>
struct Ecriture {
    C* p;
    void ecrire(const char* s, qsizetype n)
    {
        if constexpr (std::is_same_v<C, char>)
            std::memcpy(p, s, size_t(n));
        else
            elargirCp1252(s, n, p);
        p += n;
    }
    void ecrire(const char16_t* s, qsizetype n)
    {
        if constexpr (std::is_same_v<C, char16_t>) {
            std::memcpy(p, s, size_t(n) * sizeof(char16_t));
            p += n;
        } else {
            for (qsizetype i = 0; i < n; ++i)
                *p++ = char(octetCp1252(s[i]));
        }
    }
    void ecrireNombre(quint64 v)
    {
        char16_t chiffres[20];
        int nc = 0;
        do {
            chiffres[nc++] = char16_t(u'0' + v % 10);
            v /= 10;
        } while (v != 0);
        while (nc > 0)
            *p++ = C(chiffres[--nc]);
    }
};

} // namespace

template <class C>
void Table::ecrireRapport(C* sortie) const
{
    Ecriture<C> e{sortie};
    e.ecrire(kEntete, kLongueurEntete);
    for (size_t k = 0; k < ordre_.size(); ++k) {
        prechargerApres(k);
        const quint32 place = ordre_[k];
        e.ecrire(kAvant, 5);
        e.ecrireNombre(quint64(compte(place)));
        e.ecrire(kApres, 5);
        surMot(place, [&e](const auto* mot, qsizetype n) { e.ecrire(mot, n); });
    }
}

Texte Table::rapport() const
{
    qsizetype taille = kLongueurEntete;
    for (size_t k = 0; k < ordre_.size(); ++k) {
        prechargerApres(k);
        qsizetype chiffres = 1;
        for (quint64 v = quint64(compte(ordre_[k])); v >= 10; v /= 10)
            ++chiffres;
        taille += 5 + chiffres + 5 + longueur(ordre_[k]);
    }
    if (toutEnOctets_) {
        QByteArray octets(taille, Qt::Uninitialized);
        ecrireRapport(octets.data());
        return Texte::enCp1252(std::move(octets));
    }
    QString rapport(taille, Qt::Uninitialized);
    ecrireRapport(reinterpret_cast<char16_t*>(rapport.data()));
    return Texte(std::move(rapport));
}

} // namespace lexique
