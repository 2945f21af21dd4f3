// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/occurrences.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Table = std::vector<std::pair<QString, qint64>>;

Table contenu(const TableOccurrences& t)
{
    Table r;
    for (qsizetype i = 1; i <= t.NbMotsTab(); ++i)
        r.emplace_back(t.mot(i), t.occurrences(i));
    return r;
}

Table analyser(const QString& texte)
{
    TableOccurrences t;
    t.AnalyserMots(texte);
    return contenu(t);
}

struct Cas {
    const char16_t* texte;
    Table attendu;
};

const QString q(const char16_t* s) { return QString::fromUtf16(s); }

TEST(Occurrences, TableDesCas)
{
    const Cas cas[] = {
        {u"", {}},
        {u"... \u00AB \u2014 \u00BB !\r\n", {}},
        {u"Chien chat CHAT", {{q(u"chat"), 2}, {q(u"Chien"), 1}}},
        {u"Le chat et le chien.",
         {{q(u"Le"), 2}, {q(u"chat"), 1}, {q(u"et"), 1}, {q(u"chien"), 1}}},
        {u"Le le LE", {{q(u"Le"), 3}}},
        {u"b a a c c c b", {{q(u"c"), 3}, {q(u"b"), 2}, {q(u"a"), 2}}},
        // The straight apostrophe is part of a word, the typographic one is not.
        {u"l'homme", {{q(u"l'homme"), 1}}},
        {u"l\u2019homme", {{q(u"l"), 1}, {q(u"homme"), 1}}},
        {u"'mot'", {{q(u"'mot'"), 1}}},
        {u"x-y_z 3,14 2006",
         {{q(u"x"), 1}, {q(u"y"), 1}, {q(u"z"), 1}, {q(u"3"), 1}, {q(u"14"), 1}, {q(u"2006"), 1}}},
        // A line feed is skipped: it neither ends a word nor belongs to it.
        {u"un\ndeux", {{q(u"undeux"), 1}}},
        {u"un\r\ndeux", {{q(u"un"), 1}, {q(u"deux"), 1}}},
        {u"\nun\n\n deux\n", {{q(u"un"), 1}, {q(u"deux"), 1}}},
        {u"la fin", {{q(u"la"), 1}, {q(u"fin"), 1}}},
        // Accented capitals and ligatures are letters; case is ignored through
        // the full capital forms.
        {u"\u00C9t\u00E9 \u00E9t\u00E9", {{q(u"\u00C9t\u00E9"), 2}}},
        {u"c\u0153ur C\u0152UR", {{q(u"c\u0153ur"), 2}}},
        {u"\u00FF \u0178", {{q(u"\u00FF"), 2}}},
        {u"\u00C7a \u00E7a", {{q(u"\u00C7a"), 2}}},
        {u"stra\u00DFe STRASSE", {{q(u"stra\u00DFe"), 2}}},
        {u"\u0161ko\u017E \u0160KO\u017D", {{q(u"\u0161ko\u017E"), 2}}},
        // Signs stay separators, × and ÷ included.
        {u"a\u00F7b a\u00D7b", {{q(u"a"), 2}, {q(u"b"), 2}}},
        {u"a\u00A0b\u00B0c\u20ACd", {{q(u"a"), 1}, {q(u"b"), 1}, {q(u"c"), 1}, {q(u"d"), 1}}},
        // Beyond Windows-1252: other scripts, combining marks, surrogate pairs.
        {u"\u03C3\u03BF\u03C6\u03CC\u03C2 \u03A3\u039F\u03A6\u038C\u03A3",
         {{q(u"\u03C3\u03BF\u03C6\u03CC\u03C2"), 2}}},
        {u"e\u0301te\u0301", {{q(u"e\u0301te\u0301"), 1}}},
        {u"\U00010428\U00010429 \U00010400\U00010401", {{q(u"\U00010428\U00010429"), 2}}},
        {u"a\U0001F600b", {{q(u"a"), 1}, {q(u"b"), 1}}},
        {u"a\xD800"
         u"b c\xDC00"
         u"d",
         {{q(u"a"), 1}, {q(u"b"), 1}, {q(u"c"), 1}, {q(u"d"), 1}}},
        {u"12 \u0661\u0662", {{q(u"12"), 1}}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(q(c.texte).toStdString());
        EXPECT_EQ(analyser(q(c.texte)), c.attendu);
    }
}

TEST(Occurrences, RapportDeLExemple)
{
    TableOccurrences t;
    t.AnalyserMots(u"Chien chat CHAT");
    EXPECT_EQ(t.Rapport(),
              q(u" Occurrence des mots \r\n ------------------------------\r\n"
                u"   2     chat\r\n   1     Chien"));
}

TEST(Occurrences, RapportDeTableVide)
{
    TableOccurrences t;
    t.AnalyserMots(u"");
    EXPECT_EQ(t.Rapport(), q(u" Occurrence des mots \r\n ------------------------------"));
    t.AnalyserMots(u"le mot");
    t.AnalyserMots(u"?!\r\n");
    EXPECT_EQ(t.NbMotsTab(), 0);
    EXPECT_EQ(t.Rapport(), q(u" Occurrence des mots \r\n ------------------------------"));
}

TEST(Occurrences, RapportSansColonnesAlignees)
{
    QString texte;
    for (int i = 0; i < 12; ++i)
        texte += u"le ";
    texte += u"l'homme";
    TableOccurrences t;
    t.AnalyserMots(texte);
    EXPECT_TRUE(t.Rapport().endsWith(q(u"\r\n   12     le\r\n   1     l'homme")));
}

// No 3000-entry table and no 16-bit counts.
// Capital forms of long words are worked out by slices: a pair of surrogates or a letter that
// grows (ß into SS) on either side of a slice's end.
TEST(Occurrences, MotsLongs)
{
    for (const qsizetype avant : {4094, 4095, 4096, 8191}) {
        SCOPED_TRACE(avant);
        const QString mot = QString(avant, u'a') + q(u"\U00010428\u00DF");
        const QString capitales = QString(avant, u'A') + q(u"\U00010400SS");
        const QString autre = mot + u'x';
        EXPECT_EQ(analyser(mot + u' ' + capitales + u' ' + autre), (Table{{mot, 2}, {autre, 1}}));
    }
}

TEST(Occurrences, SansLimites)
{
    QString texte;
    for (int i = 0; i < 5000; ++i)
        texte += QStringLiteral("m%1 ").arg(i);
    for (int i = 0; i < 40000; ++i)
        texte += u"Le ";
    TableOccurrences t;
    t.AnalyserMots(texte);
    ASSERT_EQ(t.NbMotsTab(), 5001);
    EXPECT_EQ(t.mot(1), u"Le");
    EXPECT_EQ(t.occurrences(1), 40000);
    EXPECT_EQ(t.mot(5001), u"m4999");
}

// The lookup must keep following each word through exchanges and sorts.
TEST(Occurrences, AjouterMotApresEchangeEtTri)
{
    TableOccurrences t;
    t.AjouterMot(u"Mot");
    t.AjouterMot(u"autre");
    t.AjouterMot(u"MOT");
    t.EchangerMots(1, 2);
    EXPECT_EQ(contenu(t), (Table{{q(u"autre"), 1}, {q(u"Mot"), 2}}));
    t.AjouterMot(u"mot");
    t.AjouterMot(u"AUTRE");
    t.AjouterMot(u"AUTRE");
    EXPECT_EQ(contenu(t), (Table{{q(u"autre"), 3}, {q(u"Mot"), 3}}));
    t.AjouterMot(u"neuf");
    t.AjouterMot(u"mot");
    t.TrierMots();
    EXPECT_EQ(contenu(t), (Table{{q(u"Mot"), 4}, {q(u"autre"), 3}, {q(u"neuf"), 1}}));
    t.AjouterMot(u"NEUF");
    t.AjouterMot(u"Autre");
    EXPECT_EQ(contenu(t), (Table{{q(u"Mot"), 4}, {q(u"autre"), 4}, {q(u"neuf"), 2}}));
}

TEST(Occurrences, TriStableSurDeGrandsComptes)
{
    TableOccurrences t;
    // Counts on both sides of the limit between the two ways of sorting.
    const std::pair<const char16_t*, int> mots[] = {
        {u"a", 1}, {u"b", 5000}, {u"c", 4096}, {u"d", 5000}, {u"e", 4097}, {u"f", 1}, {u"g", 4096}};
    for (const auto& [m, n] : mots)
        for (int i = 0; i < n; ++i)
            t.AjouterMot(m);
    t.TrierMots();
    EXPECT_EQ(contenu(t),
              (Table{{q(u"b"), 5000},
                     {q(u"d"), 5000},
                     {q(u"e"), 4097},
                     {q(u"c"), 4096},
                     {q(u"g"), 4096},
                     {q(u"a"), 1},
                     {q(u"f"), 1}}));
}

} // namespace
