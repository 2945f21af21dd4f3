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

// The report keeps its words' bytes, whatever the text's form, until a word has none.
TEST(Analyse, RapportEnOctetsTantQueLesMotsEnOnt)
{
    const QString texte = QStringLiteral("cœur Cœur été\r\n€uro l'été");
    QByteArray octets;
    for (QChar c : texte)
        octets.append(char(octetCp1252(c.unicode())));
    const QString attendu
        = QStringLiteral(" Occurrence des mots \r\n ------------------------------"
                         "\r\n   2     cœur\r\n   1     été\r\n   1     uro"
                         "\r\n   1     l'été");
    const AnalyseComplete enOctets = analyserTexte(Texte::enCp1252(octets));
    EXPECT_TRUE(enOctets.rapport.estEnOctets());
    EXPECT_EQ(enOctets.rapport, attendu);
    const AnalyseComplete large = analyserTexte(texte);
    EXPECT_TRUE(large.rapport.estEnOctets());
    EXPECT_EQ(large.rapport, attendu);

    // Words added later: one with a byte keeps the table in bytes; one without turns it to
    // UTF-16, every entry kept in its place.
    TableOccurrences t = enOctets.table;
    t.AjouterMot(u"ÉTÉ");
    EXPECT_TRUE(t.TexteRapport().estEnOctets());
    t.AjouterMot(u"ωmega");
    t.AjouterMot(u"CŒUR");
    EXPECT_FALSE(t.TexteRapport().estEnOctets());
    EXPECT_EQ(
        t.Rapport(),
        QStringLiteral(" Occurrence des mots \r\n ------------------------------\r\n   3     cœur"
                       "\r\n   2     été\r\n   1     uro\r\n   1     l'été\r\n   1     ωmega"));
}

} // namespace
