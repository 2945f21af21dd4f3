// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analyse.h"

#include <gtest/gtest.h>

namespace {

struct Cas {
    QString texte;
    qint64 mots;
    qint64 differents;
    qsizetype entrees;
};

TEST(Analyse, ComptesApresChargement)
{
    const Cas cas[] = {
        {QString(), 0, 0, 0},
        {QStringLiteral("un deux\r\ntrois\r\n"), 3, 3, 3},
        {QStringLiteral("Chien chat CHAT\r\n"), 3, 3, 2},
        // No place to share the work: one word far beyond the two-thread size.
        {QString(200000, u'x') + QStringLiteral("\r\n"), 1, 1, 1},
        // Places to cut only near the start.
        {QStringLiteral("a b, c ").repeated(3000) + QString(100000, u'x') + QStringLiteral("\r\n"),
         9001, 4, 4},
        // Only line feeds where a cut could go: for the table, one word.
        {(QStringLiteral("ab\n") + QString(100000, u'c') + QStringLiteral("\nd")).repeated(2), 5, 4,
         1},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.texte.left(40).toStdString());
        const AnalyseComplete r = analyserTexte(c.texte);
        EXPECT_EQ(r.mots, c.mots);
        EXPECT_EQ(r.motsDifferents, c.differents);
        EXPECT_EQ(r.table.NbMotsTab(), c.entrees);
        EXPECT_EQ(r.rapport, r.table.Rapport());
    }
}

} // namespace
