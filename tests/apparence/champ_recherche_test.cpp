// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/champ_recherche.h"
#include "main_window/form1.h"
#include "platform/fakes.h"
#include "search/recherche.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

namespace {

struct CasSaisie {
    const char* nom;
    QString avant;
    int curseur; // where the insertion point is; -1 selects everything
    std::function<void(ChampRecherche&)> action;
    QString apres;
    int curseurApres;
};

void PrintTo(const CasSaisie& c, std::ostream* out) { *out << c.nom; }

auto coller(const QString& texte)
{
    return [texte](ChampRecherche& champ) {
        QGuiApplication::clipboard()->setText(texte);
        champ.paste();
    };
}

auto donner(const QString& texte)
{
    return [texte](ChampRecherche& champ) { champ.setText(texte); };
}

auto taper(const QString& texte)
{
    return [texte](ChampRecherche& champ) { QTest::keyClicks(&champ, texte); };
}

auto taperTouche(Qt::Key touche)
{
    return [touche](ChampRecherche& champ) { QTest::keyClick(&champ, touche); };
}

// What an input method hands over when it commits its text.
auto composer(const QString& texte)
{
    return [texte](ChampRecherche& champ) {
        QInputMethodEvent evenement;
        evenement.setCommitString(texte);
        QCoreApplication::sendEvent(&champ, &evenement);
    };
}

class SearchBoxInput : public testing::TestWithParam<CasSaisie> { };

TEST_P(SearchBoxInput, KeepsNoLineBreak)
{
    const CasSaisie& c = GetParam();
    ChampRecherche champ;
    champ.setText(c.avant);
    if (c.curseur < 0)
        champ.selectAll();
    else
        champ.setCursorPosition(c.curseur);
    champ.setFocus();
    c.action(champ);
    EXPECT_EQ(champ.text(), c.apres);
    EXPECT_EQ(champ.cursorPosition(), c.curseurApres);
}

const QString kLong = QString(40000, u'a');

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchBoxInput,
    testing::Values(
        CasSaisie{"pasteIntoTheMiddle", u"abcd"_qs, 2, coller(u"X\r\nY"_qs), u"abXcd"_qs, 3},
        CasSaisie{"pasteOverSelection", u"abcd"_qs, -1, coller(u"mot\nsuite\n"_qs), u"mot"_qs, 3},
        CasSaisie{"pasteStartingWithBreak", u"ab"_qs, 1, coller(u"\nX"_qs), u"ab"_qs, 1},
        CasSaisie{"pasteLoneCarriageReturn", u""_qs, 0, coller(u"un\rdeux"_qs), u"un"_qs, 2},
        CasSaisie{"pasteWithoutBreak", u"ab"_qs, 1, coller(u"  x "_qs), u"a  x b"_qs, 5},
        CasSaisie{"pasteLongText", u""_qs, 0, coller(kLong), kLong, 40000},
        CasSaisie{"setTextKeepsFirstLine", u"old"_qs, 0, donner(u"conte\r\nraconter"_qs),
                  u"conte"_qs, 5},
        CasSaisie{"setTextOfBreaksOnly", u"old"_qs, 0, donner(u"\r\n\r\n"_qs), u""_qs, 0},
        CasSaisie{"setTextLong", u""_qs, 0, donner(kLong + u"\nb"_qs), kLong, 40000},
        CasSaisie{"typing", u""_qs, 0, taper(u"mot ou"_qs), u"mot ou"_qs, 6},
        CasSaisie{"returnKey", u"ab"_qs, 1, taperTouche(Qt::Key_Return), u"ab"_qs, 1},
        CasSaisie{"enterKey", u"ab"_qs, 2, taperTouche(Qt::Key_Enter), u"ab"_qs, 2},
        CasSaisie{"inputMethodCommit", u"ab"_qs, 2, composer(u"c\nd"_qs), u"abc"_qs, 3}),
    [](const testing::TestParamInfo<CasSaisie>& info) { return std::string(info.param.nom); });

TEST(SearchBox, AnnouncesOnlyRealChanges)
{
    const struct {
        QString donne;
        QString garde;
        bool annonce;
    } etapes[] = {
        {u"conte"_qs, u"conte"_qs, true},
        {u"conte\r\nsuite"_qs, u"conte"_qs, false},
        {u"conte"_qs, u"conte"_qs, false},
        {u"\nconte"_qs, u""_qs, true},
        {u"contes\n"_qs, u"contes"_qs, true},
        {u"contes"_qs, u"contes"_qs, false},
        {u""_qs, u""_qs, true},
        {u"\r"_qs, u""_qs, false},
    };
    ChampRecherche champ;
    QSignalSpy annonces(&champ, &ChampRecherche::texteModifie);
    for (const auto& e : etapes) {
        SCOPED_TRACE(e.donne.toStdString());
        annonces.clear();
        champ.setText(e.donne);
        EXPECT_EQ(champ.text(), e.garde);
        ASSERT_EQ(annonces.size(), e.annonce ? 1 : 0);
        if (e.annonce) {
            EXPECT_EQ(annonces.at(0).at(0).toString(), e.garde);
        }
    }
}

// The search starts again only when the search text really changes.
TEST(SearchBox, SameFirstLineKeepsTheSearchGoing)
{
    FakePlatform fakes;
    Form1 form{fakes.platform()};
    form.ChkCherche->setChecked(false);
    form.TxtRecherche->setText(u"conte"_qs);
    Recherche& recherche = form.recherche();
    recherche.definirTexte(u"raconter et contes\r\n"_qs);
    form.CmdRecherche_Click(); // one step: the first "conte"
    ASSERT_EQ(recherche.position(), 8);
    ASSERT_EQ(recherche.etapes(), 1);

    form.TxtRecherche->setText(u"conte\r\nautre chose"_qs);
    QGuiApplication::clipboard()->setText(u"\r\nrien"_qs);
    form.TxtRecherche->paste();
    EXPECT_EQ(form.TxtRecherche->text(), u"conte"_qs);
    EXPECT_EQ(recherche.position(), 8);
    EXPECT_EQ(recherche.etapes(), 1);

    form.TxtRecherche->setText(u"contes\r\n"_qs);
    EXPECT_EQ(recherche.position(), 1);
    EXPECT_EQ(recherche.etapes(), 0);
}

} // namespace
