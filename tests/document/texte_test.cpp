// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_print.h"
#include "text/texte.h"

#include <gtest/gtest.h>

namespace {

TEST(Texte, EveryByteIsOneCharacterThatGoesBackToIt)
{
    QByteArray tous;
    for (int b = 0; b < 256; ++b)
        tous.append(char(b));
    const Texte t = Texte::enCp1252(tous);
    ASSERT_EQ(t.size(), 256);
    const QString large = t.toString();
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(octetCp1252(t.at(b)), b) << b;
        EXPECT_EQ(large[b].unicode(), t.at(b)) << b;
    }
    EXPECT_EQ(t.at(0x80), u'€');
    EXPECT_EQ(t.at(0x9C), u'œ');
    EXPECT_EQ(t.at(0x81), u'\x81');
    EXPECT_EQ(t.at(0xE9), u'é');
}

TEST(Texte, CharactersWithoutAByteAreTold)
{
    for (const char16_t c :
         {u'\x100', char16_t(u'Œ' - 1), u'\x2028', u'\xFFFD', u'\xD83D', u'\x3000'})
        EXPECT_EQ(octetCp1252(c), -1) << int(c);
}

TEST(Texte, BothFormsGiveTheSameStretches)
{
    const QString large = u"Œuvre — «déjà» l'été…\r\nfin"_qs;
    QByteArray octets;
    for (const QChar c : large)
        octets.append(char(octetCp1252(c.unicode())));
    const Texte formes[] = {Texte(large), Texte::enCp1252(octets)};
    for (const Texte& t : formes) {
        SCOPED_TRACE(t.estEnOctets());
        EXPECT_EQ(t.toString(), large);
        EXPECT_EQ(t.size(), large.size());
        for (const auto& [pos, n] : {std::pair<qsizetype, qsizetype>{0, 5},
                                     {6, 3},
                                     {20, 100},
                                     {-3, 4},
                                     {40, 2},
                                     {3, -1}}) {
            EXPECT_EQ(t.mid(pos, n),
                      large.mid(std::max<qsizetype>(pos, 0), std::max<qsizetype>(n, 0)))
                << pos << ' ' << n;
            EXPECT_EQ(t.extrait(pos, n).toString(), t.mid(pos, n));
        }
    }
    EXPECT_FALSE(formes[1].memesDonnees(Texte::enCp1252(formes[1].octets().toByteArray())));
    EXPECT_TRUE(formes[1].memesDonnees(formes[1]));
    EXPECT_FALSE(formes[0].memesDonnees(formes[1]));
}

} // namespace
