// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The word-occurrence table: its entries in table order, each a record of
// the count (4 units), the length (2 units), the hash of the capital form
// (2 units) and the spelling of the word's first occurrence (in Windows-1252
// bytes, or in UTF-16 for a word that has none), and an index
// from capital forms to the records. The capital forms are not kept: a
// lookup compares spellings first, and works out capital forms only when
// they differ.

#include "analysis/arene.h"
#include "analysis/dictionnaire.h"
#include "text/texte.h"

#include <QString>
#include <QStringView>

#include <cstring>
#include <stop_token>
#include <utility>
#include <vector>

namespace lexique {

class Table {
public:
    qsizetype nbEntrees() const noexcept { return qsizetype(ordre_.size()); }
    // Entries count from 0 here.
    QString mot(qsizetype i) const;
    qint64 occurrences(qsizetype i) const noexcept { return compte(ordre_[size_t(i)]); }

    // `compte` occurrences of the word run d[0, n), whose line feeds are left
    // out. Units are UTF-16, or the bytes of a Windows-1252 text.
    template <class U>
    struct Apport {
        const U* d;
        qsizetype n;
        qint64 compte;
    };
    static constexpr size_t kLot = 16;
    // Room for n more entries, so that the index grows once.
    void reserverPour(size_t n)
    {
        index_.reserverPour(n);
        ordre_.reserve(ordre_.size() + n);
    }
    // Counts each word of lot[0, nb), nb ≤ kLot, in the record of its capital
    // form, made as the last entry when the table has none. The lookups of a
    // batch are prefetched together.
    template <class U>
    void compterLot(const Apport<U>* lot, size_t nb);

    // `suite` was built from the text that follows this table's: its entries
    // come after this table's, in their order.
    void fusionner(const Table& suite, const std::stop_token& arret = {});

    // Greatest count first; equal counts keep their order.
    void trier();
    void echanger(qsizetype a, qsizetype b) noexcept
    {
        std::swap(ordre_[size_t(a)], ordre_[size_t(b)]);
    }

    // In Windows-1252 bytes when the words are kept so.
    Texte rapport() const;

private:
    qint64 compte(quint32 place) const noexcept
    {
        qint64 c;
        std::memcpy(&c, arene_.at(place), sizeof c);
        return c;
    }
    void fixerCompte(quint32 place, qint64 c) noexcept
    {
        std::memcpy(arene_.at(place), &c, sizeof c);
    }
    // The top bit of a record's length marks a word kept in UTF-16.
    static constexpr quint32 kLarge = quint32(1) << 31;
    quint32 longueurMarquee(quint32 place) const noexcept
    {
        quint32 n;
        std::memcpy(&n, arene_.at(place) + 4, sizeof n);
        return n;
    }
    qsizetype longueur(quint32 place) const noexcept
    {
        return qsizetype(longueurMarquee(place) & ~kLarge);
    }
    bool enOctets(quint32 place) const noexcept { return !(longueurMarquee(place) & kLarge); }
    // Where the record's word starts: UTF-16 units, or bytes two to a unit.
    const char16_t* debutMot(quint32 place) const noexcept { return arene_.at(place) + 8; }
    // f(the word's characters, their number), as bytes or UTF-16 units.
    template <class F>
    decltype(auto) surMot(quint32 place, F&& f) const
    {
        const char16_t* mot = debutMot(place);
        if (enOctets(place))
            return f(reinterpret_cast<const char*>(mot), longueur(place));
        return f(mot, longueur(place));
    }
    quint32 hacheDe(quint32 place) const noexcept
    {
        quint32 h;
        std::memcpy(&h, arene_.at(place) + 6, sizeof h);
        return h;
    }
    // The lookups of a batch, with the hash of each word's capital form.
    template <class U>
    void placerLot(const Apport<U>* lot, size_t nb, const quint32* haches);
    template <class U>
    quint32 hacherMajuscules(const U* d, qsizetype n);
    template <class C>
    void ecrireRapport(C* sortie) const;
    // Sorted, the records come in no order: the one a few entries ahead is fetched early.
    void prechargerApres(size_t k) const noexcept
    {
        constexpr size_t kAvance = 8;
        if (k + kAvance < ordre_.size())
            LEXORQUINE_PRECHARGER(arene_.at(ordre_[k + kAvance]));
    }
    // Whether the word of the record has the capital form of d[0, n).
    template <class U>
    bool memeMajuscule(quint32 place, const U* d, qsizetype n);
    // A new entry for the spelling d[0, n), after the index had no place for
    // its capital form of hash h and gave the free slot `libre`.
    template <class U>
    quint32 ajouter(const U* d, qsizetype n, quint32 h, size_t libre);

    // No word is kept in UTF-16: the report can be in bytes.
    bool toutEnOctets_ = true;
    Arene arene_;
    Index index_;
    std::vector<quint32> ordre_; // the record of each entry, in table order
    // Scratch room for capital forms, kept to reuse its memory.
    std::vector<char16_t> majuscules_;
    std::vector<char16_t> autres_;
    std::vector<char16_t> tampon_; // a slice of a capital form, for its hash
};

} // namespace lexique
