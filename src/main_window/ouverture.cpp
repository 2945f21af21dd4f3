// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/ouverture.h"

#include "analysis/analyse_suivie.h"

#include <QFileInfo>

#include <exception>
#include <new>
#include <system_error>
#include <thread>

namespace {

Ouverture abandonnee()
{
    Ouverture o;
    o.abandonnee = true;
    return o;
}

// The follower's side: analyses the text while it is read, until its part is done, the read
// fails or it is asked to stop.
void suivre(TexteEnCours& texte, AnalyseSuivie& analyse, std::stop_token arret)
{
    qsizetype vu = -1; // wait for more than this
    int version = 0;
    for (;;) {
        TexteEnCours::Lecture lecture;
        const TexteEnCours::Etat etat = texte.attendre(vu, version, lecture, arret);
        if (etat.echoue || arret.stop_requested())
            return;
        if (etat.version != version) {
            analyse.recommencer();
            version = etat.version;
        }
        const QStringView ecrit(etat.texte, etat.taille);
        switch (analyse.avancer(ecrit, etat.fini, arret)) {
        case AnalyseSuivie::Pas::Fini:
            return;
        case AnalyseSuivie::Pas::Attend:
            vu = etat.taille;
            break;
        case AnalyseSuivie::Pas::Avance:
            vu = -1;
            break;
        }
    }
}

// The follower on a thread of its own; none when no thread can be started.
std::jthread lancerSuivi(TexteEnCours& texte, AnalyseSuivie& analyse, std::exception_ptr& erreur)
{
    try {
        return std::jthread([&](std::stop_token arret) {
            try {
                suivre(texte, analyse, arret);
            } catch (...) {
                erreur = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        return {};
    }
}

} // namespace

Ouverture preparerOuverture(const QString& chemin, const std::atomic<bool>& abandon,
                            const SourceMemoire& memoire, const ReglagesOuverture& reglages)
{
    Ouverture o;
    o.chemin = chemin;
    // The analysis follows the reading on a second thread; declared after `o`, it is over
    // before the text goes.
    TexteEnCours enCours;
    AnalyseSuivie analyse(reglages.morceauSuivi, reglages.partageMinimal);
    std::exception_ptr erreurSuivi;
    std::jthread suivi = lancerSuivi(enCours, analyse, erreurSuivi);
    try {
        TextFileRead lu = readTextFile(chemin, kMaxTextFileBytes, memoire,
                                       suivi.joinable() ? &enCours : nullptr, reglages.bloc);
        if (!lu.ok()) {
            o.erreur = lu.error;
            return o;
        }
        o.charge = std::move(lu.loaded);
        if (abandon)
            return abandonnee();
        o.lignes = IndexLignes(o.charge.text);
        if (abandon)
            return abandonnee();
        if (suivi.joinable()) {
            analyse.partager(o.charge.text);
            suivi.join();
            if (erreurSuivi)
                std::rethrow_exception(erreurSuivi);
            o.analyse = analyse.resultat();
        } else {
            o.analyse = analyserTexte(o.charge.text);
        }
        o.lignesRapport = IndexLignes(o.analyse.rapport);
    } catch (const std::bad_alloc&) {
        // Past the estimate made before reading: the text needed more than its size foretold.
        if (suivi.joinable()) {
            suivi.request_stop();
            suivi.join();
        }
        o = Ouverture(); // what was built goes first
        o.chemin = chemin;
        const qint64 besoin = besoinMemoireOuverture(QFileInfo(chemin).size());
        o.erreur
            = texteEchecLecture(chemin, texteMemoireInsuffisante(besoin, memoire ? memoire() : -1));
    }
    return o;
}
