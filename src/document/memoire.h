// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How much memory opening a file may take, and what the user is told when there is not enough.

#include "platform/memoire_systeme.h"

#include <QString>

// The most an open of a file of this many bytes may need at its peak: the loaded text, the
// line index of the text view and the analysis, for the costliest text of that size.
qint64 besoinMemoireOuverture(qint64 tailleFichier);

// "Le fichier est trop grand pour la mémoire disponible : N Mio nécessaires, M Mio disponibles."
QString texteMemoireInsuffisante(qint64 besoin, qint64 disponible);
