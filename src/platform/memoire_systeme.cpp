// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/memoire_systeme.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

#include <QFile>

#if defined(Q_OS_UNIX)
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <limits>
#include <system_error>

namespace {

// The value in kB of a "Nom:   1234 kB" line, in bytes; -1 when the field is missing.
qint64 champEnOctets(QByteArrayView texte, QByteArrayView nom)
{
    qsizetype debut = 0;
    while (debut < texte.size()) {
        qsizetype fin = texte.indexOf('\n', debut);
        if (fin < 0)
            fin = texte.size();
        const QByteArrayView ligne = texte.sliced(debut, fin - debut);
        if (ligne.startsWith(nom) && ligne.size() > nom.size() && ligne[nom.size()] == ':') {
            bool ok = false;
            QByteArrayView valeur = ligne.sliced(nom.size() + 1).trimmed();
            if (valeur.endsWith("kB"))
                valeur = valeur.chopped(2).trimmed();
            const qint64 ko = valeur.toLongLong(&ok);
            return ok && ko >= 0 ? ko * 1024 : -1;
        }
        debut = fin + 1;
    }
    return -1;
}

QByteArray lireFichierSysteme(const char* chemin)
{
    QFile f(QString::fromLatin1(chemin));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace

qint64 memoireDisponibleSelon(QByteArrayView meminfo, QByteArrayView status, qint64 limiteEspace)
{
    qint64 disponible = champEnOctets(meminfo, "MemAvailable");
    if (limiteEspace >= 0) {
        const qint64 utilise = champEnOctets(status, "VmSize");
        // Without the size in use, the whole limit is the best that can be said.
        const qint64 reste = std::max<qint64>(0, limiteEspace - std::max<qint64>(0, utilise));
        disponible = disponible < 0 ? reste : std::min(disponible, reste);
    }
    return disponible;
}

qint64 memoireDisponible()
{
    qint64 limite = -1;
#if defined(Q_OS_UNIX)
    rlimit espace{};
    if (getrlimit(RLIMIT_AS, &espace) == 0 && espace.rlim_cur != RLIM_INFINITY)
        limite
            = qint64(std::min<rlim_t>(espace.rlim_cur, rlim_t(std::numeric_limits<qint64>::max())));
#endif
    return memoireDisponibleSelon(lireFichierSysteme("/proc/meminfo"),
                                  lireFichierSysteme("/proc/self/status"), limite);
}

void partagerMemoireLiberee()
{
#ifdef M_ARENA_MAX
    mallopt(M_ARENA_MAX, 2);
#endif
}

void rendrePages(void* debut, qsizetype octets) noexcept
{
#if defined(MADV_DONTNEED)
    const quintptr taillePage = quintptr(sysconf(_SC_PAGESIZE));
    const quintptr d = (quintptr(debut) + taillePage - 1) & ~(taillePage - 1);
    const quintptr f = (quintptr(debut) + quintptr(octets)) & ~(taillePage - 1);
    if (f > d)
        madvise(reinterpret_cast<void*>(d), f - d, MADV_DONTNEED);
#else
    Q_UNUSED(debut);
    Q_UNUSED(octets);
#endif
}

PagesPreparees::PagesPreparees(void* debut, qsizetype octets)
{
#if defined(MADV_POPULATE_WRITE)
    const auto tranches = [debut, octets](std::stop_token arret) {
        constexpr quintptr kTranche = quintptr(4) << 20;
        const quintptr taillePage = quintptr(sysconf(_SC_PAGESIZE));
        const quintptr d = (quintptr(debut) + taillePage - 1) & ~(taillePage - 1);
        quintptr f = (quintptr(debut) + quintptr(octets)) & ~(taillePage - 1);
        // From the end, towards the writes, which come from the start: neither waits for the
        // pages the other is on until they meet. An older system refuses the advice: the
        // writes then take the pages as before.
        while (f > d && !arret.stop_requested()) {
            const quintptr n = std::min(kTranche, f - d);
            if (madvise(reinterpret_cast<void*>(f - n), n, MADV_POPULATE_WRITE) != 0)
                return;
            f -= n;
        }
    };
    try {
        fil_ = std::jthread(tranches);
    } catch (const std::system_error&) {
        // No thread to spare: nothing is lost but time.
    }
#else
    Q_UNUSED(debut);
    Q_UNUSED(octets);
#endif
}
