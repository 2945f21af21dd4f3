// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis when an allocation fails, on the calling thread or on the
// threads it starts: the failure reaches the caller as std::bad_alloc, and
// nothing is left allocated behind it.

#include "analysis/analyseur.h"
#include "generateur.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

enum class Cote { Appelant, Autres };

std::atomic<bool> gArme{false};
std::atomic<long> gRestantes{0}; // allocations on the watched side before one fails
std::atomic<long> gFaites{0}; // allocations on the watched side while armed
std::atomic<long> gVivantes{0}; // allocated and not yet freed, all threads
Cote gCote = Cote::Appelant;
std::thread::id gAppelant;
bool gAutreErreur = false; // a failure of another kind than lack of memory

void* allouer(std::size_t n)
{
    if (gArme.load(std::memory_order_relaxed)) {
        const bool appelant = std::this_thread::get_id() == gAppelant;
        if (appelant == (gCote == Cote::Appelant)) {
            gFaites.fetch_add(1, std::memory_order_relaxed);
            if (gRestantes.fetch_sub(1, std::memory_order_relaxed) == 0) {
                if (gAutreErreur)
                    throw std::runtime_error("panne");
                throw std::bad_alloc();
            }
        }
    }
    void* p = std::malloc(n != 0 ? n : 1);
    if (p == nullptr)
        throw std::bad_alloc();
    gVivantes.fetch_add(1, std::memory_order_relaxed);
    return p;
}

void liberer(void* p) noexcept
{
    if (p == nullptr)
        return;
    gVivantes.fetch_sub(1, std::memory_order_relaxed);
    std::free(p);
}

// Arms the failure of allocation k (from 0) of the side; k < 0 only counts.
void armer(Cote cote, long k)
{
    gAppelant = std::this_thread::get_id();
    gCote = cote;
    gFaites = 0;
    gRestantes = k < 0 ? std::numeric_limits<long>::max() : k;
    gArme = true;
}

void desarmer() { gArme = false; }

} // namespace

void* operator new(std::size_t n) { return allouer(n); }
void* operator new[](std::size_t n) { return allouer(n); }
void operator delete(void* p) noexcept { liberer(p); }
void operator delete[](void* p) noexcept { liberer(p); }
void operator delete(void* p, std::size_t) noexcept { liberer(p); }
void operator delete[](void* p, std::size_t) noexcept { liberer(p); }

namespace {

TEST(Pannes, AllocationQuiEchoueSurChaqueFil)
{
    std::mt19937_64 alea(11);
    const QString texte = generateur::texteAleatoire(alea, 30000);
    const AnalyseComplete attendu = lexique::analyser(texte, 2); // also builds the class tables

    for (const Cote cote : {Cote::Appelant, Cote::Autres}) {
        SCOPED_TRACE(cote == Cote::Appelant ? "appelant" : "autres fils");
        armer(cote, -1);
        const AnalyseComplete compte = lexique::analyser(texte, 2);
        desarmer();
        const long nb = gFaites;
        ASSERT_GT(nb, 0) << "this side allocates nothing";
        EXPECT_EQ(compte.rapport, attendu.rapport);

        // Every early allocation, then a spread of the others.
        const long pas = std::max(1L, nb / 150);
        for (long k = 0; k < nb; k += (k < 40 ? 1 : pas)) {
            SCOPED_TRACE("allocation " + std::to_string(k) + " of " + std::to_string(nb));
            const long vivantes = gVivantes;
            bool echec = false;
            armer(cote, k);
            try {
                const AnalyseComplete r = lexique::analyser(texte, 2);
                desarmer();
            } catch (const std::bad_alloc&) {
                desarmer();
                echec = true;
            }
            EXPECT_TRUE(echec);
            EXPECT_EQ(gVivantes, vivantes) << "left allocated";
        }
        const AnalyseComplete apres = lexique::analyser(texte, 2);
        EXPECT_EQ(apres.mots, attendu.mots);
        EXPECT_EQ(apres.motsDifferents, attendu.motsDifferents);
        EXPECT_EQ(apres.rapport, attendu.rapport);
    }
}

// Any other failure reaches the caller just the same, from whichever thread, and stops the
// others.
TEST(Pannes, AutreErreurSurChaqueFil)
{
    std::mt19937_64 alea(12);
    const QString texte = generateur::texteAleatoire(alea, 30000);
    lexique::analyser(texte, 3); // builds the class tables, which stay
    gAutreErreur = true;
    for (const Cote cote : {Cote::Appelant, Cote::Autres}) {
        for (const long k : {0L, 5L, 60L}) {
            SCOPED_TRACE(std::to_string(k));
            const long vivantes = gVivantes;
            armer(cote, k);
            EXPECT_THROW(lexique::analyser(texte, 3), std::runtime_error);
            desarmer();
            EXPECT_EQ(gVivantes, vivantes) << "left allocated";
        }
    }
    gAutreErreur = false;
}

} // namespace
