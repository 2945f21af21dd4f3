// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_view/positions_texte.h"

#include "document/fins_de_ligne.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

// Graphemes are looked for in this many characters around a position: a cluster is a few
// characters (a line break always ends one), and a key press never costs more, whatever the
// text.
constexpr qsizetype kFenetre = 128;

} // namespace

qsizetype positionNormalisee(QStringView texte, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, texte.size());
    return entreCrEtLf(texte, position) ? position + 1 : position;
}

qsizetype positionSuivante(QStringView texte, qsizetype position)
{
    if (position >= texte.size())
        return texte.size();
    position = std::max<qsizetype>(position, 0);
    const QStringView fenetre = texte.mid(position, kFenetre);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, fenetre.data(), fenetre.size());
    const qsizetype pas = graphemes.toNextBoundary();
    return position + (pas > 0 ? pas : fenetre.size());
}

qsizetype positionPrecedente(QStringView texte, qsizetype position)
{
    if (position <= 0)
        return 0;
    position = std::min(position, texte.size());
    const qsizetype debut = std::max<qsizetype>(0, position - kFenetre);
    const QStringView fenetre = texte.mid(debut, position - debut);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, fenetre.data(), fenetre.size());
    graphemes.toEnd();
    const qsizetype avant = graphemes.toPreviousBoundary();
    return debut + std::max<qsizetype>(avant, 0);
}

qsizetype debutGrapheme(QStringView texte, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, texte.size());
    return position == texte.size() ? position
                                    : positionPrecedente(texte, positionSuivante(texte, position));
}

bool estDansMot(QStringView texte, qsizetype position)
{
    return position >= 0 && position < texte.size()
        && (texte[position].isLetterOrNumber() || texte[position] == u'_');
}

namespace {

// The moves by words, on a text of either kind: they read one character at a time.
template <class T>
qsizetype motSuivantDans(const T& texte, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, texte.size());
    while (estDansMot(texte, position))
        ++position;
    while (position < texte.size() && !estDansMot(texte, position))
        ++position;
    return positionNormalisee(texte, position);
}

template <class T>
qsizetype motPrecedentDans(const T& texte, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, texte.size());
    while (position > 0 && !estDansMot(texte, position - 1))
        --position;
    while (estDansMot(texte, position - 1))
        --position;
    return positionNormalisee(texte, position);
}

template <class T>
std::pair<qsizetype, qsizetype> motAutourDans(const T& texte, qsizetype position)
{
    qsizetype debut = std::clamp<qsizetype>(position, 0, texte.size());
    qsizetype fin = debut;
    while (estDansMot(texte, debut - 1))
        --debut;
    while (estDansMot(texte, fin))
        ++fin;
    return {debut, fin};
}

bool estDeMot(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

} // namespace

qsizetype motSuivant(QStringView texte, qsizetype position)
{
    return motSuivantDans(texte, position);
}

qsizetype motPrecedent(QStringView texte, qsizetype position)
{
    return motPrecedentDans(texte, position);
}

std::pair<qsizetype, qsizetype> motAutour(QStringView texte, qsizetype position)
{
    return motAutourDans(texte, position);
}

// In the byte form, the graphemes are found in a short stretch widened for the moment.

qsizetype positionNormalisee(const Texte& texte, qsizetype position)
{
    if (!texte.estEnOctets())
        return positionNormalisee(texte.utf16(), position);
    position = std::clamp<qsizetype>(position, 0, texte.size());
    const bool entre = position > 0 && position < texte.size() && texte.at(position - 1) == u'\r'
        && texte.at(position) == u'\n';
    return entre ? position + 1 : position;
}

qsizetype positionSuivante(const Texte& texte, qsizetype position)
{
    if (!texte.estEnOctets())
        return positionSuivante(texte.utf16(), position);
    if (position >= texte.size())
        return texte.size();
    position = std::max<qsizetype>(position, 0);
    const Extrait fenetre = texte.extrait(position, kFenetre);
    return position + positionSuivante(fenetre.vue(), 0);
}

qsizetype positionPrecedente(const Texte& texte, qsizetype position)
{
    if (!texte.estEnOctets())
        return positionPrecedente(texte.utf16(), position);
    if (position <= 0)
        return 0;
    position = std::min(position, texte.size());
    const qsizetype debut = std::max<qsizetype>(0, position - kFenetre);
    const Extrait fenetre = texte.extrait(debut, position - debut);
    return debut + positionPrecedente(fenetre.vue(), fenetre.vue().size());
}

qsizetype debutGrapheme(const Texte& texte, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, texte.size());
    return position == texte.size() ? position
                                    : positionPrecedente(texte, positionSuivante(texte, position));
}

bool estDansMot(const Texte& texte, qsizetype position)
{
    return position >= 0 && position < texte.size() && estDeMot(QChar(texte.at(position)));
}

qsizetype motSuivant(const Texte& texte, qsizetype position)
{
    return motSuivantDans(texte, position);
}

qsizetype motPrecedent(const Texte& texte, qsizetype position)
{
    return motPrecedentDans(texte, position);
}

std::pair<qsizetype, qsizetype> motAutour(const Texte& texte, qsizetype position)
{
    return motAutourDans(texte, position);
}
