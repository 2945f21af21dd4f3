// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How much memory opening a file may take, and how much this process can still get.

#include <QByteArrayView>
#include <QString>

#include <functional>

// Bytes this process can still allocate, or -1 when the system does not say.
using SourceMemoire = std::function<qint64()>;

// The system's figure: MemAvailable of /proc/meminfo, and when an address-space limit is set,
// no more than that limit less the address space already in use.
qint64 memoireDisponible();

// The same from the texts of /proc/meminfo and /proc/self/status and the address-space limit
// in bytes (-1 for none).
qint64 memoireDisponibleSelon(QByteArrayView meminfo, QByteArrayView status, qint64 limiteEspace);

// The most an open of a file of this many bytes may need at its peak: the loaded text, the
// line index of the text view and the analysis, for the costliest text of that size.
qint64 besoinMemoireOuverture(qint64 tailleFichier);

// "Le fichier est trop grand pour la mémoire disponible : N Mio nécessaires, M Mio disponibles."
QString texteMemoireInsuffisante(qint64 besoin, qint64 disponible);

// Freed memory of the threads that read and analyse a text goes back to one shared pool rather
// than staying in one pool per thread, so that a second open reuses it.
void partagerMemoireLiberee();
