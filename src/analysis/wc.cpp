// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/wc.h"

#include "analysis/analyseur.h"
#include "analysis/classes.h"
#include "analysis/courses.h"

namespace wc {

QString NormaliserTexte(QStringView texte)
{
    QString resultat(texte.size(), Qt::Uninitialized);
    char16_t* sortie = reinterpret_cast<char16_t*>(resultat.data());
    qsizetype n = 0;
    bool apresBlanc = false;
    for (QChar q : texte) {
        const char16_t c = q.unicode();
        if (lexique::estBlanc(c)) {
            if (!apresBlanc)
                sortie[n++] = u' ';
            apresBlanc = true;
        } else {
            sortie[n++] = c;
            apresBlanc = false;
        }
    }
    resultat.truncate(n);
    return resultat;
}

qint64 CompterMots(QStringView texte)
{
    const char16_t* d = texte.utf16();
    const lexique::MasqueBlancs masque = lexique::masqueBlancs();
    return lexique::compterCourses(
        texte.size(), [d, masque](qsizetype base) { return ~masque(d + base); },
        [d](qsizetype i) { return !lexique::estBlanc(d[i]); });
}

qint64 CompterMotsDifferents(QStringView texte)
{
    lexique::Analyseur analyse(lexique::MotsWc);
    analyse.ajouterTexte(texte);
    return analyse.motsDifferents();
}

} // namespace wc
