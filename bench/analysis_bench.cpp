// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of the analysis on the benchmark corpora, loaded as the program
// loads them, from the corpus folder (corpus/corpus.h).
//
// analysis_bench --memoire [mots] measures instead the peak resident size of
// loading and analysing a text of distinct 9-letter words (700,000 by
// default), written to a temporary file; run it alone, as its own process.

#include "analysis/analyse.h"
#include "analysis/analyseur.h"
#include "analysis/occurrences.h"
#include "analysis/wc.h"
#include "corpus/corpus.h"
#include "document/fichier_texte.h"
#include "document/index_lignes.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

namespace {

const char* const kFichiers[] = {
    "small.cp1252.crlf.txt", "medium.cp1252.crlf.txt", "large.cp1252.crlf.txt",
    "medium.utf8.crlf.txt",  "medium.utf8.lf.txt",
};

// One copy of each text for the whole run, as the loader keeps it.
const Texte& charge(const std::string& nom)
{
    static std::map<std::string, Texte> charges;
    auto it = charges.find(nom);
    if (it == charges.end())
        it = charges
                 .emplace(nom,
                          lireFichierTexte(dossierCorpus() + u'/' + QString::fromStdString(nom))
                              .charge.texte)
                 .first;
    return it->second;
}

// The same in UTF-16, for the counts that read only that: the large one is 200 MB.
const QString& texte(const std::string& nom)
{
    static std::map<std::string, QString> larges;
    auto it = larges.find(nom);
    if (it == larges.end())
        it = larges.emplace(nom, charge(nom).toString()).first;
    return it->second;
}

// Bytes of a text as kept.
double octetsGardes(const Texte& t) { return double(t.size()) * (t.estEnOctets() ? 1 : 2); }

// Kilobytes from /proc/self/status ("VmRSS", "VmHWM").
long lireKo(const char* champ)
{
    std::ifstream f("/proc/self/status");
    std::string ligne;
    const std::string cle = std::string(champ) + ":";
    while (std::getline(f, ligne))
        if (ligne.rfind(cle, 0) == 0)
            return std::atol(ligne.c_str() + cle.size());
    return -1;
}

// Resets the peak resident size, so that the next peak is the analysis' own.
void remettrePic() { std::ofstream("/proc/self/clear_refs") << "5"; }

void compterMots(benchmark::State& etat, std::string nom)
{
    const QString& t = texte(nom);
    for (auto _ : etat)
        benchmark::DoNotOptimize(wc::CompterMots(t));
    etat.SetBytesProcessed(etat.iterations() * t.size());
}

void compterMotsDifferents(benchmark::State& etat, std::string nom)
{
    const QString& t = texte(nom);
    for (auto _ : etat)
        benchmark::DoNotOptimize(wc::CompterMotsDifferents(t));
    etat.SetBytesProcessed(etat.iterations() * t.size());
}

void analyserMots(benchmark::State& etat, std::string nom)
{
    const QString& t = texte(nom);
    for (auto _ : etat) {
        TableOccurrences table;
        table.AnalyserMots(t);
        benchmark::DoNotOptimize(table.Rapport());
    }
    etat.SetBytesProcessed(etat.iterations() * t.size());
}

// What the main window runs after a load: both counts, the table and the
// report, on two threads.
void analyseComplete(benchmark::State& etat, std::string nom)
{
    const Texte& t = charge(nom);
    const long avant = lireKo("VmRSS");
    remettrePic();
    qint64 entrees = 0;
    for (auto _ : etat) {
        AnalyseComplete r = analyserTexte(t);
        entrees = r.table.NbMotsTab();
        benchmark::DoNotOptimize(r.rapport);
    }
    const long pic = lireKo("VmHWM");
    etat.SetBytesProcessed(etat.iterations() * t.size());
    etat.counters["entrees"] = double(entrees);
    etat.counters["texte_Mo"] = octetsGardes(t) / 1e6;
    if (avant > 0 && pic > 0)
        etat.counters["surplus_memoire_Mo"] = double(pic - avant) / 1e3;
}

void sequentielle(benchmark::State& etat, std::string nom)
{
    const QString& t = texte(nom);
    for (auto _ : etat) {
        benchmark::DoNotOptimize(wc::CompterMots(t));
        benchmark::DoNotOptimize(wc::CompterMotsDifferents(t));
        TableOccurrences table;
        table.AnalyserMots(t);
        benchmark::DoNotOptimize(table.Rapport());
    }
    etat.SetBytesProcessed(etat.iterations() * t.size());
}

// The same on one thread: what one core does.
void analyseUnFil(benchmark::State& etat, std::string nom)
{
    const Texte& t = charge(nom);
    for (auto _ : etat)
        benchmark::DoNotOptimize(lexique::analyser(t, 1));
    etat.counters["Mo_fichier_par_s"] = benchmark::Counter(
        double(QFileInfo(dossierCorpus() + u'/' + QString::fromStdString(nom)).size())
            * double(etat.iterations()) / 1e6,
        benchmark::Counter::kIsRate);
}

// Loading alone, from the file in the page cache: read, decode, line ends, line index.
void chargement(benchmark::State& etat, std::string nom)
{
    const QString chemin = dossierCorpus() + u'/' + QString::fromStdString(nom);
    for (auto _ : etat) {
        const LectureFichier lu = lireFichierTexte(chemin);
        benchmark::DoNotOptimize(lu.charge.lignes.nombreLignes());
    }
    etat.SetBytesProcessed(etat.iterations() * QFileInfo(chemin).size());
}

// The n-th of 26^9 distinct words of 9 small letters: an odd multiplier
// modulo 26^9 is a bijection, so the words are distinct but not in order.
QByteArray motDistinct(quint64 n)
{
    constexpr quint64 kMots = 5429503678976ull; // 26^9
    quint64 v = (n * 2654435761ull + 12345) % kMots;
    QByteArray m(9, 'a');
    for (int i = 0; i < 9; ++i) {
        m[i] = char('a' + v % 26);
        v /= 26;
    }
    return m;
}

int mesurerMemoire(quint64 nbMots)
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("distincts.txt"));
    {
        QByteArray contenu;
        contenu.reserve(qsizetype(nbMots) * 10 + 2);
        for (quint64 i = 0; i < nbMots; ++i) {
            contenu += motDistinct(i);
            contenu += (i % 12 == 11) ? "\r\n" : " ";
        }
        contenu += "\r\n";
        QFile f(chemin);
        if (!f.open(QIODevice::WriteOnly) || f.write(contenu) != contenu.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(chemin));
            return 1;
        }
    }
    const qint64 octets = QFileInfo(chemin).size();
    remettrePic();
    const long depart = lireKo("VmHWM");
    qint64 entrees = 0;
    qsizetype rapport = 0;
    {
        const LectureFichier lu = lireFichierTexte(chemin);
        const long apresChargement = lireKo("VmHWM");
        AnalyseComplete r = analyserTexte(lu.charge.texte);
        entrees = r.table.NbMotsTab();
        rapport = r.rapport.size();
        std::printf("load peak: %.1f MB\n", double(apresChargement) / 1e3);
    }
    const long pic = lireKo("VmHWM");
    const double mo = double(octets) / 1e6;
    std::printf("file: %.2f MB, %lld entries, report %lld characters\n", mo, qlonglong(entrees),
                qlonglong(rapport));
    std::printf("process before: %.1f MB, peak: %.1f MB = %.1f x the file "
                "(peak - before: %.1f x)\n",
                double(depart) / 1e3, double(pic) / 1e3, double(pic) / 1e3 / mo,
                double(pic - depart) / 1e3 / mo);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::string(argv[1]) == "--memoire")
        return mesurerMemoire(argc >= 3 ? std::strtoull(argv[2], nullptr, 10) : 700000);
    benchmark::Initialize(&argc, argv);
    bool trouve = false;
    for (const char* f : kFichiers) {
        if (!QFile::exists(dossierCorpus() + u'/' + QString::fromLatin1(f)))
            continue;
        trouve = true;
        const std::string nom(f);
        const auto ms = benchmark::kMillisecond;
        benchmark::RegisterBenchmark(("AnalyseComplete/" + nom).c_str(), analyseComplete, nom)
            ->Unit(ms)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("AnalyseUnFil/" + nom).c_str(), analyseUnFil, nom)
            ->Unit(ms)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("Sequentielle/" + nom).c_str(), sequentielle, nom)->Unit(ms);
        benchmark::RegisterBenchmark(("CompterMots/" + nom).c_str(), compterMots, nom)->Unit(ms);
        benchmark::RegisterBenchmark(("CompterMotsDifferents/" + nom).c_str(),
                                     compterMotsDifferents, nom)
            ->Unit(ms);
        benchmark::RegisterBenchmark(("AnalyserMots+Rapport/" + nom).c_str(), analyserMots, nom)
            ->Unit(ms);
        benchmark::RegisterBenchmark(("Chargement/" + nom).c_str(), chargement, nom)->Unit(ms);
    }
    if (!trouve) {
        std::fprintf(stderr,
                     "No corpus in %s: run bench/corpus/creer-corpus or set LEXORQUINE_CORPUS.\n",
                     qPrintable(dossierCorpus()));
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
