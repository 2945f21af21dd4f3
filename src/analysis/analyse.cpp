// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analyse.h"

#include "analysis/analyseur.h"

#include <exception>
#include <optional>
#include <system_error>
#include <thread>

namespace lexique {

namespace {

AnalyseComplete resultat(Analyseur& analyse)
{
    analyse.libererMots();
    AnalyseComplete r;
    r.mots = analyse.mots();
    r.motsDifferents = analyse.motsDifferents();
    r.table = TableOccurrences(std::move(analyse.table()));
    r.table.TrierMots();
    r.rapport = r.table.Rapport();
    return r;
}

// Runs f on a thread of its own, or here when no thread can be started.
// Its exception, if any, is kept in `erreur`.
template <class F>
std::jthread lancer(F&& f, std::exception_ptr& erreur)
{
    auto garde = [&erreur, f]() mutable {
        try {
            f();
        } catch (...) {
            erreur = std::current_exception();
        }
    };
    try {
        return std::jthread(garde);
    } catch (const std::system_error&) {
        garde();
        return {};
    }
}

} // namespace

AnalyseComplete analyser(QStringView texte, int fils)
{
    qsizetype coupure = -1;
    if (fils >= 2) {
        coupure = premiereCoupure(texte, texte.size() / 2, texte.size());
        if (coupure < 0)
            coupure = derniereCoupure(texte, 1, texte.size() / 2);
    }
    Analyseur debut(Toutes);
    if (coupure < 0) {
        debut.ajouterTexte(texte);
        return resultat(debut);
    }

    // The second half goes to another thread. Either side that fails stops
    // the other at its next piece; the failure reaches the caller once both
    // threads are over.
    std::stop_source arret;
    std::optional<Analyseur> suite;
    std::exception_ptr erreur;
    {
        std::jthread fil = lancer(
            [&] {
                // Filled on the thread's own stack and moved out at the end,
                // so that the two threads never write to the same cache line.
                Analyseur a(Toutes);
                a.ajouterTexte(texte.sliced(coupure), arret.get_token());
                if (!arret.stop_requested())
                    suite.emplace(std::move(a));
            },
            erreur);
        if (erreur)
            arret.request_stop();
        try {
            debut.ajouterTexte(texte.first(coupure), arret.get_token());
        } catch (...) {
            arret.request_stop();
            throw;
        }
        if (fil.joinable())
            fil.join();
    }
    if (erreur)
        std::rethrow_exception(erreur);

    return reunir(debut, &*suite);
}

AnalyseComplete reunir(Analyseur& debut, Analyseur* suite)
{
    if (suite == nullptr)
        return resultat(debut);
    // The word counts are merged on the other thread while this one merges
    // the tables; the sets of spellings go as soon as they have served.
    std::exception_ptr erreur;
    {
        std::jthread fil = lancer(
            [&] {
                debut.fusionnerMots(*suite);
                suite->libererMots();
                debut.libererMots();
            },
            erreur);
        debut.fusionnerTable(*suite);
        if (fil.joinable())
            fil.join();
    }
    if (erreur)
        std::rethrow_exception(erreur);
    suite->table() = Table(); // it goes before the report is built
    return resultat(debut);
}

} // namespace lexique

namespace {

// Below this the second thread costs more than it saves.
constexpr qsizetype kSeuilDeuxFils = 1 << 16;

} // namespace

AnalyseComplete analyserTexte(QStringView texte)
{
    const bool deux = texte.size() >= kSeuilDeuxFils && std::thread::hardware_concurrency() > 1;
    return lexique::analyser(texte, deux ? 2 : 1);
}
