// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_print.h"
#include "text_view/metriques_lignes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

MetriquesLignes metriques()
{
    MetriquesLignes m;
    QFont police = QFont();
    police.setPointSizeF(9);
    m.definirPolice(police);
    return m;
}

// x of every column summed the plain way, one character after another.
std::vector<double> xAttendus(const MetriquesLignes& m, QStringView ligne)
{
    std::vector<double> xs{0};
    double x = 0;
    for (qsizetype i = 0; i < ligne.size(); ++i) {
        x += m.avance(ligne, i, x);
        xs.push_back(x);
    }
    return xs;
}

struct CasLigne {
    const char* nom;
    QString ligne;
};

std::vector<CasLigne> lignes()
{
    QString paire = u"a\U0001F600b\U0001F600"_qs;
    QString longue;
    for (int i = 0; i < 3000; ++i)
        longue += u"mot\tet "_qs; // far past the checkpoint step, with tabs
    return {
        {"plain", u"Une ligne de texte, accentuée."_qs},
        {"tabs", u"\ta\t\tbc\td"_qs},
        {"pairs", paire},
        {"controls", u"a\u0001b\u2028c\u007F"_qs},
        {"long", longue},
    };
}

TEST(MetriquesLignes, XAndColumnAgreeOnEveryColumn)
{
    const MetriquesLignes m = metriques();
    for (const CasLigne& c : lignes()) {
        SCOPED_TRACE(c.nom);
        const std::vector<double> xs = xAttendus(m, c.ligne);
        for (qsizetype colonne = 0; colonne <= c.ligne.size(); ++colonne) {
            ASSERT_DOUBLE_EQ(m.x(1, c.ligne, colonne), xs[size_t(colonne)]) << colonne;
            const bool dansPaire
                = colonne > 0 && colonne < c.ligne.size() && c.ligne[colonne].isLowSurrogate();
            if (dansPaire) {
                ASSERT_EQ(m.colonneProche(1, c.ligne, xs[size_t(colonne)]), colonne + 1);
                continue;
            }
            ASSERT_EQ(m.colonneProche(1, c.ligne, xs[size_t(colonne)]), colonne) << colonne;
            // A little right of a column still finds it, a little left of the next one that.
            if (colonne < c.ligne.size()) {
                const double largeur = xs[size_t(colonne) + 1] - xs[size_t(colonne)];
                if (largeur > 2) {
                    double debut = -1;
                    ASSERT_EQ(m.colonneA(1, c.ligne, xs[size_t(colonne)] + 0.5, &debut), colonne);
                    ASSERT_DOUBLE_EQ(debut, xs[size_t(colonne)]);
                }
            }
        }
        EXPECT_EQ(m.colonneProche(1, c.ligne, -50), 0);
        EXPECT_EQ(m.colonneProche(1, c.ligne, xs.back() + 500), c.ligne.size());
        EXPECT_EQ(m.x(1, c.ligne, c.ligne.size() + 9), xs.back()); // clamped
    }
}

TEST(MetriquesLignes, TabsReachTheNextStopAndPairsCountOnce)
{
    const MetriquesLignes m = metriques();
    const double stop = 8 * m.largeurMoyenne();
    const QString ligne = u"\tab\tc"_qs;
    EXPECT_NEAR(m.x(0, ligne, 1), stop, 1e-9);
    EXPECT_NEAR(m.x(0, ligne, 4), 2 * stop, 1e-9);
    const QString paire = u"\U0001F600"_qs;
    EXPECT_GT(m.avance(paire, 0, 0), 0);
    EXPECT_EQ(m.avance(paire, 1, 0), 0);
    QString seule = u"?"_qs;
    seule[0] = QChar(0xD83D);
    EXPECT_DOUBLE_EQ(m.avance(seule, 0, 0), m.avance(u"\uFFFD", 0, 0));
}

TEST(MetriquesLignes, ANewTextForgetsTheCheckpointsOfItsLines)
{
    MetriquesLignes m = metriques();
    const QString etroite = QString(10'000, u'i');
    const QString large = QString(10'000, u'W');
    const double xEtroite = m.x(7, etroite, 9000);
    EXPECT_GT(m.largeurMesuree(), 0);
    m.oublierLignes();
    EXPECT_EQ(m.largeurMesuree(), 0);
    // Line 7 of the next text is another line: its x comes from its own characters.
    EXPECT_DOUBLE_EQ(m.x(7, large, 9000), xAttendus(m, large)[9000]);
    EXPECT_GT(m.x(7, large, 9000), xEtroite);
}

// Measured only as far as asked: questions near and far, in any order, agree with the sum.
TEST(MetriquesLignes, ALongLineMeasuredBitByBitGivesTheSameColumns)
{
    QString longue;
    for (int i = 0; i < 5000; ++i)
        longue += u"mot\tW\U0001F600 "_qs;
    const std::vector<double> attendus = xAttendus(metriques(), longue);
    const MetriquesLignes m = metriques();
    for (const qsizetype colonne : {10, 5000, 4096, 30000, 8192, 39999, 3}) {
        ASSERT_DOUBLE_EQ(m.x(2, longue, colonne), attendus[size_t(colonne)]) << colonne;
        const qsizetype loin = std::min<qsizetype>(longue.size() - 1, colonne * 2 + 7);
        ASSERT_EQ(m.colonneA(2, longue, attendus[size_t(loin)], nullptr), loin) << colonne;
    }
}

TEST(MetriquesLignes, MeasuringWidensButNeverNarrows)
{
    const MetriquesLignes m = metriques();
    const QString courte = u"court"_qs;
    const QString longue = u"une ligne bien plus longue"_qs;
    EXPECT_DOUBLE_EQ(m.mesurer(0, longue), xAttendus(m, longue).back());
    m.mesurer(1, courte);
    EXPECT_DOUBLE_EQ(m.largeurMesuree(), xAttendus(m, longue).back());
    m.elargir(1e6);
    EXPECT_EQ(m.largeurMesuree(), 1e6);
}

TEST(MetriquesLignes, ShowsWhatWouldBreakALineAsTheReplacementCharacter)
{
    const struct {
        char16_t c, affiche;
    } cas[] = {
        {u'a', u'a'},           {u'\t', u'\uFFFD'},     {u'\0', u'\uFFFD'},
        {u'\x7F', u'\uFFFD'},   {u'\x9F', u'\uFFFD'},   {u'\xA0', u'\xA0'},
        {u'\u2028', u'\uFFFD'}, {u'\u2029', u'\uFFFD'}, {u'\xE9', u'\xE9'},
        {u'\xD800', u'\uFFFD'}, {u'\xDFFF', u'\uFFFD'}, {u'\xE000', u'\xE000'},
    };
    for (const auto& c : cas) {
        EXPECT_EQ(caractereAffiche(c.c), c.affiche) << int(c.c);
    }
}

} // namespace
