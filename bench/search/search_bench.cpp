// SPDX-License-Identifier: GPL-3.0-or-later
// Times the search on a large text loaded through the real main window, offscreen, and
// measures how long the event loop waits between two turns while the search runs.
//
// The text is the medium corpus, from the corpus folder (corpus/corpus.h).

#include "corpus/corpus.h"
#include "main_window/form1.h"
#include "platform/fakes.h"
#include "search/recherche.h"
#include "text_view/vue_texte.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

QString cheminDuTexte() { return fichierCorpus(QStringLiteral("medium.cp1252.crlf.txt")); }

// The main window with the text loaded by its own open command.
struct Banc {
    FakePlatform fakes;
    Form1 form{fakes.platform()};
    Recherche& r = form.recherche();

    Banc()
    {
        form.show();
        if (!QFileInfo::exists(cheminDuTexte()))
            return;
        fakes.files.answers.push_back(cheminDuTexte());
        form.Cmdouvrir_Click();
    }
    bool pret() const { return !form.Le_texte->texte().isEmpty(); }
};

Banc* banc = nullptr;

struct Tours {
    double totalMs = 0;
    double plusLongEcartMs = 0; // the longest stretch without a turn of the event loop
    long nombre = 0;
};

// Starts the search with `lancer` and runs the event loop until `fini` holds; a zero-delay
// probe notes every turn of the loop.
Tours tourner(const std::function<void()>& lancer, const std::function<bool()>& fini)
{
    QEventLoop boucle;
    QTimer sonde;
    sonde.setInterval(0);
    QElapsedTimer chrono;
    qint64 dernier = 0;
    Tours tours;
    QObject::connect(&sonde, &QTimer::timeout, [&] {
        const qint64 maintenant = chrono.nsecsElapsed();
        tours.plusLongEcartMs = std::max(tours.plusLongEcartMs, (maintenant - dernier) / 1e6);
        dernier = maintenant;
        ++tours.nombre;
        if (fini())
            boucle.quit();
    });
    // What the window still had to do (painting after the load) is not the search's.
    QCoreApplication::processEvents();
    sonde.start();
    chrono.start();
    lancer();
    boucle.exec();
    tours.totalMs = chrono.nsecsElapsed() / 1e6;
    return tours;
}

qint64 occurrences(const QString& texte, const QString& motif)
{
    qint64 n = 0;
    for (qsizetype i = texte.indexOf(motif); i >= 0; i = texte.indexOf(motif, i + motif.size()))
        ++n;
    return n;
}

bool pret(benchmark::State& state)
{
    if (banc->pret())
        return true;
    state.SkipWithError("no corpus: run bench/corpus/creer-corpus or set LEXORQUINE_CORPUS");
    return false;
}

// A press without Auto for a text that is not there: the whole text is scanned.
void BM_StepThatFindsNothing(benchmark::State& state)
{
    if (!pret(state))
        return;
    banc->form.ChkCherche->setChecked(false);
    banc->form.TxtRecherche->setText(QStringLiteral("xyzzyq"));
    double ecart = 0;
    long nombre = 0;
    for (auto _ : state) {
        const Tours t = tourner([] { banc->r.appuyer(); }, [] { return !banc->r.etapeEnCours(); });
        state.SetIterationTime(t.totalMs / 1e3);
        ecart = std::max(ecart, t.plusLongEcartMs);
        nombre += t.nombre;
    }
    if (!banc->form.Label2->text().endsWith(QStringLiteral("n'a pas été trouvé")))
        state.SkipWithError("unexpected result");
    state.counters["chars"] = double(banc->form.Le_texte->texte().size());
    state.counters["max_gap_ms"] = ecart;
    state.counters["turns"]
        = benchmark::Counter(double(nombre), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StepThatFindsNothing)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// Presses without Auto for a frequent text: the cost of one step, display included.
void BM_StepThatFinds(benchmark::State& state)
{
    if (!pret(state))
        return;
    banc->form.ChkCherche->setChecked(false);
    banc->form.TxtRecherche->setText(QStringLiteral("de "));
    double ecart = 0;
    for (auto _ : state) {
        const Tours t = tourner([] { banc->r.appuyer(); }, [] { return !banc->r.etapeEnCours(); });
        state.SetIterationTime(t.totalMs / 1e3);
        ecart = std::max(ecart, t.plusLongEcartMs);
    }
    state.counters["max_gap_ms"] = ecart;
}
BENCHMARK(BM_StepThatFinds)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2000);

// One press with Auto: the timer makes every step until the final message.
void BM_AutoRun(benchmark::State& state, const char* motif)
{
    if (!pret(state))
        return;
    banc->form.ChkCherche->setChecked(true);
    banc->form.TxtRecherche->setText(QString::fromUtf8(motif));
    const qint64 n = occurrences(banc->form.Le_texte->texte().toString(), QString::fromUtf8(motif));
    double ecart = 0;
    for (auto _ : state) {
        const Tours t
            = tourner([] { banc->r.appuyer(); }, [] { return !banc->form.Timer1->isActive(); });
        state.SetIterationTime(t.totalMs / 1e3);
        ecart = std::max(ecart, t.plusLongEcartMs);
        state.counters["ms_per_step"] = t.totalMs / double(n + 1);
    }
    const QString attendu = QStringLiteral(" fois.");
    if (!banc->form.Label2->text().endsWith(QString::number(n) + attendu))
        state.SkipWithError("unexpected count");
    state.counters["occurrences"] = double(n);
    state.counters["max_gap_ms"] = ecart;
}
BENCHMARK_CAPTURE(BM_AutoRun, pinceau, "pinceau")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_AutoRun, Lincoln, "Lincoln")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// A long search text that matches nearly everywhere but for its first character makes a
// substring search compare about its whole length at every position.
void BM_StepWithAHardSearchText(benchmark::State& state)
{
    FakePlatform fakes;
    Form1 form(fakes.platform());
    form.show();
    Recherche& r = form.recherche();
    form.Le_texte->definirTexte((QString(2000, u'a') + QStringLiteral("\r\n")).repeated(1000));
    r.definirTexte(form.Le_texte->texte().toString());
    form.ChkCherche->setChecked(false);
    form.TxtRecherche->setText(QStringLiteral("b") + QString(qsizetype(state.range(0)) - 1, u'a'));
    double ecart = 0;
    for (auto _ : state) {
        const Tours t = tourner([&] { r.appuyer(); }, [&] { return !r.etapeEnCours(); });
        state.SetIterationTime(t.totalMs / 1e3);
        ecart = std::max(ecart, t.plusLongEcartMs);
    }
    state.counters["max_gap_ms"] = ecart;
}
BENCHMARK(BM_StepWithAHardSearchText)
    ->Arg(10)
    ->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication application(argc, argv);
    auto leBanc = std::make_unique<Banc>();
    banc = leBanc.get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
