// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the system says of this process' memory, and the advice it takes about it. Qt Core only.

#include <QByteArrayView>

#include <functional>
#include <thread>

// Bytes this process can still allocate, or -1 when the system does not say.
using SourceMemoire = std::function<qint64()>;

// The system's figure: MemAvailable of /proc/meminfo, and when an address-space limit is set,
// no more than that limit less the address space already in use.
qint64 memoireDisponible();

// The same from the texts of /proc/meminfo and /proc/self/status and the address-space limit
// in bytes (-1 for none).
qint64 memoireDisponibleSelon(QByteArrayView meminfo, QByteArrayView status, qint64 limiteEspace);

// Freed memory of the threads that read and analyse a text goes back to one shared pool rather
// than staying in one pool per thread, so that a second open reuses it.
void partagerMemoireLiberee();

// Gives the whole pages inside [debut, debut + octets) back to the system at once: they read as
// zeros afterwards. Does nothing where the system cannot.
void rendrePages(void* debut, qsizetype octets) noexcept;

// Has the system give [debut, debut + octets) to this process now, zeroed, from a thread of its
// own, ahead of the writes that follow, which then do not each wait for a fresh page. The
// memory is never read or written here, so it may be in use meanwhile. Stops and waits at
// destruction; the memory must outlive it. Does nothing where the system cannot.
class PagesPreparees {
public:
    PagesPreparees() = default;
    PagesPreparees(void* debut, qsizetype octets);
    PagesPreparees(PagesPreparees&&) noexcept = default;
    PagesPreparees& operator=(PagesPreparees&&) noexcept = default;

private:
    std::jthread fil_;
};
