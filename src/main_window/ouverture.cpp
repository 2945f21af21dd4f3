// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/ouverture.h"

#include <QFileInfo>

#include <new>

namespace {

Ouverture abandonnee()
{
    Ouverture o;
    o.abandonnee = true;
    return o;
}

} // namespace

Ouverture preparerOuverture(const QString& chemin, const std::atomic<bool>& abandon,
                            const SourceMemoire& memoire)
{
    Ouverture o;
    o.chemin = chemin;
    TextFileRead lu = readTextFile(chemin, kMaxTextFileBytes, memoire);
    if (!lu.ok()) {
        o.erreur = lu.error;
        return o;
    }
    try {
        o.charge = std::move(lu.loaded);
        if (abandon)
            return abandonnee();
        o.lignes = IndexLignes(o.charge.text);
        if (abandon)
            return abandonnee();
        o.analyse = analyserTexte(o.charge.text);
        o.lignesRapport = IndexLignes(o.analyse.rapport);
    } catch (const std::bad_alloc&) {
        // Past the estimate made before reading: the text needed more than its size foretold.
        o = Ouverture(); // what was built goes first
        o.chemin = chemin;
        const qint64 besoin = besoinMemoireOuverture(QFileInfo(chemin).size());
        o.erreur
            = texteEchecLecture(chemin, texteMemoireInsuffisante(besoin, memoire ? memoire() : -1));
    }
    return o;
}
