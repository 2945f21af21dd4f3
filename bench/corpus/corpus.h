// SPDX-License-Identifier: GPL-3.0-or-later
// Where the benchmarks find the texts that bench/corpus/creer-corpus builds: $LEXORQUINE_CORPUS
// when set, else the folder chosen at configure time (-DLEXORQUINE_CORPUS=...).
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>

inline QString dossierCorpus()
{
    const QString dossier = qEnvironmentVariable("LEXORQUINE_CORPUS");
    return dossier.isEmpty() ? QStringLiteral(LEXORQUINE_CORPUS_DEFAUT) : dossier;
}

// A file named on the command line: as given when it exists, else taken from the corpus folder,
// so that "medium.cp1252.crlf.txt" is enough.
inline QString fichierCorpus(const QString& nom)
{
    if (QFileInfo::exists(nom))
        return nom;
    return QDir(dossierCorpus()).filePath(nom);
}
