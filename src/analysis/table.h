// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The word-occurrence table: its entries in table order, each a record of
// the count (4 units), the length (2 units) and the spelling of the word's
// first occurrence, and an index from capital forms to the records. The
// capital forms are not kept: a lookup works out the stored word's again.

#include "analysis/arene.h"
#include "analysis/dictionnaire.h"

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
    QStringView mot(qsizetype i) const noexcept { return motDe(ordre_[size_t(i)]); }
    qint64 occurrences(qsizetype i) const noexcept { return compte(ordre_[size_t(i)]); }

    // The record of the capital form of d[0, n), a word run whose line feeds
    // are left out; made with a count of 0 as the last entry when the table
    // has none.
    // Units are UTF-16, or the bytes of a Windows-1252 text.
    template <class U>
    quint32 entree(const U* d, qsizetype n);
    void compter(quint32 place, qint64 n = 1) noexcept { fixerCompte(place, compte(place) + n); }
    void precharger(quint32 place) const noexcept { LEXORQUINE_PRECHARGER(arene_.at(place)); }

    // `suite` was built from the text that follows this table's: its entries
    // come after this table's, in their order.
    void fusionner(const Table& suite, const std::stop_token& arret = {});

    // Greatest count first; equal counts keep their order.
    void trier();
    void echanger(qsizetype a, qsizetype b) noexcept
    {
        std::swap(ordre_[size_t(a)], ordre_[size_t(b)]);
    }

    QString rapport() const;

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
    QStringView motDe(quint32 place) const noexcept
    {
        const char16_t* e = arene_.at(place);
        quint32 n;
        std::memcpy(&n, e + 4, sizeof n);
        return QStringView(e + 6, qsizetype(n));
    }
    // Whether the word of the record has the capital form cle[0, n).
    bool memeMajuscule(quint32 place, const char16_t* cle, qsizetype n);
    // A new entry for the spelling d[0, n), after the index had no place for
    // its capital form of hash h and gave the free slot `libre`.
    template <class U>
    quint32 ajouter(const U* d, qsizetype n, quint32 h, size_t libre);

    Arene arene_;
    Index index_;
    std::vector<quint32> ordre_; // the record of each entry, in table order
    // Scratch room for capital forms, kept to reuse its memory.
    std::vector<char16_t> majuscules_;
    std::vector<char16_t> autres_;
};

} // namespace lexique
