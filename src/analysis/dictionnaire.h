// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A hash of keys, an index from hashes to records, and the set of
// exact spellings the analysis looks every word up in, laid out so that a
// lookup costs few cache misses.

#include "analysis/arene.h"
#include "analysis/compilateur.h"

#include <QtGlobal>

#include <bit>
#include <cstring>
#include <limits>
#include <vector>

namespace lexique {

// The last 1 to 7 bytes of a key as one 64-bit word, the rest zero; loads of
// fixed size, which compile to plain moves where a variable-size copy would
// be a library call.
inline quint64 derniersOctets(const unsigned char* p, size_t n) noexcept
{
    quint64 v = 0;
    size_t i = 0;
    if (n & 4) {
        quint32 a;
        std::memcpy(&a, p, 4);
        v = a;
        i = 4;
    }
    if (n & 2) {
        quint16 b;
        std::memcpy(&b, p + i, 2);
        v |= quint64(b) << (8 * i);
        i += 2;
    }
    if (n & 1)
        v |= quint64(p[i]) << (8 * i);
    return v;
}

// A key of n bytes, 1 to 8, as one 64-bit word, the rest zero. With
// `avantLisible`, the 8 bytes before p may be read: it is then one load and a
// shift, with no branch on the length, which words make unpredictable.
inline quint64 courte(const unsigned char* p, size_t n, bool avantLisible) noexcept
{
    if (std::endian::native != std::endian::little || !avantLisible)
        return n == 8 ? courte(p, 8, true) : derniersOctets(p, n);
    quint64 v;
    std::memcpy(&v, p + n - 8, sizeof v);
    return v >> (8 * (8 - n));
}

inline quint64 huit(const unsigned char* p) noexcept
{
    quint64 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// A key of up to 8 bytes is one word; a longer one its first 8 bytes, the 8-byte words
// that follow, and its last 8 bytes, which may overlap them. The final mix spreads every
// input bit over the low 32 bits, which are the only ones the index uses.
inline quint32 hacherOctets(const unsigned char* p, size_t n, bool avantLisible = false) noexcept
{
    constexpr quint64 k = 0x9E3779B97F4A7C15ull;
    quint64 h = quint64(n) * 0xC2B2AE3D27D4EB4Full;
    const auto melanger = [&h](quint64 v) {
        h = (h ^ v) * k;
        h ^= h >> 28;
    };
    if (n <= 8) {
        if (n > 0)
            melanger(courte(p, n, avantLisible));
    } else {
        for (size_t i = 0; i + 8 < n; i += 8)
            melanger(huit(p + i));
        melanger(huit(p + n - 8));
    }
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    h ^= h >> 32;
    return quint32(h);
}

// The hash of n units: UTF-16, or the bytes of a Windows-1252 text.
template <class U>
quint32 hacher(const U* p, qsizetype n, bool avantLisible = false) noexcept
{
    return hacherOctets(reinterpret_cast<const unsigned char*>(p), size_t(n) * sizeof(U),
                        avantLisible);
}

// Hashes to record places: open addressing with linear probing, kept at most
// three quarters full (a smaller index stays in cache better, and probes
// mostly stay within one line). A slot is the hash and the place, 8 bytes.
class Index {
public:
    static constexpr quint32 kLibre = std::numeric_limits<quint32>::max();

    Index() { effacer(); }

    void effacer()
    {
        cases_.assign(16, Case{0, kLibre});
        masque_ = 15;
        nb_ = 0;
    }

    size_t taille() const noexcept { return nb_; }

    // Room for n more places without growing.
    void reserverPour(size_t n)
    {
        size_t voulu = cases_.size();
        while ((nb_ + n) * 4 > voulu * 3)
            voulu *= 2;
        if (voulu != cases_.size())
            redimensionner(voulu);
    }

    // The place of hash h that `egal(place)` accepts, or kLibre; then `libre`
    // is the slot where it goes.
    template <class Egal>
    quint32 chercher(quint32 h, Egal&& egal, size_t& libre) const
    {
        for (size_t i = h & masque_;; i = (i + 1) & masque_) {
            const Case c = cases_[i];
            if (c.place == kLibre) {
                libre = i;
                return kLibre;
            }
            if (c.hache == h && egal(c.place))
                return c.place;
        }
    }

    // After chercher found nothing, with room reserved beforehand.
    void occuper(size_t libre, quint32 h, quint32 place) noexcept
    {
        cases_[libre] = {h, place};
        ++nb_;
    }

    void prechargerCase(quint32 h) const noexcept { LEXORQUINE_PRECHARGER(&cases_[h & masque_]); }
    // The place in the first slot of h, to prefetch its record; kLibre if free.
    quint32 premierePlace(quint32 h) const noexcept { return cases_[h & masque_].place; }

private:
    struct Case {
        quint32 hache;
        quint32 place;
    };

    void redimensionner(size_t n)
    {
        std::vector<Case> anciennes(n, Case{0, kLibre});
        anciennes.swap(cases_);
        masque_ = n - 1;
        for (const Case& c : anciennes) {
            if (c.place == kLibre)
                continue;
            size_t i = c.hache & masque_;
            while (cases_[i].place != kLibre)
                i = (i + 1) & masque_;
            cases_[i] = c;
        }
    }

    std::vector<Case> cases_;
    size_t masque_ = 0;
    size_t nb_ = 0;
};

// Exact comparison of n bytes of a record, zero-padded to a multiple of 8 and
// with 8 bytes before it, with those of a key, by the same words as the hash.
inline bool memesOctets(const unsigned char* enregistre, const unsigned char* cle, size_t n,
                        bool avantLisible = false) noexcept
{
    if (n <= 8)
        return n == 0 || courte(enregistre, n, true) == courte(cle, n, avantLisible);
    for (size_t i = 0; i + 8 < n; i += 8)
        if (huit(enregistre + i) != huit(cle + i))
            return false;
    return huit(enregistre + n - 8) == huit(cle + n - 8);
}

// A set of keys (strings of units U: UTF-16, or the bytes of a Windows-1252
// text) in insertion order, each with a 32-bit value. A record is the length
// and the value (8 bytes), then the key's bytes zero-padded to a multiple of 8.
template <class U>
class DictionnaireDe {
public:
    static constexpr quint32 kAbsente = Index::kLibre;

    // The arena's units a record of a key of n units takes.
    static size_t unitesEnregistrement(qsizetype n) noexcept
    {
        return 4 + (size_t(n) * sizeof(U) + 7) / 8 * 4;
    }

    size_t taille() const noexcept { return index_.taille(); }

    // Place of the key's record; a new key gets the value 0 and sets `ajoutee`.
    // `avantLisible`: the 8 bytes before the key may be read (see hacherOctets).
    quint32 trouverOuAjouter(const U* cle, qsizetype n, quint32 h, bool& ajoutee,
                             bool avantLisible = false)
    {
        index_.reserverPour(1);
        size_t libre = 0;
        const quint32 trouvee = index_.chercher(
            h, [&](quint32 place) { return egal(place, cle, n, avantLisible); }, libre);
        if (trouvee != kAbsente) {
            ajoutee = false;
            return trouvee;
        }
        const quint32 place = arene_.allouer(unitesEnregistrement(n));
        char16_t* e = arene_.at(place);
        const quint32 longueur = quint32(n);
        std::memcpy(e, &longueur, 4);
        std::memcpy(e + 4, cle, size_t(n) * sizeof(U)); // padding already zero
        index_.occuper(libre, h, place);
        ajoutee = true;
        return place;
    }

    // Place of the key's record, or kAbsente; changes nothing.
    quint32 trouver(const U* cle, qsizetype n, quint32 h) const noexcept
    {
        size_t libre = 0;
        return index_.chercher(
            h, [&](quint32 place) { return egal(place, cle, n); }, libre);
    }

    struct Demande {
        const U* cle;
        qsizetype n;
        quint32 h;
    };

    // trouver over a batch, calling f(k, place) for each, with the slots and
    // records prefetched for the whole batch first, so that the cache misses
    // of rare words overlap instead of queueing.
    template <class F>
    void trouverLot(const Demande* d, size_t nb, F&& f) const
    {
        for (size_t k = 0; k < nb; ++k)
            prechargerCase(d[k].h);
        for (size_t k = 0; k < nb; ++k)
            prechargerEnregistrement(d[k].h);
        for (size_t k = 0; k < nb; ++k)
            f(k, trouver(d[k].cle, d[k].n, d[k].h));
    }

    void reserverPour(size_t n) { index_.reserverPour(n); }
    void prechargerCase(quint32 h) const noexcept { index_.prechargerCase(h); }
    void prechargerEnregistrement(quint32 h) const noexcept
    {
        const quint32 place = index_.premierePlace(h);
        if (place != kAbsente)
            LEXORQUINE_PRECHARGER(arene_.at(place));
    }

    quint32 valeur(quint32 place) const noexcept
    {
        quint32 v;
        std::memcpy(&v, arene_.at(place) + 2, 4);
        return v;
    }
    void fixerValeur(quint32 place, quint32 v) noexcept
    {
        std::memcpy(arene_.at(place) + 2, &v, 4);
    }
    const U* cle(quint32 place) const noexcept
    {
        return reinterpret_cast<const U*>(arene_.at(place) + 4);
    }
    qsizetype longueur(quint32 place) const noexcept
    {
        quint32 n;
        std::memcpy(&n, arene_.at(place), 4);
        return qsizetype(n);
    }

    // Calls f(units, length, value) for every key, in insertion order.
    template <class F>
    void pourChaque(F&& f) const
    {
        for (size_t p = 0; p < arene_.fin();) {
            const qsizetype n = longueur(quint32(p));
            if (n == 0) { // the zeros left at the end of a block
                p = Arene::blocSuivant(p);
                continue;
            }
            f(cle(quint32(p)), n, valeur(quint32(p)));
            p = Arene::apres(p, unitesEnregistrement(n));
        }
    }

private:
    bool egal(quint32 place, const U* cle, qsizetype n, bool avantLisible = false) const noexcept
    {
        const char16_t* e = arene_.at(place);
        quint32 longueur;
        std::memcpy(&longueur, e, 4);
        return qsizetype(longueur) == n
            && memesOctets(reinterpret_cast<const unsigned char*>(e + 4),
                           reinterpret_cast<const unsigned char*>(cle), size_t(n) * sizeof(U),
                           avantLisible);
    }

    Arene arene_;
    Index index_;
};

using Dictionnaire = DictionnaireDe<char16_t>;

} // namespace lexique
