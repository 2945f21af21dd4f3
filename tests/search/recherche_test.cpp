// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/recherche.h"

#include "main_window/form1.h"
#include "main_window/text_display.h"
#include "platform/fakes.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <utility>
#include <vector>

using namespace std::chrono_literals;

namespace {

const QString kConte = u"raconter et contes\r\n"_qs;

QString etape(qint64 n) { return u"\r\n\r\n"_qs + QString::number(n); }

QString fin(const QString& motif, qint64 occurrences)
{
    const QString debut = u"\r\nRecherche terminée\r\n'' "_qs + motif + u" ''\r\n"_qs;
    if (occurrences == 0)
        return debut + u"n'a pas été trouvé"_qs;
    return debut + u"a été trouvé "_qs + QString::number(occurrences) + u" fois."_qs;
}

using Etat = std::pair<qint64, qint64>;
using Selection = std::pair<qsizetype, qsizetype>;

class Search : public testing::Test {
public:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    void ouvrir(const QString& texte)
    {
        const QString chemin
            = writeFile(dossier.path(), u"texte%1.txt"_qs.arg(++fichiers), texte.toUtf8());
        ASSERT_FALSE(chemin.isEmpty());
        fakes.files.answers.push_back(chemin);
        form.Cmdouvrir_Click();
        ASSERT_EQ(form.Le_texte->text(), texte);
    }
    void taper(const QString& texte) { QTest::keyClicks(form.TxtRecherche, texte); }
    void cliquer(QWidget* element) { QTest::mouseClick(element, Qt::LeftButton); }
    void mettreAuto(bool coche)
    {
        if (form.ChkCherche->isChecked() != coche)
            cliquer(form.ChkCherche);
    }
    void appuyer() { cliquer(form.CmdRecherche); }
    void finirEtape()
    {
        for (int i = 0; r.EtapeEnCours() && i < 1'000'000; ++i)
            QCoreApplication::processEvents();
        ASSERT_FALSE(r.EtapeEnCours());
    }
    Etat etat() const { return {r.PosRecherche, r.NbTrouves}; }
    Selection selection() const
    {
        return {form.Le_texte->selectionStart(), form.Le_texte->selectionLength()};
    }
    // Presses until the final message; gives the selection start of every step that found.
    std::vector<qsizetype> toutesLesEtapes()
    {
        std::vector<qsizetype> debuts;
        for (int i = 0; i < 1000; ++i) {
            appuyer();
            finirEtape();
            if (!form.Label2->text().startsWith(u"\r\n\r\n"_qs))
                break;
            debuts.push_back(selection().first);
        }
        return debuts;
    }

    FakePlatform fakes;
    Form1 form{fakes.platform()};
    Recherche& r = form.recherche();
    QTemporaryDir dossier;
    int fichiers = 0;
};

TEST_F(Search, PressesStepThroughTheOccurrencesThenShowTheCountAndStartAgain)
{
    ouvrir(kConte);
    taper(u"conte"_qs);
    mettreAuto(false);

    appuyer();
    EXPECT_EQ(form.Label2->text(), etape(1));
    EXPECT_EQ(selection(), Selection(2, 5));
    EXPECT_EQ(etat(), Etat(8, 1));
    EXPECT_TRUE(form.Le_texte->hasFocus());

    appuyer();
    EXPECT_EQ(form.Label2->text(), etape(2));
    EXPECT_EQ(selection(), Selection(12, 5));
    EXPECT_EQ(etat(), Etat(18, 2));

    appuyer();
    EXPECT_EQ(form.Label2->text(), fin(u"conte"_qs, 2));
    EXPECT_EQ(selection(), Selection(20, 0));
    EXPECT_EQ(etat(), Etat(1, 0));

    appuyer();
    EXPECT_EQ(form.Label2->text(), etape(1));
    EXPECT_EQ(selection(), Selection(2, 5));
}

struct CasPressions {
    const char* nom;
    QString texte;
    QString motif;
    std::vector<qsizetype> debuts;
};
void PrintTo(const CasPressions& c, std::ostream* os) { *os << c.nom; }

class Pressions : public Search, public testing::WithParamInterface<CasPressions> { };

TEST_P(Pressions, FindExactNonOverlappingOccurrences)
{
    const CasPressions& c = GetParam();
    ouvrir(c.texte);
    form.TxtRecherche->setText(c.motif);
    mettreAuto(false);
    EXPECT_EQ(toutesLesEtapes(), c.debuts);
    EXPECT_EQ(form.Label2->text(), fin(c.motif, qint64(c.debuts.size())));
    // The last step leaves the caret at the end of the text.
    EXPECT_EQ(selection(), Selection(c.texte.size(), 0));
    EXPECT_TRUE(form.Le_texte->hasFocus());
}

INSTANTIATE_TEST_SUITE_P(
    Cas, Pressions,
    testing::Values(CasPressions{"absent", kConte, u"xyz"_qs, {}},
                    CasPressions{"caseSensitive", kConte, u"Conte"_qs, {}},
                    CasPressions{"noOverlap", u"aaaa\r\n"_qs, u"aa"_qs, {0, 2}},
                    CasPressions{"noText", u""_qs, u"conte"_qs, {}},
                    CasPressions{
                        "acrossWords", u"un mot ou deux\r\nmot ou\r\n"_qs, u"mot ou"_qs, {3, 16}},
                    CasPressions{"longerThanTheRest", u"ab\r\n"_qs, u"abcd"_qs, {}},
                    CasPressions{"accents", u"été\r\nÉté été\r\n"_qs, u"été"_qs, {0, 9}},
                    CasPressions{"startsTheText", u"x\r\nx\r\n"_qs, u"x"_qs, {0, 3}}),
    [](const auto& info) { return std::string(info.param.nom); });

TEST_F(Search, EmptyBoxAsksForAWordAndChangesNothingElse)
{
    ouvrir(kConte);
    taper(u"c"_qs);
    mettreAuto(false);
    appuyer();
    form.TxtRecherche->setFocus();
    QTest::keyClick(form.TxtRecherche, Qt::Key_Backspace);
    const Selection avant = selection();
    for (bool automatique : {false, true}) {
        mettreAuto(automatique);
        appuyer();
        EXPECT_EQ(form.Label2->text(), u"\r\n\r\nSélectionnez un mot"_qs);
        EXPECT_EQ(etat(), Etat(1, 0));
        EXPECT_EQ(selection(), avant);
        EXPECT_FALSE(form.Timer1->isActive());
        EXPECT_FALSE(form.Le_texte->hasFocus());
    }
}

TEST_F(Search, AutoRunsOneStepPerTickThenStopsAndStartsOverNextTime)
{
    ouvrir(kConte);
    taper(u"conte"_qs);
    const QString repos = form.Label2->text();
    appuyer();
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.Label2->text(), repos);
    EXPECT_EQ(selection(), Selection(0, 0));

    r.Timer1_Timer();
    EXPECT_EQ(form.Label2->text(), etape(1));
    EXPECT_EQ(selection(), Selection(2, 5));
    r.Timer1_Timer();
    EXPECT_EQ(form.Label2->text(), etape(2));
    EXPECT_EQ(selection(), Selection(12, 5));
    EXPECT_TRUE(form.Timer1->isActive());
    r.Timer1_Timer();
    EXPECT_EQ(form.Label2->text(), fin(u"conte"_qs, 2));
    EXPECT_FALSE(form.Timer1->isActive());
    // The run's end starts the count over, so a press without Auto counts from 1 again.
    EXPECT_EQ(etat(), Etat(1, 0));
    mettreAuto(false);
    appuyer();
    EXPECT_EQ(form.Label2->text(), etape(1));
}

TEST_F(Search, AutoRunOnTheRealTimerEndsWithTheCount)
{
    ouvrir(kConte + kConte);
    taper(u"conte"_qs);
    appuyer();
    for (int i = 0; form.Timer1->isActive() && i < 200; ++i)
        QTest::qWait(5);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Label2->text(), fin(u"conte"_qs, 4));
}

TEST_F(Search, AutoPressDuringARunStartsItOver)
{
    ouvrir(kConte);
    taper(u"conte"_qs);
    appuyer();
    r.Timer1_Timer();
    r.Timer1_Timer();
    appuyer();
    EXPECT_TRUE(form.Timer1->isActive());
    r.Timer1_Timer();
    EXPECT_EQ(form.Label2->text(), etape(1));
    EXPECT_EQ(selection(), Selection(2, 5));
}

TEST_F(Search, TickWithAnEmptyBoxOnlyStopsTheTimer)
{
    ouvrir(kConte);
    taper(u"conte"_qs);
    appuyer();
    r.Timer1_Timer();
    cliquer(form.TxtRecherche); // empties the box; the focus stays in it
    const QString label = form.Label2->text();
    r.Timer1_Timer();
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Label2->text(), label);
    EXPECT_TRUE(form.TxtRecherche->hasFocus());
    EXPECT_EQ(etat(), Etat(1, 0));
}

struct SourceDeReset {
    const char* nom;
    std::function<void(Search&)> agir;
};
void PrintTo(const SourceDeReset& c, std::ostream* os) { *os << c.nom; }

class Resets : public Search, public testing::WithParamInterface<SourceDeReset> {
protected:
    // The search text stays "conte" (or becomes it again) after each source.
    void remettreConte()
    {
        if (form.TxtRecherche->text() != u"conte"_qs)
            form.TxtRecherche->setText(u"conte"_qs);
        mettreAuto(false);
        form.Timer1->stop();
    }
};

TEST_P(Resets, BetweenStepsStartOverFromTheBeginning)
{
    ouvrir(kConte);
    taper(u"conte"_qs);
    mettreAuto(false);
    appuyer();
    ASSERT_EQ(etat(), Etat(8, 1));
    GetParam().agir(*this);
    EXPECT_EQ(etat(), Etat(1, 0));
    remettreConte();
    appuyer();
    EXPECT_EQ(form.Label2->text(), etape(1));
    EXPECT_EQ(selection(), Selection(2, 5));
}

TEST_P(Resets, DuringAScanDropIt)
{
    // The only occurrence lies far behind the start, so the scan yields many times.
    ouvrir(QString(400, u'x') + u" conte\r\n"_qs);
    taper(u"conte"_qs);
    mettreAuto(false);
    r.reglerTranches(8, 0ns);
    appuyer();
    ASSERT_TRUE(r.EtapeEnCours());
    QCoreApplication::processEvents();
    ASSERT_TRUE(r.EtapeEnCours());
    ASSERT_GT(r.PosRecherche, 1);

    GetParam().agir(*this);
    EXPECT_FALSE(r.EtapeEnCours());
    finirEtape();
    EXPECT_EQ(etat(), Etat(1, 0));
    EXPECT_EQ(selection().second, 0);
    EXPECT_FALSE(form.Label2->text().contains(u"Recherche terminée"_qs));

    remettreConte();
    appuyer();
    finirEtape();
    EXPECT_EQ(form.Label2->text(), etape(1));
    EXPECT_EQ(selection(), Selection(401, 5));
}

INSTANTIATE_TEST_SUITE_P(
    Sources, Resets,
    testing::Values(
        SourceDeReset{"typing", [](Search& t) { t.taper(u"s"_qs); }},
        SourceDeReset{"clickInTheBox", [](Search& t) { t.cliquer(t.form.TxtRecherche); }},
        SourceDeReset{"clickOnAuto", [](Search& t) { t.cliquer(t.form.ChkCherche); }},
        SourceDeReset{"capitalOption", [](Search& t) { t.cliquer(t.form.ChkMaj); }},
        SourceDeReset{"pressWithAuto",
                      [](Search& t) {
                          t.mettreAuto(true);
                          t.appuyer();
                      }},
        SourceDeReset{"fileOpened", [](Search& t) { t.ouvrir(t.form.Le_texte->text()); }}),
    [](const auto& info) { return std::string(info.param.nom); });

struct CasMajuscule {
    const char* nom;
    QString texte;
    QString coche;
    QString premiere;
    QString decoche;
};
void PrintTo(const CasMajuscule& c, std::ostream* os) { *os << c.nom; }

class Majuscule : public Search, public testing::WithParamInterface<CasMajuscule> { };

TEST_P(Majuscule, RecasesOnlyTheFirstCharacter)
{
    const CasMajuscule& c = GetParam();
    form.TxtRecherche->setText(c.texte);
    form.ChkMaj->setChecked(true); // set by the program, it reacts as to a click
    EXPECT_EQ(form.TxtRecherche->text(), c.coche);
    EXPECT_EQ(r.PremiereLettre, c.premiere);
    cliquer(form.ChkMaj);
    EXPECT_FALSE(form.ChkMaj->isChecked());
    EXPECT_EQ(form.TxtRecherche->text(), c.decoche);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, Majuscule,
    testing::Values(CasMajuscule{"plain", u"conte"_qs, u"Conte"_qs, u"C"_qs, u"conte"_qs},
                    CasMajuscule{"restUntouched", u"CONTE"_qs, u"CONTE"_qs, u"C"_qs, u"cONTE"_qs},
                    CasMajuscule{"accent", u"été"_qs, u"Été"_qs, u"É"_qs, u"été"_qs},
                    CasMajuscule{"sharpS", u"ßa"_qs, u"ßa"_qs, u"ß"_qs, u"ßa"_qs},
                    CasMajuscule{"surrogatePair", u"\U00010428x"_qs, u"\U00010400x"_qs,
                                 u"\U00010400"_qs, u"\U00010428x"_qs},
                    CasMajuscule{"notALetter", u"1a"_qs, u"1a"_qs, u"1"_qs, u"1a"_qs},
                    CasMajuscule{"empty", u""_qs, u""_qs, u""_qs, u""_qs}),
    [](const auto& info) { return std::string(info.param.nom); });

TEST_F(Search, ClickInTheBoxEmptiesItAndUnticksTheCapitalOption)
{
    taper(u"conte"_qs);
    cliquer(form.ChkMaj);
    ASSERT_EQ(form.TxtRecherche->text(), u"Conte"_qs);
    cliquer(form.TxtRecherche);
    EXPECT_EQ(form.TxtRecherche->text(), QString());
    EXPECT_FALSE(form.ChkMaj->isChecked());
    EXPECT_TRUE(r.PremiereLettre.isEmpty());
}

TEST_F(Search, NoSecondStepWhileOneIsScanning)
{
    ouvrir(QString(400, u'x') + u" conte\r\n"_qs);
    taper(u"conte"_qs);
    mettreAuto(false);
    r.reglerTranches(8, 0ns);
    appuyer();
    ASSERT_TRUE(r.EtapeEnCours());
    r.Timer1_Timer();
    appuyer();
    EXPECT_EQ(r.NbTrouves, 1);
    finirEtape();
    EXPECT_EQ(form.Label2->text(), etape(1));
    EXPECT_EQ(selection(), Selection(401, 5));
    EXPECT_EQ(etat(), Etat(407, 1));
}

// Occurrences cut by the end of a slice are found all the same, whatever the slice size.
TEST_F(Search, SlicesMissNoOccurrence)
{
    const QString texte = u"abcabcaXabcab\r\nab\r\nabcabc\r\n"_qs;
    ouvrir(texte);
    mettreAuto(false);
    for (const QString& motif : {u"a"_qs, u"abc"_qs, u"ca"_qs, u"bcab"_qs, u"bcabc"_qs}) {
        std::vector<qsizetype> attendus;
        for (qsizetype i = texte.indexOf(motif); i >= 0; i = texte.indexOf(motif, i + motif.size()))
            attendus.push_back(i);
        for (qsizetype tranche : {1, 2, 3, 4, 7, 1000}) {
            form.TxtRecherche->setText(motif);
            r.reglerTranches(tranche, 0ns);
            EXPECT_EQ(toutesLesEtapes(), attendus)
                << motif.toStdString() << " in slices of " << tranche;
        }
    }
}

TEST_F(Search, CountsBeyondSixteenBits)
{
    QString ligne;
    for (int i = 0; i < 500; ++i)
        ligne += u"ab "_qs;
    ligne += u"\r\n"_qs;
    ouvrir(ligne.repeated(80));
    taper(u"ab"_qs);
    appuyer();
    int ticks = 0;
    while (form.Timer1->isActive() && ticks < 50'000) {
        r.Timer1_Timer();
        finirEtape();
        ++ticks;
    }
    EXPECT_EQ(ticks, 40'001);
    EXPECT_EQ(form.Label2->text(), fin(u"ab"_qs, 40'000));
}

} // namespace
