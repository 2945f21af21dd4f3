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

void ChoixFichierQt::montrerErreur(QWidget* parent, const QString& message)
{
    QMessageBox::warning(parent, QStringLiteral("Lexorquine"), message);
}
