// SPDX-License-Identifier: GPL-3.0-or-later
// The search frame's elements feed the search, and show what it tells.
#include "main_window/form1.h"
#include "main_window/form_with_files.h"
#include "search/recherche.h"
#include "text_view/vue_texte.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace std::chrono_literals;

namespace {

using Selection = std::pair<qsizetype, qsizetype>;

void cliquer(QWidget* element) { QTest::mouseClick(element, Qt::LeftButton); }

class SearchFrame : public FormWithFiles {
protected:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    Selection selection() const
    {
        return {form.Le_texte->debutSelection(), form.Le_texte->longueurSelection()};
    }
    Recherche& r = form.recherche();
};

TEST_F(SearchFrame, PressesSelectInTheTextAndCountInTheLabel)
{
    writeAndOpen(u"conte.txt"_qs, "raconter et contes\r\n");
    QTest::keyClicks(form.TxtRecherche, u"conte"_qs);
    cliquer(form.ChkCherche);
    ASSERT_FALSE(form.ChkCherche->isChecked());
    cliquer(form.CmdRecherche);
    EXPECT_EQ(form.Label2->text(), u"\r\n\r\n1"_qs);
    EXPECT_EQ(selection(), Selection(2, 5));
    EXPECT_TRUE(form.Le_texte->hasFocus());
    cliquer(form.CmdRecherche);
    cliquer(form.CmdRecherche);
    EXPECT_EQ(form.Label2->text(),
              u"\r\nRecherche terminée\r\n'' conte ''\r\na été trouvé 2 fois."_qs);
    // The display clamps the selection behind the last occurrence to a caret at the end.
    EXPECT_EQ(selection(), Selection(20, 0));
}

TEST_F(SearchFrame, TheTimerIsTheSearchsAndAPressWithAutoStartsIt)
{
    writeAndOpen(u"conte.txt"_qs, "raconter et contes\r\n");
    EXPECT_EQ(form.Timer1, r.minuterie());
    EXPECT_EQ(form.Timer1->objectName(), u"Timer1"_qs);
    QTest::keyClicks(form.TxtRecherche, u"conte"_qs);
    cliquer(form.CmdRecherche);
    EXPECT_TRUE(form.Timer1->isActive());
    for (int tick = 0; tick < 3; ++tick)
        form.Timer1_Timer();
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_TRUE(form.Label2->text().endsWith(u"a été trouvé 2 fois."_qs));
}

struct Action {
    const char* nom;
    std::function<void(Form1&)> faire;
    QString boite; // the search box afterwards
    bool majuscule; // the capital-letter option afterwards
};
void PrintTo(const Action& a, std::ostream* os) { *os << a.nom; }

class ElementsDuCadre : public SearchFrame, public testing::WithParamInterface<Action> { };

// Each element of the frame reaches the search, which resets, and the box and the option show
// what the search made of them.
TEST_P(ElementsDuCadre, ResetTheSearchAndShowItsState)
{
    writeAndOpen(u"conte.txt"_qs, "raconter et contes\r\n");
    form.TxtRecherche->setText(u"conte"_qs);
    form.ChkCherche->setChecked(false);
    cliquer(form.CmdRecherche);
    ASSERT_EQ(r.etapes(), 1);
    GetParam().faire(form);
    EXPECT_EQ(r.etapes(), 0);
    EXPECT_EQ(r.position(), 1);
    EXPECT_EQ(form.TxtRecherche->text(), GetParam().boite);
    EXPECT_EQ(r.motif(), GetParam().boite);
    EXPECT_EQ(form.ChkMaj->isChecked(), GetParam().majuscule);
    EXPECT_EQ(r.majuscule(), GetParam().majuscule);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, ElementsDuCadre,
    testing::Values(Action{"typing", [](Form1& f) { QTest::keyClicks(f.TxtRecherche, u"s"_qs); },
                           u"contes"_qs, false},
                    Action{"capitalOption", [](Form1& f) { cliquer(f.ChkMaj); }, u"Conte"_qs, true},
                    Action{"capitalOptionByTheProgram",
                           [](Form1& f) { f.ChkMaj->setChecked(true); }, u"Conte"_qs, true},
                    Action{"clickInTheBox",
                           [](Form1& f) {
                               cliquer(f.ChkMaj);
                               cliquer(f.TxtRecherche);
                           },
                           u""_qs, false},
                    Action{"clickOnAuto", [](Form1& f) { cliquer(f.ChkCherche); }, u"conte"_qs,
                           false}),
    [](const auto& info) { return std::string(info.param.nom); });

TEST_F(SearchFrame, AutoFollowsTheBoxAlsoWhenTheProgramSetsIt)
{
    writeAndOpen(u"conte.txt"_qs, "raconter et contes\r\n");
    form.TxtRecherche->setText(u"conte"_qs);
    form.ChkCherche->setChecked(false);
    cliquer(form.CmdRecherche);
    EXPECT_FALSE(form.Timer1->isActive());
    form.ChkCherche->setChecked(true);
    EXPECT_EQ(r.etapes(), 1); // set by the program, Auto is no click: no reset
    cliquer(form.CmdRecherche);
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST_F(SearchFrame, TheCaretWaitsAtTheStartOfALongScanAndTheFocusStaysPut)
{
    writeAndOpen(u"long.txt"_qs, QByteArray(400, 'x') + " conte\r\n");
    form.ChkCherche->setChecked(false);
    form.TxtRecherche->setText(u"conte"_qs);
    form.TxtRecherche->setFocus();
    r.reglerTranches(8, 0ns);
    cliquer(form.CmdRecherche);
    ASSERT_TRUE(r.etapeEnCours());
    EXPECT_EQ(selection(), Selection(1, 0));
    EXPECT_FALSE(form.Le_texte->hasFocus());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !r.etapeEnCours(); }, 10'000));
    EXPECT_EQ(selection(), Selection(401, 5));
    EXPECT_TRUE(form.Le_texte->hasFocus());
}

TEST_F(SearchFrame, TheLabelShowsTheSearchTextAsTyped)
{
    form.TxtRecherche->setText(u"<b>x</b>"_qs);
    form.ChkCherche->setChecked(false);
    cliquer(form.CmdRecherche);
    EXPECT_EQ(form.Label2->textFormat(), Qt::PlainText);
    EXPECT_TRUE(form.Label2->text().contains(u"'' <b>x</b> ''"_qs));
}

} // namespace
