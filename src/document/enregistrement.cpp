// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/enregistrement.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

QString cheminListePropose(const QString& cheminTexte)
{
    const QFileInfo texte(cheminTexte);
    const QString nom = texte.completeBaseName().isEmpty() ? QStringLiteral("occurrences")
                                                           : texte.completeBaseName();
    return QDir(texte.absolutePath()).filePath(nom + QStringLiteral(".csv"));
}

QString enregistrerFichier(const QString& chemin, const QByteArray& contenu)
{
    QSaveFile fichier(chemin);
    const QString nom = QFileInfo(chemin).fileName();
    if (!fichier.open(QIODevice::WriteOnly))
        return QStringLiteral("Impossible d'enregistrer « %1 » : le fichier ne peut pas être créé "
                              "dans ce dossier (dossier absent ou protégé en écriture).")
            .arg(nom);
    if (fichier.write(contenu) != contenu.size() || !fichier.commit())
        return QStringLiteral("Impossible d'enregistrer « %1 » : l'écriture a échoué (disque "
                              "plein ou fichier protégé). Aucun fichier n'a été modifié.")
            .arg(nom);
    return {};
}
