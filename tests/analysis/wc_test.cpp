// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/wc.h"
#include "reference.h"

#include <gtest/gtest.h>

namespace {

struct Cas {
    const char16_t* texte;
    const char16_t* normalise;
    qint64 mots;
    qint64 differents;
};

// Pieces are cut at single spaces of the normalised text; only the non-empty
// ones are words, so a leading separator adds nothing.
const Cas kCas[] = {
    {u"", u"", 0, 0},
    {u"\r\n", u" ", 0, 0},
    {u"\r\n\r\n\r\n", u" ", 0, 0},
    {u",,,\r\n", u" ", 0, 0},
    {u"abc", u"abc", 1, 1},
    {u"abc\r\n", u"abc ", 1, 1},
    {u"un deux\r\ntrois\r\n", u"un deux trois ", 3, 3},
    {u"Le chat.\r\n", u"Le chat ", 2, 2},
    {u" a b \r\n", u" a b ", 2, 2},
    {u"(a)\r\n", u" a ", 1, 1},
    {u"a     b\r\n", u"a b ", 2, 2},
    {u"l'homme\r\n", u"l homme ", 2, 2},
    {u"l\u2019homme\r\n", u"l\u2019homme ", 1, 1},
    {u"3,14 et 42\r\n", u"3 14 et 42 ", 4, 4},
    {u"x-y_z\r\n", u"x y z ", 3, 3},
    {u"a&b\r\n", u"a&b ", 1, 1},
    {u"a\tb\r\n", u"a b ", 2, 2},
    {u"Le le\r\n", u"Le le ", 2, 2},
    {u"le Le le\r\n", u"le Le le ", 3, 2},
    {u"a a a a\r\n", u"a a a a ", 4, 1},
    {u"\u00E9t\u00E9 \u00C9t\u00E9\r\n", u"\u00E9t\u00E9 \u00C9t\u00E9 ", 2, 2},
    {u"l'homme l\u2019homme\r\n", u"l homme l\u2019homme ", 3, 3},
    {u"\u00ABOui\u00BB \u00A3 5 \"non\"\r\n", u" Oui 5 non ", 3, 3},
    // Codes that lose their value when narrowed to a byte stay word characters.
    {u"a\u8000b c\u0100d \u00FF\r\n", u"a\u8000b c\u0100d \u00FF ", 3, 3},
};

TEST(Wc, TableDesCas)
{
    for (const Cas& c : kCas) {
        const QString texte = QString::fromUtf16(c.texte);
        SCOPED_TRACE(texte.toStdString());
        EXPECT_EQ(wc::NormaliserTexte(texte), QString::fromUtf16(c.normalise));
        EXPECT_EQ(wc::CompterMots(texte), c.mots);
        EXPECT_EQ(wc::CompterMotsDifferents(texte), c.differents);
    }
}

TEST(Wc, TableDesSeparateurs)
{
    ASSERT_EQ(wc::Separateurs.size(), reference::kSeparateurs.size());
    for (size_t i = 0; i < wc::Separateurs.size(); ++i)
        EXPECT_EQ(wc::Separateurs[i], reference::kSeparateurs[i]) << "index " << i;
}

TEST(Wc, ChaqueSeparateurCoupe)
{
    std::u16string tous(wc::Separateurs.begin(), wc::Separateurs.end());
    tous += u' ';
    for (char16_t s : tous) {
        SCOPED_TRACE(int(s));
        const QString texte = QStringLiteral("a%1b%1%1a").arg(QChar(s));
        EXPECT_EQ(wc::CompterMots(texte), 3);
        EXPECT_EQ(wc::CompterMotsDifferents(texte), 2);
        EXPECT_EQ(wc::NormaliserTexte(texte), u"a b a");
    }
}

TEST(Wc, SignesHorsTableSontDesLettres)
{
    const char16_t signes[]
        = {u'&',   u'<',   u'>',   u'@',   u'\\',  u'^',   u'`',   u'|',   0x20AC, 0x2018,
           0x2019, 0x201C, 0x201D, 0x2026, 0x2013, 0x2014, 0x00A0, 0x00A7, 0x00B0, 0};
    for (char16_t s : signes) {
        SCOPED_TRACE(int(s));
        const QString texte = QStringLiteral("a%1b\r\n").arg(QChar(s));
        EXPECT_EQ(wc::CompterMots(texte), 1);
    }
}

TEST(Wc, LeTexteDonneNeChangePas)
{
    const QString texte = QStringLiteral("Le chat, le chien.\r\n");
    const QString copie = texte;
    wc::CompterMots(texte);
    wc::CompterMotsDifferents(texte);
    wc::NormaliserTexte(texte);
    EXPECT_EQ(texte, copie);
}

// Far beyond the 16-bit counters of the original procedures, and long words
// that straddle the blocks the scan works in.
TEST(Wc, SansLimites)
{
    QString texte;
    for (int i = 0; i < 40000; ++i)
        texte += QStringLiteral("mot%1\r\n").arg(i);
    EXPECT_EQ(wc::CompterMots(texte), 40000);
    EXPECT_EQ(wc::CompterMotsDifferents(texte), 40000);

    const QString long1(150, u'x');
    const QString long2 = QString(149, u'x') + u'y';
    const QString t2 = long1 + u' ' + long2 + QStringLiteral("  ") + long1 + u'.';
    EXPECT_EQ(wc::CompterMots(t2), 3);
    EXPECT_EQ(wc::CompterMotsDifferents(t2), 2);
}

} // namespace
