// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/index_lignes.h"
#include "qt_print.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// The starts of all lines, found the plain way.
std::vector<qsizetype> debutsAttendus(const QString& texte)
{
    std::vector<qsizetype> debuts{0};
    for (qsizetype i = 0; i < texte.size(); ++i) {
        if (texte[i] == u'\r' && i + 1 < texte.size() && texte[i + 1] == u'\n')
            ++i;
        else if (texte[i] != u'\r' && texte[i] != u'\n')
            continue;
        debuts.push_back(i + 1);
    }
    return debuts;
}

// Checks every line and every position of the text against the plain way, in the order given.
void verifierPartout(const IndexLignes& index, const QString& texte,
                     const std::vector<qsizetype>& ordreLignes)
{
    const std::vector<qsizetype> debuts = debutsAttendus(texte);
    ASSERT_EQ(index.nombreLignes(), qsizetype(debuts.size()));
    for (const qsizetype ligne : ordreLignes) {
        const qsizetype debut = debuts[size_t(ligne)];
        qsizetype fin = texte.size();
        if (ligne + 1 < qsizetype(debuts.size())) {
            fin = debuts[size_t(ligne + 1)] - 1;
            if (fin > debut && texte[fin] == u'\n' && texte[fin - 1] == u'\r')
                --fin;
        }
        ASSERT_EQ(index.debut(ligne), debut) << "ligne " << ligne;
        ASSERT_EQ(index.fin(ligne), fin) << "ligne " << ligne;
        const qsizetype bout
            = ligne + 1 < qsizetype(debuts.size()) ? debuts[size_t(ligne + 1)] : texte.size() + 1;
        for (qsizetype position = debut; position < bout; ++position) {
            ASSERT_EQ(index.ligneDe(position), ligne) << "position " << position;
        }
    }
}

std::vector<qsizetype> dansLOrdre(qsizetype lignes)
{
    std::vector<qsizetype> ordre(size_t(lignes), 0);
    for (qsizetype i = 0; i < lignes; ++i)
        ordre[size_t(i)] = i;
    return ordre;
}

struct CasLignes {
    const char16_t* texte;
    std::vector<QString> lignes;
    qsizetype plusLongue;
};

TEST(IndexLignes, EndsLinesAtCrLfLoneCrAndLoneLf)
{
    const CasLignes cas[] = {
        {u"", {u""_qs}, 0},
        {u"ab", {u"ab"_qs}, 2},
        {u"ab\r\ncd", {u"ab"_qs, u"cd"_qs}, 2},
        {u"ab\r\n", {u"ab"_qs, u""_qs}, 2}, // a final break ends the text with an empty line
        {u"a\rb\nc", {u"a"_qs, u"b"_qs, u"c"_qs}, 1},
        {u"\r\n\r\n", {u""_qs, u""_qs, u""_qs}, 0},
        {u"\n\r", {u""_qs, u""_qs, u""_qs}, 0}, // LF then CR is two breaks
        {u"\r", {u""_qs, u""_qs}, 0},
        {u"a\r\r\nb", {u"a"_qs, u""_qs, u"b"_qs}, 1}, // lone CR, then CR LF
        {u"a\n\r\nbcd\r", {u"a"_qs, u""_qs, u"bcd"_qs, u""_qs}, 3},
        {u"x\u2029y\tz\u000B\u000C\u0001", {u"x\u2029y\tz\u000B\u000C\u0001"_qs}, 8},
        {u"0123456789abcdef0123\n", {u"0123456789abcdef0123"_qs, u""_qs}, 20}, // past a block
        {u"0123456789abcde\r\n", {u"0123456789abcde"_qs, u""_qs}, 15}, // CR LF across blocks
        {u"0123456789abcdef\nx", {u"0123456789abcdef"_qs, u"x"_qs}, 16},
        // Units that look like CR or LF to a careless test of their bits.
        {u"\u800D\u000E\n\u8000\u000D\u010A", {u"\u800D\u000E"_qs, u"\u8000"_qs, u"\u010A"_qs}, 2},
    };
    for (const CasLignes& c : cas) {
        const QString texte = QString::fromUtf16(c.texte);
        SCOPED_TRACE(texte.toStdString());
        const IndexLignes index(texte);
        ASSERT_EQ(index.nombreLignes(), qsizetype(c.lignes.size()));
        EXPECT_EQ(index.plusLongue(), c.plusLongue);
        for (size_t i = 0; i < c.lignes.size(); ++i) {
            const qsizetype debut = index.debut(qsizetype(i));
            EXPECT_EQ(texte.mid(debut, index.fin(qsizetype(i)) - debut), c.lignes[i]) << i;
        }
        verifierPartout(index, texte, dansLOrdre(index.nombreLignes()));
    }
}

TEST(IndexLignes, TheEmptyIndexIsTheEmptyText)
{
    const IndexLignes index;
    EXPECT_EQ(index.nombreLignes(), 1);
    EXPECT_EQ(index.debut(0), 0);
    EXPECT_EQ(index.fin(0), 0);
    EXPECT_EQ(index.ligneDe(0), 0);
    EXPECT_EQ(index.ligneDe(5), 0);
    EXPECT_TRUE(index.texte().isEmpty());
}

TEST(IndexLignes, SharesTheTextAndClampsWhatIsOutOfRange)
{
    const QString texte = u"un\r\ndeux\ntrois"_qs;
    const IndexLignes index(texte);
    EXPECT_EQ(index.texte().utf16().constData(), texte.constData());
    EXPECT_EQ(index.debut(-4), 0);
    EXPECT_EQ(index.debut(99), 9);
    EXPECT_EQ(index.fin(99), texte.size());
    EXPECT_EQ(index.ligneDe(-1), 0);
    EXPECT_EQ(index.ligneDe(texte.size() + 10), 2);
}

// Texts made to cross the group boundaries: short, empty and very long lines, every break.
QString texteMele(std::mt19937& hasard, int lignes, bool longues)
{
    static const QString fins[] = {u"\r\n"_qs, u"\n"_qs, u"\r"_qs};
    QString texte;
    for (int i = 0; i < lignes; ++i) {
        const int sorte = int(hasard() % 10);
        qsizetype longueur = sorte < 3 ? 0 : qsizetype(hasard() % 90);
        if (longues && sorte == 9)
            longueur = 20'000 + qsizetype(hasard() % 50'000);
        texte += QString(longueur, QChar(u'a' + char16_t(i % 26)));
        texte += fins[hasard() % 3];
    }
    if (hasard() % 2)
        texte += u"fin sans saut"_qs;
    return texte;
}

struct CasMele {
    const char* nom;
    int lignes;
    bool longues;
};

TEST(IndexLignes, AgreesWithThePlainWayInAnyOrderOfQuestions)
{
    const CasMele cas[] = {
        {"short lines", 2000, false},
        {"with lines of tens of thousands of characters", 600, true},
        {"one group", 63, false},
        {"one group and one line", 65, false},
    };
    for (const CasMele& c : cas) {
        SCOPED_TRACE(c.nom);
        std::mt19937 hasard(20261208);
        const QString texte = texteMele(hasard, c.lignes, c.longues);
        const IndexLignes index(texte);
        const std::vector<qsizetype> ordre = dansLOrdre(index.nombreLignes());
        verifierPartout(index, texte, ordre);
        std::vector<qsizetype> melange = ordre;
        std::shuffle(melange.begin(), melange.end(), hasard);
        verifierPartout(index, texte, melange);
        verifierPartout(index, texte, std::vector<qsizetype>(ordre.rbegin(), ordre.rend()));
        // The same text kept one byte per character.
        verifierPartout(IndexLignes(Texte::enCp1252(texte.toLatin1())), texte, melange);
    }
}

TEST(IndexLignes, CostsLittleMoreThanAnEighthOfABytePerLine)
{
    struct CasTaille {
        const char* nom;
        QString ligne;
        qsizetype lignes;
    };
    const CasTaille cas[] = {
        {"empty lines", u"\r\n"_qs, 2'000'000},
        {"lone line feeds", u"\n"_qs, 2'000'000},
        {"prose", u"Il était une fois, dans un pays lointain, un texte.\r\n"_qs, 200'000},
    };
    for (const CasTaille& c : cas) {
        SCOPED_TRACE(c.nom);
        const QString texte = c.ligne.repeated(c.lignes);
        const IndexLignes index(texte);
        ASSERT_EQ(index.nombreLignes(), c.lignes + 1);
        EXPECT_LE(double(index.octets()), 0.15 * double(c.lignes) + 256);
        EXPECT_EQ(index.ligneDe(texte.size()), c.lignes);
        EXPECT_EQ(index.debut(c.lignes - 1), texte.size() - c.ligne.size());
    }
}

TEST(IndexLignes, WideGroupsStayCheapBesideTheirText)
{
    // 64 lines of 2000 characters make a group wide enough to keep all its starts.
    const QString texte = (QString(2000, u'x') + u"\r\n"_qs).repeated(640);
    const IndexLignes index(texte);
    EXPECT_EQ(index.nombreLignes(), 641);
    EXPECT_LE(index.octets(), texte.size() / 100 + 256);
    verifierPartout(index, texte, {639, 0, 320, 64, 63, 640});
}

} // namespace
