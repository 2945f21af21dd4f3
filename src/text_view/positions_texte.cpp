// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_view/positions_texte.h"

#include <algorithm>

qsizetype positionNormalisee(QStringView texte, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, texte.size());
    if (position > 0 && position < texte.size() && texte[position - 1] == u'\r'
        && texte[position] == u'\n')
        ++position;
    return position;
}

qsizetype positionSuivante(QStringView texte, qsizetype position)
{
    if (position >= texte.size())
        return texte.size();
    position = std::max<qsizetype>(position, 0);
    const QChar c = texte[position];
    const bool paire = position + 1 < texte.size()
        && ((c == u'\r' && texte[position + 1] == u'\n')
            || (c.isHighSurrogate() && texte[position + 1].isLowSurrogate()));
    return position + (paire ? 2 : 1);
}

qsizetype positionPrecedente(QStringView texte, qsizetype position)
{
    if (position <= 0)
        return 0;
    position = std::min(position, texte.size());
    const QChar c = texte[position - 1];
    const bool paire = position >= 2
        && ((c == u'\n' && texte[position - 2] == u'\r')
            || (c.isLowSurrogate() && texte[position - 2].isHighSurrogate()));
    return position - (paire ? 2 : 1);
}

qsizetype horsDePaire(QStringView texte, qsizetype position)
{
    if (position > 0 && position < texte.size() && texte[position].isLowSurrogate()
        && texte[position - 1].isHighSurrogate())
        ++position;
    return position;
}

bool estDansMot(QStringView texte, qsizetype position)
{
    return position >= 0 && position < texte.size()
        && (texte[position].isLetterOrNumber() || texte[position] == u'_');
}

qsizetype motSuivant(QStringView texte, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, texte.size());
    while (estDansMot(texte, position))
        ++position;
    while (position < texte.size() && !estDansMot(texte, position))
        ++position;
    return positionNormalisee(texte, position);
}

qsizetype motPrecedent(QStringView texte, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, texte.size());
    while (position > 0 && !estDansMot(texte, position - 1))
        --position;
    while (estDansMot(texte, position - 1))
        --position;
    return positionNormalisee(texte, position);
}

std::pair<qsizetype, qsizetype> motAutour(QStringView texte, qsizetype position)
{
    qsizetype debut = std::clamp<qsizetype>(position, 0, texte.size());
    qsizetype fin = debut;
    while (estDansMot(texte, debut - 1))
        --debut;
    while (estDansMot(texte, fin))
        ++fin;
    return {debut, fin};
}
