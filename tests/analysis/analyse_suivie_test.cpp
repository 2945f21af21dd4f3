// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis that follows a growing text gives what the analysis of the whole text gives,
// wherever the text stood each time the follower looked, and wherever the writer cut in.
#include "analysis/analyse_suivie.h"
#include "generateur.h"

#include <gtest/gtest.h>

#include <random>

namespace {

void attendreLeMeme(const AnalyseComplete& obtenu, const AnalyseComplete& attendu)
{
    EXPECT_EQ(obtenu.mots, attendu.mots);
    EXPECT_EQ(obtenu.motsDifferents, attendu.motsDifferents);
    EXPECT_EQ(obtenu.table.NbMotsTab(), attendu.table.NbMotsTab());
    EXPECT_EQ(obtenu.rapport, attendu.rapport);
}

// Plays both threads in turn: the text grows by random steps; the follower looks at it a
// random number of times between two steps; once the text is whole the writer takes its half
// after `avantPartage` more looks. The follower may still hold a look taken before the end.
AnalyseComplete suivre(const QString& texte, std::mt19937_64& alea, qsizetype morceau,
                       int avantPartage)
{
    AnalyseSuivie analyse(morceau, 8);
    const QStringView tout(texte);
    qsizetype ecrit = 0;
    qsizetype avant = 0;
    auto regarder = [&](bool entier) {
        return analyse.avancer(tout.first(ecrit), entier) == AnalyseSuivie::Pas::Fini;
    };
    while (ecrit < texte.size()) {
        avant = ecrit;
        ecrit = std::min(texte.size(), ecrit + qsizetype(alea() % (3 * morceau + 1)));
        for (int fois = int(alea() % 3); fois > 0; --fois)
            regarder(false);
    }
    bool fini = false;
    for (int fois = 0; fois < avantPartage && !fini; ++fois)
        fini = regarder(true);
    analyse.partager(tout);
    if (!fini)
        fini = analyse.avancer(tout.first(avant), false) == AnalyseSuivie::Pas::Fini;
    while (!fini)
        fini = regarder(true);
    return analyse.resultat();
}

TEST(AnalyseSuivie, CommeLeTexteEntier)
{
    const QString cas[] = {
        QString(),
        QStringLiteral("un deux\r\ntrois\r\n"),
        QStringLiteral("L'été, l'ÉTÉ ; aujourd'hui\r\n12 345\r\n").repeated(40),
        // No place to cut: the follower waits for the end, the writer takes nothing.
        QString(3000, u'x') + QStringLiteral("\r\n"),
        QStringLiteral("a b, c ").repeated(300) + QString(5000, u'x'),
        // Only line feeds between the words of the table.
        (QStringLiteral("ab\n") + QString(700, u'c') + QStringLiteral("\nd")).repeated(5),
        QStringLiteral("l'l'l'").repeated(500) + QStringLiteral(" fin"),
    };
    std::mt19937_64 alea(20261209);
    for (const QString& texte : cas) {
        SCOPED_TRACE(texte.left(30).toStdString());
        const AnalyseComplete attendu = lexique::analyser(texte, 1);
        for (qsizetype morceau : {1, 7, 64, 1000})
            for (int avantPartage : {0, 2, 1000})
                attendreLeMeme(suivre(texte, alea, morceau, avantPartage), attendu);
    }
}

TEST(AnalyseSuivie, TextesAleatoires)
{
    std::mt19937_64 alea(7);
    for (int i = 0; i < 200; ++i) {
        const QString texte = generateur::texteAleatoire(alea, 1 + int(alea() % 400));
        SCOPED_TRACE(i);
        attendreLeMeme(suivre(texte, alea, 1 + qsizetype(alea() % 200), int(alea() % 4)),
                       lexique::analyser(texte, 1));
    }
}

TEST(AnalyseSuivie, RecommenceQuandLeTexteEstRecrit)
{
    const QString avant = QStringLiteral("caf\u00C3\u00A9 caf\u00C3\u00A9 th\u00C3\u00A9 ");
    const QString apres = QStringLiteral("café café thé ").repeated(50);
    AnalyseSuivie analyse(4, 8);
    while (analyse.avancer(avant.repeated(20), false) == AnalyseSuivie::Pas::Avance) { }
    analyse.recommencer();
    analyse.partager(apres);
    while (analyse.avancer(apres, true) != AnalyseSuivie::Pas::Fini) { }
    attendreLeMeme(analyse.resultat(), lexique::analyser(apres, 1));
}

} // namespace
