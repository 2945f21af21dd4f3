// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/liste_csv.h"

#include "analysis/occurrences.h"

#include <QString>

namespace {

void ajouterChamp(QString& sortie, const QString& champ)
{
    const bool guillemets = champ.contains(u';') || champ.contains(u'"') || champ.contains(u'\r')
        || champ.contains(u'\n');
    if (!guillemets) {
        sortie += champ;
        return;
    }
    sortie += u'"';
    for (const QChar c : champ) {
        if (c == u'"')
            sortie += u'"';
        sortie += c;
    }
    sortie += u'"';
}

} // namespace

QByteArray listeCsv(const TableOccurrences& table)
{
    QString texte;
    texte += QChar(0xFEFF);
    texte += QStringLiteral("Mot;Occurrences\r\n");
    for (qsizetype i = 1; i <= table.NbMotsTab(); ++i) {
        ajouterChamp(texte, table.mot(i));
        texte += u';';
        texte += QString::number(table.occurrences(i));
        texte += QStringLiteral("\r\n");
    }
    return texte.toUtf8();
}
