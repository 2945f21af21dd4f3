// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analyseur.h"
#include "analysis/dictionnaire.h"
#include "analysis/occurrences.h"
#include "analysis/wc.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Table = std::vector<std::pair<QString, qint64>>;

Table contenu(const lexique::Table& t)
{
    Table r;
    for (qsizetype i = 0; i < t.nbEntrees(); ++i)
        r.emplace_back(t.mot(i), t.occurrences(i));
    return r;
}

Table contenu(const TableOccurrences& t)
{
    Table r;
    for (qsizetype i = 1; i <= t.NbMotsTab(); ++i)
        r.emplace_back(t.mot(i), t.occurrences(i));
    return r;
}

QString q(const char16_t* s) { return QString::fromUtf16(s); }

const char16_t* unites(const QString& s) { return reinterpret_cast<const char16_t*>(s.utf16()); }

struct Tranches {
    const char16_t* debut;
    const char16_t* suite;
    qint64 mots;
    qint64 differents;
    Table table;
};

// Two consecutive slices, analysed apart and merged, as the two threads do.
TEST(Analyseur, TranchesFusionnees)
{
    const Tranches cas[] = {
        {u"le chat et le chien ",
         u"Le chat, puis rien.\r\n",
         9,
         7,
         {{q(u"le"), 3},
          {q(u"chat"), 2},
          {q(u"et"), 1},
          {q(u"chien"), 1},
          {q(u"puis"), 1},
          {q(u"rien"), 1}}},
        // The first entry of a word that only the second slice holds comes
        // after all those of the first.
        {u"a b b ", u"C B c d", 7, 6, {{q(u"b"), 3}, {q(u"C"), 2}, {q(u"a"), 1}, {q(u"d"), 1}}},
        {u"", u"un un", 2, 1, {{q(u"un"), 2}}},
        // A word of wc of the second slice that the first holds only as a run of the table.
        {u"a&b a&b", u" a", 3, 2, {{q(u"a"), 3}, {q(u"b"), 2}}},
        {u"un un", u"", 2, 1, {{q(u"un"), 2}}},
        // Spellings that are no word of wc, in either slice.
        {u"l'homme ", u"L'HOMME l'\n", 5, 4, {{q(u"l'homme"), 2}, {q(u"l'"), 1}}},
    };
    for (const Tranches& c : cas) {
        // Merged as a part that others follow, and as the last one.
        for (const bool derniere : {false, true}) {
            SCOPED_TRACE(q(c.debut).toStdString() + "|" + q(c.suite).toStdString()
                         + (derniere ? " last" : ""));
            lexique::Analyseur a(lexique::Toutes);
            lexique::Analyseur b(lexique::Toutes);
            a.ajouterTexte(q(c.debut));
            b.ajouterTexte(q(c.suite));
            a.fusionnerMots(b, {}, derniere);
            a.fusionnerTable(b);
            a.table().trier();
            EXPECT_EQ(a.mots(), c.mots);
            EXPECT_EQ(a.motsDifferents(), c.differents);
            EXPECT_EQ(contenu(a.table()), c.table);
        }
    }
}

// Keys on both sides of the arena's block size, so that records end blocks,
// skip their ends and take blocks of their own.
TEST(Dictionnaire, ClesDeToutesLongueurs)
{
    const qsizetype bloc = qsizetype(lexique::Arene::kBloc);
    const qsizetype longueurs[]
        = {1,        2,        3,    4,        5,        7, 8,        9,  bloc - 5,
           bloc - 4, bloc - 3, bloc, bloc + 1, 3 * bloc, 1, bloc - 8, 12, 2 * bloc + 3};
    std::vector<QString> cles;
    lexique::Dictionnaire d;
    for (qsizetype n : longueurs) {
        QString cle(n, QChar(u'a' + char16_t(cles.size() % 26)));
        cle[0] = QChar(char16_t(0x100 + cles.size()));
        bool ajoutee = false;
        const quint32 place
            = d.trouverOuAjouter(unites(cle), n, lexique::hacher(unites(cle), n), ajoutee);
        ASSERT_TRUE(ajoutee) << n;
        d.fixerValeur(place, quint32(cles.size()) + 7);
        cles.push_back(cle);
    }
    const lexique::Dictionnaire copie = d;
    d = lexique::Dictionnaire(); // the copy owns its records
    ASSERT_EQ(copie.taille(), cles.size());

    std::vector<std::pair<QString, quint32>> vues;
    copie.pourChaque([&](const char16_t* cle, qsizetype n, quint32 valeur) {
        vues.emplace_back(QString::fromUtf16(cle, n), valeur);
    });
    ASSERT_EQ(vues.size(), cles.size());
    for (size_t i = 0; i < cles.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(vues[i].first, cles[i]);
        EXPECT_EQ(vues[i].second, quint32(i) + 7);
        const quint32 place = copie.trouver(unites(cles[i]), cles[i].size(),
                                            lexique::hacher(unites(cles[i]), cles[i].size()));
        ASSERT_NE(place, lexique::Dictionnaire::kAbsente);
        EXPECT_EQ(copie.valeur(place), quint32(i) + 7);
        // One unit shorter is another key, and absent.
        EXPECT_EQ(copie.trouver(unites(cles[i]), cles[i].size() - 1,
                                lexique::hacher(unites(cles[i]), cles[i].size() - 1)),
                  lexique::Dictionnaire::kAbsente);
    }
}

TEST(Occurrences, MotsPlusLongsQuUnBloc)
{
    const QString mot(qsizetype(lexique::Arene::kBloc) + 10, u'm');
    const QString texte = mot + u' ' + mot.toUpper() + QStringLiteral(" a ") + mot.left(3);
    TableOccurrences t;
    t.AnalyserMots(texte);
    EXPECT_EQ(contenu(t), (Table{{mot, 2}, {q(u"a"), 1}, {q(u"mmm"), 1}}));
    EXPECT_TRUE(t.Rapport().contains(QStringLiteral("\r\n   2     ") + mot
                                     + QStringLiteral("\r\n   1     a")));
}

// Long words are hashed by blocks of their capital forms: the same form is one entry wherever
// a capital longer than its letter moves the blocks' bounds.
TEST(Occurrences, LongsMotsParBlocsDeMajuscules)
{
    const QString x(5000, u'x');
    const QString a(1023, u'a');
    const struct {
        QString premier, second;
        qsizetype entrees;
    } cas[] = {
        {a + u'ß' + x, a + QStringLiteral("ss") + x, 1},
        {QStringLiteral("ß") + x + x, QStringLiteral("SS") + x.toUpper() + x, 1},
        {a + u'ß' + x, a + QStringLiteral("ss") + x + u'y', 2},
        {x + x + u'a', x + x + u'b', 2},
    };
    for (const auto& c : cas) {
        TableOccurrences t;
        t.AnalyserMots(c.premier + u' ' + c.second);
        ASSERT_EQ(t.NbMotsTab(), c.entrees);
        EXPECT_EQ(t.mot(1), c.premier);
        EXPECT_EQ(t.occurrences(1), 3 - c.entrees);
    }
}

// A copy is a table of its own; a table moved from is empty.
TEST(Occurrences, CopieIndependante)
{
    TableOccurrences t;
    t.AnalyserMots(u"un deux deux");
    const TableOccurrences copie = t;
    t.AjouterMot(u"UN");
    t.AjouterMot(u"trois");
    EXPECT_EQ(contenu(copie), (Table{{q(u"deux"), 2}, {q(u"un"), 1}}));
    EXPECT_EQ(contenu(t), (Table{{q(u"deux"), 2}, {q(u"un"), 2}, {q(u"trois"), 1}}));

    TableOccurrences deplacee = std::move(t);
    EXPECT_EQ(deplacee.NbMotsTab(), 3);
    EXPECT_EQ(t.NbMotsTab(), 0); // NOLINT: the moved-from state is part of the contract
    EXPECT_EQ(t.Rapport(), TableOccurrences().Rapport());
    t.AjouterMot(u"x");
    EXPECT_EQ(contenu(t), (Table{{q(u"x"), 1}}));
}

} // namespace
