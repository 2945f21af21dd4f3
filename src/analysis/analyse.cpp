// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analyse.h"

#include "analysis/analyseur.h"

#include <QThread>

#include <algorithm>
#include <exception>
#include <functional>
#include <optional>
#include <system_error>
#include <thread>
#include <type_traits>
#include <vector>

namespace lexique {

namespace {

template <class U>
AnalyseComplete resultat(AnalyseurDe<U>& analyse, const std::stop_token& arret)
{
    analyse.libererMots();
    AnalyseComplete r;
    r.mots = analyse.mots();
    r.motsDifferents = analyse.motsDifferents();
    if (arret.stop_requested())
        return r;
    r.table = TableOccurrences(std::move(analyse.table()));
    r.table.TrierMots();
    if (arret.stop_requested())
        return r;
    r.rapport = r.table.TexteRapport();
    return r;
}

// Runs each task on a thread of its own but the first, which runs here; a task whose thread
// cannot be started runs here too. The first failure stops the others at their next piece and
// reaches the caller once every thread is over. Each task's failure has a slot of its own, read
// only after the join.
template <class Tache>
void enParallele(std::vector<Tache>& taches, std::stop_source& arret)
{
    std::vector<std::exception_ptr> erreurs(taches.size());
    {
        std::vector<std::jthread> fils;
        fils.reserve(taches.size());
        const auto garder = [&](size_t k) noexcept {
            try {
                taches[k]();
            } catch (...) {
                erreurs[k] = std::current_exception();
                arret.request_stop();
            }
        };
        for (size_t k = 1; k < taches.size(); ++k) {
            try {
                fils.emplace_back(garder, k);
            } catch (const std::system_error&) {
                garder(k);
            }
        }
        if (!taches.empty())
            garder(0);
    }
    for (const std::exception_ptr& e : erreurs)
        if (e)
            std::rethrow_exception(e);
}

// Cuts where no word goes on, near each k-th of the text; fewer pieces when cuts are scarce.
template <class T>
std::vector<qsizetype> coupures(T texte, int parts)
{
    std::vector<qsizetype> c{0};
    for (int k = 1; k < parts; ++k) {
        const qsizetype visee = std::max(c.back() + 1, texte.size() * k / parts);
        const qsizetype coupure = coupureVers(texte, c.back() + 1, visee, texte.size());
        if (coupure > c.back())
            c.push_back(coupure);
    }
    c.push_back(texte.size());
    return c;
}

} // namespace

namespace {

QStringView partie(QStringView texte, qsizetype de, qsizetype n) { return texte.sliced(de, n); }
VueOctets partie(VueOctets texte, qsizetype de, qsizetype n)
{
    return {texte.octets.sliced(de, n)};
}

// Bytes are looked up as bytes.
template <class T>
using AnalyseurPour = std::conditional_t<std::is_same_v<T, VueOctets>, AnalyseurOctets, Analyseur>;

template <class T>
AnalyseComplete analyserFormes(T texte, int fils, std::stop_token arretDemande)
{
    using A = AnalyseurPour<T>;
    const std::vector<qsizetype> bornes = coupures(texte, std::max(1, fils));
    const size_t parts = bornes.size() - 1;
    // Stopped on request or by a failure of any part.
    std::stop_source arret;
    const std::stop_callback relais(arretDemande, [&] { arret.request_stop(); });

    std::vector<std::optional<A>> analyses(parts);
    std::vector<std::function<void()>> taches;
    for (size_t k = 0; k < parts; ++k)
        taches.emplace_back([&, k] {
            // Filled on the thread's own stack and moved out at the end, so that the threads
            // never write to the same cache line.
            A a(Toutes);
            a.ajouterTexte(partie(texte, bornes[k], bornes[k + 1] - bornes[k]), arret.get_token());
            a.table(); // here, on each part's thread: the merges then read tables only
            analyses[k].emplace(std::move(a));
        });
    enParallele(taches, arret);
    if (arret.stop_requested())
        return {};
    // Neighbours merge by pairs, the pairs of a round side by side: n parts take log2(n)
    // rounds, and each part's words still come after those of the parts before it.
    for (size_t pas = 1; pas < parts; pas *= 2) {
        const bool derniere = 2 * pas >= parts;
        std::vector<std::function<void()>> fusions;
        for (size_t k = 0; k + pas < parts; k += 2 * pas)
            fusions.emplace_back([&, k, pas, derniere] {
                fusionner(*analyses[k], *analyses[k + pas], derniere, arret.get_token());
                analyses[k + pas].reset();
            });
        enParallele(fusions, arret);
        if (arret.stop_requested())
            return {};
    }
    return resultat(*analyses[0], arret.get_token());
}

} // namespace

AnalyseComplete analyser(QStringView texte, int fils, std::stop_token arret)
{
    return analyserFormes(texte, fils, std::move(arret));
}

AnalyseComplete analyser(const Texte& texte, int fils, std::stop_token arret)
{
    if (texte.estEnOctets())
        return analyserFormes(VueOctets{texte.octets()}, fils, std::move(arret));
    return analyserFormes(texte.utf16(), fils, std::move(arret));
}

template <class U>
void fusionner(AnalyseurDe<U>& debut, AnalyseurDe<U>& suite, bool derniere,
               const std::stop_token& arret)
{
    // The two merges run side by side: one thread has the sets of spellings, the other only
    // the two tables, taken out first.
    Table& tableDebut = debut.table();
    const Table tableSuite = std::move(suite.table());
    std::stop_source arretFusions;
    const std::stop_callback relais(arret, [&] { arretFusions.request_stop(); });
    const std::stop_token jeton = arretFusions.get_token();
    std::vector<std::function<void()>> taches;
    taches.emplace_back(
        [&debut, &suite, derniere, jeton] { debut.fusionnerMots(suite, jeton, derniere); });
    taches.emplace_back(
        [&tableDebut, &tableSuite, jeton] { tableDebut.fusionner(tableSuite, jeton); });
    enParallele(taches, arretFusions);
    suite.libererMots();
    if (derniere)
        debut.libererMots();
}

template void fusionner(Analyseur&, Analyseur&, bool, const std::stop_token&);
template void fusionner(AnalyseurOctets&, AnalyseurOctets&, bool, const std::stop_token&);

} // namespace lexique

namespace {

// Below this a second thread costs more than it saves.
constexpr qsizetype kParFil = 1 << 15;

} // namespace

namespace {

int filsUtiles(qsizetype taille, int fils)
{
    if (fils <= 0)
        fils = std::max(1, QThread::idealThreadCount());
    const qsizetype utiles = std::max<qsizetype>(1, taille / kParFil);
    return int(std::min<qsizetype>(fils, utiles));
}

} // namespace

AnalyseComplete analyserTexte(QStringView texte, std::stop_token arret, int fils)
{
    return lexique::analyser(texte, filsUtiles(texte.size(), fils), std::move(arret));
}

AnalyseComplete analyserTexte(const Texte& texte, std::stop_token arret, int fils)
{
    return lexique::analyser(texte, filsUtiles(texte.size(), fils), std::move(arret));
}
