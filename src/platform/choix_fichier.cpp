// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/choix_fichier.h"

#include <QFileDialog>
#include <QMessageBox>

QString ChoixFichierQt::choisirFichierTexte(QWidget* parent)
{
    // Qt's name filters ignore letter case, so conte.TXT and conte.Txt are offered too.
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Ouvrir un fichier texte"),
                                        QString(), QStringLiteral("Fichier texte (*.txt)"));
}

QString ChoixFichierQt::choisirFichierListe(QWidget* parent, const QString& propose)
{
    QFileDialog dialogue(parent, QStringLiteral("Enregistrer la liste des mots"), propose,
                         QStringLiteral("Liste pour tableur (*.csv)"));
    dialogue.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without its extension still gives a file the spreadsheet recognises.
    dialogue.setDefaultSuffix(QStringLiteral("csv"));
    dialogue.selectFile(propose);
    if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty())
        return {};
    return dialogue.selectedFiles().constFirst();
}

void ChoixFichierQt::montrerErreur(QWidget* parent, const QString& message)
{
    QMessageBox::warning(parent, QStringLiteral("Lexorquine"), message);
}
