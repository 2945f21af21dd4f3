// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/index_lignes.h"
#include "text/texte.h"

#include <QString>
#include <QStringView>

#include <type_traits>

// Some characters of a loaded text read where they are kept, in either form: a line of
// millions of characters kept as bytes is read one character at a time, never widened whole.
// Valid as long as the characters it reads.
class LigneTexte {
public:
    LigneTexte() = default;
    // Characters already in UTF-16.
    template <class Utf16>
    requires std::is_convertible_v<const Utf16&, QStringView> LigneTexte(const Utf16& caracteres)
    {
        const QStringView vue = caracteres;
        utf16_ = vue.utf16();
        taille_ = vue.size();
    }
    // Characters [debut, debut + longueur) of the text, which holds them.
    LigneTexte(const Texte& texte, qsizetype debut, qsizetype longueur)
        : taille_(longueur)
    {
        if (texte.estEnOctets())
            octets_ = texte.octets().data() + debut;
        else
            utf16_ = texte.utf16().utf16() + debut;
    }

    qsizetype size() const { return taille_; }
    char16_t operator[](qsizetype i) const
    {
        return octets_ ? versCp1252(static_cast<unsigned char>(octets_[i])) : utf16_[i];
    }

    // All of it in UTF-16, for the few who ask for a whole line.
    QString toString() const
    {
        if (!octets_)
            return QString(reinterpret_cast<const QChar*>(utf16_), taille_);
        QString s(taille_, Qt::Uninitialized);
        elargirCp1252(octets_, taille_, reinterpret_cast<char16_t*>(s.data()));
        return s;
    }

private:
    const char16_t* utf16_ = nullptr;
    const char* octets_ = nullptr;
    qsizetype taille_ = 0;
};

// A line of an indexed text without its break; a line out of range is empty.
inline LigneTexte ligneDe(const IndexLignes& lignes, qsizetype numero)
{
    if (numero < 0 || numero >= lignes.nombreLignes())
        return {};
    const qsizetype debut = lignes.debut(numero);
    return LigneTexte(lignes.texte(), debut, lignes.fin(numero) - debut);
}
