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

// The units of d[0, n) as UTF-16, line feeds left out; returns the end.
char16_t* copierSansSauts(const char16_t* d, qsizetype n, char16_t* sortie)
{
    return std::remove_copy(d, d + n, sortie, u'\n');
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

// Whether the stored spelling is d[0, n), unit for unit.
bool memeOrthographe(QStringView mot, const char16_t* d, qsizetype n) noexcept
{
    return mot.size() == n && std::equal(d, d + n, mot.utf16());
}
bool memeOrthographe(QStringView mot, const char* d, qsizetype n) noexcept
{
    if (mot.size() != n)
        return false;
    for (qsizetype i = 0; i < n; ++i)
        if (mot.utf16()[i] != versCp1252(static_cast<unsigned char>(d[i])))
            return false;
    return true;
}

} // namespace

template <class U>
bool Table::memeMajuscule(quint32 place, const U* d, qsizetype n)
{
    const QStringView mot = motDe(place);
    majuscules_.clear();
    autres_.clear();
    const qsizetype longueur = ecrireMajuscules(majuscules_, d, n);
    return ecrireMajuscules(autres_, mot.utf16(), mot.size()) == longueur
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
                return memeOrthographe(motDe(p), a.d, a.n) || memeMajuscule(p, a.d, a.n);
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
    const quint32 place = arene_.allouer(8 + ((size_t(longueur) + 1) & ~size_t(1)));
    char16_t* e = arene_.at(place);
    const quint32 l = quint32(longueur);
    std::memcpy(e + 4, &l, sizeof l); // the count is already 0
    std::memcpy(e + 6, &h, sizeof h);
    copierSansSauts(d, n, e + 8);
    ordre_.push_back(place);
    index_.occuper(libre, h, place);
    return place;
}

template void Table::compterLot(const Apport<char16_t>*, size_t);
template void Table::compterLot(const Apport<char>*, size_t);

void Table::fusionner(const Table& suite, const std::stop_token& arret)
{
    // In entry order, with the hashes kept in the records.
    Apport<char16_t> lot[kLot];
    quint32 haches[kLot];
    for (size_t debut = 0; debut < suite.ordre_.size(); debut += kLot) {
        if (arret.stop_requested())
            return;
        const size_t nb = std::min(kLot, suite.ordre_.size() - debut);
        for (size_t k = 0; k < nb; ++k) {
            const quint32 origine = suite.ordre_[debut + k];
            const QStringView mot = suite.motDe(origine);
            lot[k] = {mot.utf16(), mot.size(), suite.compte(origine)};
            haches[k] = suite.hacheDe(origine);
        }
        placerLot(lot, nb, haches);
    }
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
    void ecrire(const char16_t* s, qsizetype n)
    {
        if constexpr (std::is_same_v<C, char16_t>) {
            std::memcpy(p, s, size_t(n) * sizeof(char16_t));
            p += n;
        } else {
            for (qsizetype i = 0; i < n; ++i)
                *p++ = char(s[i] < 0x80 || (s[i] >= 0xA0 && s[i] < 0x100) ? s[i]
                                                                          : octetCp1252(s[i]));
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
        const QStringView mot = motDe(place);
        e.ecrire(mot.utf16(), mot.size());
    }
}

Texte Table::rapport(bool enOctets) const
{
    qsizetype taille = kLongueurEntete;
    for (size_t k = 0; k < ordre_.size(); ++k) {
        prechargerApres(k);
        qsizetype chiffres = 1;
        for (quint64 v = quint64(compte(ordre_[k])); v >= 10; v /= 10)
            ++chiffres;
        taille += 5 + chiffres + 5 + motDe(ordre_[k]).size();
    }
    if (enOctets) {
        QByteArray octets(taille, Qt::Uninitialized);
        ecrireRapport(octets.data());
        return Texte::enCp1252(std::move(octets));
    }
    QString rapport(taille, Qt::Uninitialized);
    ecrireRapport(reinterpret_cast<char16_t*>(rapport.data()));
    return Texte(std::move(rapport));
}

} // namespace lexique
