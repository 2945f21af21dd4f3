// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/memoire.h"

#include <algorithm>

namespace {

constexpr qint64 kMio = 1024 * 1024;

} // namespace

qint64 besoinMemoireOuverture(qint64 tailleFichier)
{
    // The costliest text per byte is a file of line feeds: each byte becomes CR LF, four bytes
    // of UTF-16, and a line of its own in the view's index (a quarter of a byte per line). Its
    // analysis keeps nothing per line. Prose takes two bytes per byte of text, which leaves
    // the analysis more than twice the file before it costs more than that. Beyond the text,
    // the reading buffers, the analysis' second thread and the report's heading.
    constexpr qint64 kFixe = 64 * kMio;
    const qint64 taille = std::max<qint64>(0, tailleFichier);
    return 4 * taille + taille / 4 + kFixe;
}

QString texteMemoireInsuffisante(qint64 besoin, qint64 disponible)
{
    const qint64 necessaires = (std::max<qint64>(0, besoin) + kMio - 1) / kMio;
    const qint64 disponibles = std::max<qint64>(0, disponible) / kMio;
    return QStringLiteral("Le fichier est trop grand pour la mémoire disponible : %1 Mio "
                          "nécessaires, %2 Mio disponibles.")
        .arg(necessaires)
        .arg(disponibles);
}
