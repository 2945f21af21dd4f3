// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/ouverture.h"

#include <QFileInfo>

#include <future>
#include <new>
#include <system_error>

namespace {

// The message for a failure. Building it may fail in turn: a sentence that needs no memory is
// left then.
template <class Construire>
QString messageSur(Construire&& construire) noexcept
{
    try {
        return construire();
    } catch (...) {
        return QStringLiteral("Impossible d'ouvrir le fichier : la mémoire manque.");
    }
}

std::unique_ptr<DocumentOuvert> ouvrir(const QString& chemin, const std::stop_token& arret,
                                       const SourceMemoire& memoire, qsizetype tailleBloc, int fils,
                                       QString& erreur)
{
    LectureFichier lecture
        = lireFichierTexte(chemin, arret, memoire, kTailleMaximaleFichier, tailleBloc);
    if (!lecture.ok()) {
        erreur = lecture.erreur;
        return nullptr;
    }
    auto document = std::make_unique<DocumentOuvert>();
    document->charge = std::move(lecture.charge);
    document->analyse = analyserTexte(document->charge.texte, arret, fils);
    if (arret.stop_requested())
        return nullptr;
    document->lignesRapport = IndexLignes(document->analyse.rapport, arret);
    if (arret.stop_requested())
        return nullptr;
    return document;
}

} // namespace

Ouverture preparerOuverture(const QString& chemin, std::stop_token arret,
                            const SourceMemoire& memoire, qsizetype tailleBloc, int fils) noexcept
{
    Ouverture o;
    o.chemin = chemin;
    try {
        o.document = ouvrir(chemin, arret, memoire, tailleBloc, fils, o.erreur);
    } catch (const std::bad_alloc&) {
        // Past the estimate made before reading: the text needed more than its size foretold.
        // What was built is gone by now.
        o.erreur = messageSur([&] {
            const qint64 besoin = besoinMemoireOuverture(QFileInfo(chemin).size());
            return texteEchecLecture(chemin,
                                     texteMemoireInsuffisante(besoin, memoire ? memoire() : -1));
        });
    } catch (...) {
        o.erreur = messageSur([&] {
            return texteEchecLecture(
                chemin, QStringLiteral("Une erreur inattendue a interrompu la lecture."));
        });
    }
    return o;
}
