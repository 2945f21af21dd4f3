// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Writing a file that the program produces, such as the list of words for a spreadsheet.

#include <QByteArray>
#include <QString>

// Next to the text and named after it: the list of conte.txt is conte.csv.
QString cheminListePropose(const QString& cheminTexte);

// The whole content or nothing: a file already there stays as it was when the writing fails.
// Returns a French sentence for the user on failure, an empty string on success.
QString enregistrerFichier(const QString& chemin, const QByteArray& contenu);
