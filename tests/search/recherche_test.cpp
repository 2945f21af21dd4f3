// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/recherche.h"

#include "qt_print.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <utility>
#include <vector>

using namespace std::chrono_literals;

namespace {

const QString kConte = u"raconter et contes\r\n"_qs;
// What the result label shows until the search first speaks.
const QString kRepos = u"(repos)"_qs;

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

// The search alone, with what a window would show noted from its signals.
class Search : public testing::Test {
public:
    Search()
    {
        QObject::connect(&r, &Recherche::resultat, [this](const QString& t) { label = t; });
        QObject::connect(&r, &Recherche::selectionne, [this](qsizetype debut, qsizetype n) {
            selection = {debut, n};
            focusDansLeTexte = true;
        });
        QObject::connect(&r, &Recherche::attend, [this](qsizetype debut) {
            selection = {debut, 0};
        });
        QObject::connect(&r, &Recherche::motifChange, [this](const QString& m) { boite = m; });
        QObject::connect(&r, &Recherche::majusculeChangee, [this](bool c) { majuscule = c; });
        QObject::connect(&r, &Recherche::termine, [this] { ++fins; });
        // As the window does: the timer's ticks drive the run.
        QObject::connect(r.minuterie(), &QTimer::timeout, &r, &Recherche::tic);
    }

    void charger(const QString& texte)
    {
        charge = texte;
        r.definirTexte(texte);
    }
    // As the box does: one change per character typed.
    void taper(const QString& texte)
    {
        for (QChar c : texte)
            r.definirMotif(r.motif() + c);
    }
    void effacer() { r.definirMotif(r.motif().chopped(1)); }
    // A click on "Auto", when its state is not the one wanted.
    void mettreAuto(bool coche)
    {
        if (automatique == coche)
            return;
        automatique = coche;
        r.definirAuto(coche);
        r.basculerAuto();
    }
    void appuyer() { r.appuyer(); }
    bool minuterieActive() const { return r.minuterie()->isActive(); }
    void finirEtape()
    {
        for (int i = 0; r.etapeEnCours() && i < 1'000'000; ++i)
            QCoreApplication::processEvents();
        ASSERT_FALSE(r.etapeEnCours());
    }
    Etat etat() const { return {r.position(), r.etapes()}; }
    // Presses until the final message; gives the selection start of every step that found.
    std::vector<qsizetype> toutesLesEtapes()
    {
        std::vector<qsizetype> debuts;
        for (int i = 0; i < 1000; ++i) {
            appuyer();
            finirEtape();
            if (!label.startsWith(u"\r\n\r\n"_qs))
                break;
            debuts.push_back(selection.first);
        }
        return debuts;
    }

    Recherche r;
    QString charge;
    bool automatique = true;
    QString label = kRepos;
    Selection selection{0, 0};
    bool focusDansLeTexte = false;
    QString boite;
    bool majuscule = false;
    int fins = 0;
};

TEST_F(Search, StartsAtTheBeginningWithAutoOnAndTheFiveMillisecondTimerOff)
{
    EXPECT_EQ(etat(), Etat(1, 0));
    EXPECT_FALSE(r.etapeEnCours());
    EXPECT_FALSE(minuterieActive());
    EXPECT_EQ(r.minuterie()->interval(), 5);
    EXPECT_TRUE(r.motif().isEmpty());
    EXPECT_FALSE(r.majuscule());
}

TEST_F(Search, PressesStepThroughTheOccurrencesThenShowTheCountAndStartAgain)
{
    charger(kConte);
    taper(u"conte"_qs);
    mettreAuto(false);

    appuyer();
    EXPECT_EQ(label, etape(1));
    EXPECT_EQ(selection, Selection(2, 5));
    EXPECT_EQ(etat(), Etat(8, 1));
    EXPECT_TRUE(focusDansLeTexte);

    appuyer();
    EXPECT_EQ(label, etape(2));
    EXPECT_EQ(selection, Selection(12, 5));
    EXPECT_EQ(etat(), Etat(18, 2));
    EXPECT_EQ(fins, 0);

    appuyer();
    EXPECT_EQ(label, fin(u"conte"_qs, 2));
    EXPECT_EQ(selection, Selection(20, 5)); // the window clamps it to the caret at the end
    EXPECT_EQ(etat(), Etat(1, 0));
    EXPECT_EQ(fins, 1);

    appuyer();
    EXPECT_EQ(label, etape(1));
    EXPECT_EQ(selection, Selection(2, 5));
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
    charger(c.texte);
    r.definirMotif(c.motif);
    mettreAuto(false);
    EXPECT_EQ(toutesLesEtapes(), c.debuts);
    EXPECT_EQ(label, fin(c.motif, qint64(c.debuts.size())));
    // The last step puts the selection's start at the end of the text.
    EXPECT_EQ(selection.first, c.texte.size());
    EXPECT_TRUE(focusDansLeTexte);
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
    charger(kConte);
    taper(u"c"_qs);
    mettreAuto(false);
    appuyer();
    focusDansLeTexte = false; // the user goes back to the box
    effacer();
    const Selection avant = selection;
    for (bool automatique : {false, true}) {
        mettreAuto(automatique);
        appuyer();
        EXPECT_EQ(label, u"\r\n\r\nSélectionnez un mot"_qs);
        EXPECT_EQ(etat(), Etat(1, 0));
        EXPECT_EQ(selection, avant);
        EXPECT_FALSE(minuterieActive());
        EXPECT_FALSE(focusDansLeTexte);
    }
}

TEST_F(Search, AutoRunsOneStepPerTickThenStopsAndStartsOverNextTime)
{
    charger(kConte);
    taper(u"conte"_qs);
    appuyer();
    EXPECT_TRUE(minuterieActive());
    EXPECT_EQ(label, kRepos);
    EXPECT_FALSE(focusDansLeTexte);

    r.tic();
    EXPECT_EQ(label, etape(1));
    EXPECT_EQ(selection, Selection(2, 5));
    r.tic();
    EXPECT_EQ(label, etape(2));
    EXPECT_EQ(selection, Selection(12, 5));
    EXPECT_TRUE(minuterieActive());
    r.tic();
    EXPECT_EQ(label, fin(u"conte"_qs, 2));
    EXPECT_FALSE(minuterieActive());
    EXPECT_EQ(fins, 1);
    // The run's end starts the count over, so a press without Auto counts from 1 again.
    EXPECT_EQ(etat(), Etat(1, 0));
    mettreAuto(false);
    appuyer();
    EXPECT_EQ(label, etape(1));
}

// The ticks of the search's own timer are what make the steps of a run.
TEST_F(Search, TheTimersTicksMakeTheSteps)
{
    charger(kConte + kConte);
    taper(u"conte"_qs);
    appuyer();
    for (int tick = 0; tick < 10 && minuterieActive(); ++tick)
        ASSERT_TRUE(QMetaObject::invokeMethod(r.minuterie(), "timeout"));
    EXPECT_FALSE(minuterieActive());
    EXPECT_EQ(label, fin(u"conte"_qs, 4));
}

TEST_F(Search, AutoPressDuringARunStartsItOver)
{
    charger(kConte);
    taper(u"conte"_qs);
    appuyer();
    r.tic();
    r.tic();
    appuyer();
    EXPECT_TRUE(minuterieActive());
    r.tic();
    EXPECT_EQ(label, etape(1));
    EXPECT_EQ(selection, Selection(2, 5));
}

TEST_F(Search, TickWithAnEmptyBoxOnlyStopsTheTimer)
{
    charger(kConte);
    taper(u"conte"_qs);
    appuyer();
    r.tic();
    r.viderMotif(); // empties the box; the focus stays in it
    focusDansLeTexte = false;
    const QString avant = label;
    r.tic();
    EXPECT_FALSE(minuterieActive());
    EXPECT_EQ(label, avant);
    EXPECT_FALSE(focusDansLeTexte);
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
        r.definirMotif(u"conte"_qs);
        mettreAuto(false);
        r.minuterie()->stop();
    }
};

TEST_P(Resets, BetweenStepsStartOverFromTheBeginning)
{
    charger(kConte);
    taper(u"conte"_qs);
    mettreAuto(false);
    appuyer();
    ASSERT_EQ(etat(), Etat(8, 1));
    GetParam().agir(*this);
    EXPECT_EQ(etat(), Etat(1, 0));
    remettreConte();
    appuyer();
    EXPECT_EQ(label, etape(1));
    EXPECT_EQ(selection, Selection(2, 5));
}

TEST_P(Resets, DuringAScanDropIt)
{
    // The only occurrence lies far behind the start, so the scan yields many times.
    const QString texte = QString(400, u'x') + u" conte\r\n"_qs;
    charger(texte);
    taper(u"conte"_qs);
    mettreAuto(false);
    r.reglerTranches(8, 0ns);
    appuyer();
    ASSERT_TRUE(r.etapeEnCours());
    EXPECT_EQ(selection, Selection(1, 0)); // the caret waits where the scan began
    QCoreApplication::processEvents();
    ASSERT_TRUE(r.etapeEnCours());
    ASSERT_GT(r.position(), 1);

    GetParam().agir(*this);
    EXPECT_FALSE(r.etapeEnCours());
    finirEtape();
    EXPECT_EQ(etat(), Etat(1, 0));
    EXPECT_EQ(selection.second, 0);
    EXPECT_FALSE(label.contains(u"Recherche terminée"_qs));
    EXPECT_EQ(fins, 0);

    remettreConte();
    appuyer();
    finirEtape();
    EXPECT_EQ(label, etape(1));
    EXPECT_EQ(selection, Selection(401, 5));
}

INSTANTIATE_TEST_SUITE_P(
    Sources, Resets,
    testing::Values(SourceDeReset{"typing", [](Search& t) { t.taper(u"s"_qs); }},
                    SourceDeReset{"clickInTheBox", [](Search& t) { t.r.viderMotif(); }},
                    SourceDeReset{"clickOnAuto", [](Search& t) { t.mettreAuto(!t.automatique); }},
                    SourceDeReset{"capitalOption",
                                  [](Search& t) { t.r.definirMajuscule(!t.r.majuscule()); }},
                    SourceDeReset{"pressWithAuto",
                                  [](Search& t) {
                                      t.mettreAuto(true);
                                      t.appuyer();
                                  }},
                    SourceDeReset{"textLoadedAgain", [](Search& t) { t.charger(t.charge); }}),
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

TEST_P(Majuscule, RecasesOnlyTheFirstCharacterAndTellsTheBox)
{
    const CasMajuscule& c = GetParam();
    r.definirMotif(c.texte);
    boite = c.texte;
    r.definirMajuscule(true);
    EXPECT_EQ(r.motif(), c.coche);
    EXPECT_EQ(boite, c.coche);
    EXPECT_EQ(r.premiereLettre(), c.premiere);
    r.definirMajuscule(false);
    EXPECT_EQ(r.motif(), c.decoche);
    EXPECT_EQ(boite, c.decoche);
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
    r.definirMajuscule(true);
    ASSERT_EQ(r.motif(), u"Conte"_qs);
    ASSERT_TRUE(majuscule);
    r.viderMotif();
    EXPECT_EQ(r.motif(), QString());
    EXPECT_EQ(boite, QString());
    EXPECT_FALSE(r.majuscule());
    EXPECT_FALSE(majuscule);
    EXPECT_TRUE(r.premiereLettre().isEmpty());
}

// What comes from the box is not sent back to it.
TEST_F(Search, ChangesFromTheBoxAreNotEchoed)
{
    int echos = 0;
    QObject::connect(&r, &Recherche::motifChange, [&] { ++echos; });
    QObject::connect(&r, &Recherche::majusculeChangee, [&] { ++echos; });
    r.definirMotif(u"conte"_qs);
    EXPECT_EQ(echos, 1); // told once; a box that already holds it stays as it is
    r.definirMotif(u"conte"_qs);
    r.definirMajuscule(false);
    EXPECT_EQ(echos, 1);
}

TEST_F(Search, NoSecondStepWhileOneIsScanning)
{
    charger(QString(400, u'x') + u" conte\r\n"_qs);
    taper(u"conte"_qs);
    mettreAuto(false);
    r.reglerTranches(8, 0ns);
    appuyer();
    ASSERT_TRUE(r.etapeEnCours());
    r.tic();
    appuyer();
    EXPECT_EQ(r.etapes(), 1);
    finirEtape();
    EXPECT_EQ(label, etape(1));
    EXPECT_EQ(selection, Selection(401, 5));
    EXPECT_EQ(etat(), Etat(407, 1));
}

// A scan keeps to the text it began on, whatever comes in meanwhile without a reset.
TEST_F(Search, AScanWorksOnTheTextAsItWasWhenTheStepBegan)
{
    QString texte = QString(400, u'x') + u" conte\r\n"_qs;
    charger(texte);
    taper(u"conte"_qs);
    mettreAuto(false);
    r.reglerTranches(8, 0ns);
    appuyer();
    ASSERT_TRUE(r.etapeEnCours());
    texte.fill(u'y'); // the caller's copy changes; the search's must not
    finirEtape();
    EXPECT_EQ(selection, Selection(401, 5));
}

// Occurrences cut by the end of a slice are found all the same, whatever the slice size.
TEST_F(Search, SlicesMissNoOccurrence)
{
    const QString texte = u"abcabcaXabcab\r\nab\r\nabcabc\r\n"_qs;
    charger(texte);
    mettreAuto(false);
    for (const QString& motif : {u"a"_qs, u"abc"_qs, u"ca"_qs, u"bcab"_qs, u"bcabc"_qs}) {
        std::vector<qsizetype> attendus;
        for (qsizetype i = texte.indexOf(motif); i >= 0; i = texte.indexOf(motif, i + motif.size()))
            attendus.push_back(i);
        for (qsizetype tranche : {1, 2, 3, 4, 7, 1000}) {
            r.definirMotif(motif);
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
    charger(ligne.repeated(80));
    taper(u"ab"_qs);
    appuyer();
    int ticks = 0;
    while (minuterieActive() && ticks < 50'000) {
        r.tic();
        finirEtape();
        ++ticks;
    }
    EXPECT_EQ(ticks, 40'001);
    EXPECT_EQ(label, fin(u"ab"_qs, 40'000));
}

} // namespace

namespace {

// A text kept as bytes is searched as the same text in UTF-16: the same steps select the same
// stretches and end with the same message, slices cut anywhere.
TEST_F(Search, FindsTheSameInATextKeptAsBytes)
{
    const QString large = u"Élan, élan… l'élan « élan » ÉLAN\r\nœuvre€ élan\r\n"_qs;
    QByteArray octets;
    for (const QChar c : large)
        octets.append(char(octetCp1252(c.unicode())));
    mettreAuto(false);
    r.reglerTranches(3, 0ns);
    const std::pair<QString, size_t> cas[] = {
        {u"élan"_qs, 4}, {u"œuvre€"_qs, 1}, {u"n\r\n"_qs, 1}, {u"élan\u0151"_qs, 0}, {u"x"_qs, 0}};
    for (const auto& [motif, trouvees] : cas) {
        SCOPED_TRACE(motif.toStdString());
        std::vector<std::pair<std::vector<qsizetype>, QString>> vus;
        for (const Texte& t : {Texte(large), Texte::enCp1252(octets)}) {
            r.definirTexte(t);
            r.definirMotif(motif);
            vus.emplace_back(toutesLesEtapes(), label);
        }
        EXPECT_EQ(vus[0].first.size(), trouvees);
        EXPECT_EQ(vus[1], vus[0]);
    }
}

} // namespace
