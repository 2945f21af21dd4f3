// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_print.h"
#include "text_view/positions_texte.h"

#include <gtest/gtest.h>

namespace {

// "ab\r\nc" then a surrogate pair, "d", a lone LF and "é_f".
const QString kTexte = u"ab\r\nc\U0001F600d\n\u00e9_f"_qs;

struct CasPas {
    qsizetype depuis;
    qsizetype suivante, precedente, normalisee;
};

TEST(PositionsTexte, StepsOverCrLfAndSurrogatePairsWhole)
{
    const CasPas cas[] = {
        {0, 1, 0, 0},     {2, 4, 1, 2}, // before the CR LF: the next step passes both
        {3, 4, 2, 4}, // between CR and LF: normalised after the break
        {4, 5, 2, 4}, // after the CR LF: the step back passes both
        {5, 7, 4, 5}, // before the pair
        {7, 8, 5, 7}, // after the pair
        {9, 10, 8, 9}, // after the lone LF, one step back
        {12, 12, 11, 12}, // the end
        {40, 12, 11, 12}, // beyond the end
        {-3, 1, 0, 0}, // before the start: from the start
    };
    for (const CasPas& c : cas) {
        SCOPED_TRACE(c.depuis);
        EXPECT_EQ(positionSuivante(kTexte, c.depuis), c.suivante);
        EXPECT_EQ(positionPrecedente(kTexte, c.depuis), c.precedente);
        EXPECT_EQ(positionNormalisee(kTexte, c.depuis), c.normalisee);
    }
    EXPECT_EQ(debutGrapheme(kTexte, 6), 5); // inside the pair: before it
    EXPECT_EQ(debutGrapheme(kTexte, 5), 5);
    EXPECT_EQ(debutGrapheme(kTexte, 12), 12);
}

struct CasGrapheme {
    const char* nom;
    const char16_t* texte;
    qsizetype depuis;
    qsizetype suivante, precedente, debut;
};

// A letter and its combining marks, an emoji and its skin tone, a flag: one step each.
TEST(PositionsTexte, StepsOverALetterAndItsMarksAsOneGrapheme)
{
    const CasGrapheme cas[] = {
        {"e and acute", u"e\u0301t\u00e9", 0, 2, 0, 0},
        {"after e and acute", u"e\u0301t\u00e9", 2, 3, 0, 2},
        {"between e and its acute", u"e\u0301t\u00e9", 1, 2, 0, 0},
        {"two marks", u"ax\u0308\u0323b", 1, 4, 0, 1},
        {"back over two marks", u"ax\u0308\u0323b", 4, 5, 1, 4},
        {"inside two marks", u"ax\u0308\u0323b", 3, 4, 1, 1},
        {"thumb and skin tone", u"a\U0001F44D\U0001F3FDb", 1, 5, 0, 1},
        {"back over the tone", u"a\U0001F44D\U0001F3FDb", 5, 6, 1, 5},
        {"flag", u"\U0001F1EB\U0001F1F7!", 0, 4, 0, 0},
        {"mark after a break", u"a\r\n\u0301", 1, 3, 0, 1},
    };
    for (const CasGrapheme& c : cas) {
        SCOPED_TRACE(c.nom);
        const QString texte = QString::fromUtf16(c.texte);
        EXPECT_EQ(positionSuivante(texte, c.depuis), c.suivante);
        EXPECT_EQ(positionPrecedente(texte, c.depuis), c.precedente);
        EXPECT_EQ(debutGrapheme(texte, c.depuis), c.debut);
    }
}

TEST(PositionsTexte, HalvesOfPairsAloneAreStepsOfTheirOwn)
{
    QString texte = u"a??b"_qs;
    texte[1] = QChar(0xDC00); // low half first: no pair
    texte[2] = QChar(0xD800);
    EXPECT_EQ(positionSuivante(texte, 1), 2);
    EXPECT_EQ(positionSuivante(texte, 2), 3);
    EXPECT_EQ(positionPrecedente(texte, 3), 2);
    EXPECT_EQ(positionPrecedente(texte, 2), 1);
}

struct CasMot {
    const char16_t* texte;
    qsizetype depuis;
    qsizetype suivant, precedent, debut, fin;
};

TEST(PositionsTexte, WordMovesStopAtTheStartsOfWords)
{
    const CasMot cas[] = {
        {u"un mot-clé ici", 0, 3, 0, 0, 2},
        {u"un mot-clé ici", 1, 3, 0, 0, 2},
        {u"un mot-clé ici", 2, 3, 0, 0, 2}, // just after a word: it is still its word
        {u"un mot-clé ici", 4, 7, 3, 3, 6},
        {u"un mot-clé ici", 11, 14, 7, 11, 14},
        {u"un mot-clé ici", 14, 14, 11, 11, 14},
        {u"fin\r\n\r\nsuite", 3, 7, 0, 0, 3}, // over breaks, to the next word
        {u"a_1 b", 0, 4, 0, 0, 3}, // digits and underscores belong to words
        {u"  ,;  ", 3, 6, 0, 3, 3}, // no word at all
        {u"", 0, 0, 0, 0, 0},
    };
    for (const CasMot& c : cas) {
        const QString texte = QString::fromUtf16(c.texte);
        SCOPED_TRACE(testing::Message() << texte.toStdString() << " from " << c.depuis);
        EXPECT_EQ(motSuivant(texte, c.depuis), c.suivant);
        EXPECT_EQ(motPrecedent(texte, c.depuis), c.precedent);
        const auto [debut, fin] = motAutour(texte, c.depuis);
        EXPECT_EQ(debut, c.debut);
        EXPECT_EQ(fin, c.fin);
    }
}

} // namespace
