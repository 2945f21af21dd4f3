// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the word counts and the occurrence table: a hash of UTF-16 text
// and a hash set of words laid out so that a lookup costs few cache misses.

#include <QtGlobal>

#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

namespace analyse_interne {

inline quint64 melanger(quint64 h) noexcept
{
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    h ^= h >> 32;
    return h;
}

// The last 1 to 3 units of a key as one 64-bit word, the rest zero; loads of
// fixed size, which compile to plain moves where a variable-size copy would
// be a library call.
inline quint64 queue(const char16_t* p, qsizetype n) noexcept
{
    quint16 a, b = 0, c = 0;
    std::memcpy(&a, p, 2);
    if (n >= 2)
        std::memcpy(&b, p + 1, 2);
    if (n >= 3)
        std::memcpy(&c, p + 2, 2);
    return quint64(a) | quint64(b) << 16 | quint64(c) << 32;
}

// Four UTF-16 units per step; the final mix spreads every input bit over
// the low 32 bits, which are the only ones the index uses.
inline quint32 hacher(const char16_t* p, qsizetype n) noexcept
{
    constexpr quint64 k = 0x9E3779B97F4A7C15ull;
    quint64 h = quint64(n) * 0xC2B2AE3D27D4EB4Full;
    while (n >= 4) {
        quint64 v;
        std::memcpy(&v, p, sizeof v);
        h = (h ^ v) * k;
        h ^= h >> 28;
        p += 4;
        n -= 4;
    }
    if (n > 0)
        h = (h ^ queue(p, n)) * k;
    h = melanger(h);
    return quint32(h);
}

// Exact comparison of n units; `enregistre` is zero-padded to a whole
// number of 8-byte words, which lets the tail be compared as one word.
inline bool memesUnites(const quint64* enregistre, const char16_t* cle, qsizetype n) noexcept
{
    while (n >= 4) {
        quint64 v;
        std::memcpy(&v, cle, sizeof v);
        if (v != *enregistre)
            return false;
        ++enregistre;
        cle += 4;
        n -= 4;
    }
    return n == 0 || queue(cle, n) == *enregistre;
}

// A set of keys (UTF-16 strings) in insertion order, each with one 64-bit
// value. The keys are copied into one arena, one record after the other:
// the value, the length, then the units padded to 8 bytes. The index is
// open addressing with linear probing, kept at most three quarters full (a
// smaller index stays in cache better, and probes mostly stay within one
// line); a slot is the hash and the record's place, 8 bytes, so a lookup
// touches one slot and one record. Record places are 32-bit counts of 8-byte words: the
// arena can reach 32 GB, well beyond the text this machine can hold.
class Dictionnaire {
public:
    Dictionnaire() { vider(); }

    void vider()
    {
        arena_.clear();
        nb_ = 0;
        cases_.assign(16, Case{0, kLibre});
        masque_ = 15;
    }

    qsizetype taille() const noexcept { return nb_; }

    // Place of the key's record; a new key gets `valeurNouvelle` and sets
    // `ajoutee`. Places stay valid while the dictionary lives.
    size_t trouverOuAjouter(const char16_t* cle, qsizetype n, quint32 h, quint64 valeurNouvelle,
                            bool& ajoutee)
    {
        if (size_t(nb_ + 1) * 4 > cases_.size() * 3)
            redimensionner(cases_.size() * 2);
        size_t i = h & masque_;
        for (;;) {
            const Case c = cases_[i];
            if (c.place == kLibre)
                break;
            if (c.hache == h) {
                quint64* e = arena_.data() + c.place;
                if (qsizetype(e[1]) == n && memesUnites(e + 2, cle, n)) {
                    ajoutee = false;
                    return c.place;
                }
            }
            i = (i + 1) & masque_;
        }
        const size_t place = arena_.size();
        if (place >= kLibre)
            throw std::length_error("too many distinct words");
        const size_t mots = (size_t(n) + 3) / 4;
        arena_.resize(place + 2 + mots);
        quint64* e = arena_.data() + place;
        e[0] = valeurNouvelle;
        e[1] = quint64(n);
        std::memcpy(e + 2, cle, size_t(n) * sizeof(char16_t)); // padding already zero
        cases_[i] = {h, quint32(place)};
        ++nb_;
        ajoutee = true;
        return place;
    }

    struct Demande {
        const char16_t* cle;
        qsizetype n;
        quint32 h;
    };

    // Looks up a batch of keys in order, exactly as trouverOuAjouter would
    // one after the other, calling f(k, place, ajoutee) for each; a new key
    // gets the value valeurNouvelle() returns at that moment. The slots, then
    // the records, are prefetched for the whole batch first, so that the
    // cache misses of rare words overlap instead of queueing.
    template <class V, class F>
    void traiterLot(const Demande* d, size_t nb, V&& valeurNouvelle, F&& f)
    {
        reserverPour(nb);
        for (size_t k = 0; k < nb; ++k)
            prechargerCase(d[k].h);
        for (size_t k = 0; k < nb; ++k)
            prechargerEnregistrement(d[k].h);
        for (size_t k = 0; k < nb; ++k) {
            bool ajoutee = false;
            const size_t place
                = trouverOuAjouter(d[k].cle, d[k].n, d[k].h, valeurNouvelle(), ajoutee);
            f(k, place, ajoutee);
        }
    }

    static constexpr size_t kAbsente = std::numeric_limits<size_t>::max();

    // Place of the key's record, or kAbsente; changes nothing.
    size_t trouver(const char16_t* cle, qsizetype n, quint32 h) const noexcept
    {
        for (size_t i = h & masque_;; i = (i + 1) & masque_) {
            const Case c = cases_[i];
            if (c.place == kLibre)
                return kAbsente;
            if (c.hache == h) {
                const quint64* e = arena_.data() + c.place;
                if (qsizetype(e[1]) == n && memesUnites(e + 2, cle, n))
                    return c.place;
            }
        }
    }

    // trouver over a batch, calling f(k, place) for each, with the slots and
    // records prefetched for the whole batch first.
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

    // Room for n more keys without the index growing.
    void reserverPour(size_t n)
    {
        size_t voulu = cases_.size();
        while ((size_t(nb_) + n) * 4 > voulu * 3)
            voulu *= 2;
        if (voulu != cases_.size())
            redimensionner(voulu);
    }

    void prechargerCase(quint32 h) const noexcept { __builtin_prefetch(&cases_[h & masque_]); }
    void prechargerEnregistrement(quint32 h) const noexcept
    {
        const Case c = cases_[h & masque_];
        if (c.place != kLibre)
            __builtin_prefetch(arena_.data() + c.place);
    }

    quint64& valeur(size_t place) noexcept { return arena_[place]; }
    const char16_t* cle(size_t place) const noexcept
    {
        return reinterpret_cast<const char16_t*>(arena_.data() + place + 2);
    }
    qsizetype longueur(size_t place) const noexcept { return qsizetype(arena_[place + 1]); }

    // Calls f(units, length, value) for every key, in insertion order.
    template <class F>
    void pourChaque(F&& f) const
    {
        for (size_t p = 0; p < arena_.size(); p += 2 + (arena_[p + 1] + 3) / 4)
            f(cle(p), longueur(p), arena_[p]);
    }

private:
    struct Case {
        quint32 hache;
        quint32 place; // in 8-byte words of arena_; kLibre marks a free slot
    };
    static constexpr quint32 kLibre = std::numeric_limits<quint32>::max();

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

    std::vector<quint64> arena_;
    std::vector<Case> cases_;
    size_t masque_ = 0;
    qsizetype nb_ = 0;
};

} // namespace analyse_interne
