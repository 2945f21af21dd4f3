// SPDX-License-Identifier: GPL-3.0-or-later
// Times the text box alone, offscreen, at the main window's size: giving it a whole text and
// painting it, then selecting at the end of the text.
//   vue_texte_timing FILE [REPETITIONS]   (FILE: a path, or a name in the corpus folder)
// The file goes through the program's own line splitting, so a file of line feeds becomes the
// CR LF text the main window would show. Its bytes are read as Latin-1, close enough for timing.
#include "corpus/corpus.h"
#include "document/fichier_texte.h"
#include "text_view/vue_texte.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double residentMiB()
{
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [REPETITIONS]\n", argv[0]);
        return 2;
    }
    Texte text;
    {
        QFile file(fichierCorpus(QString::fromLocal8Bit(argv[1])));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(file.errorString()));
            return 1;
        }
        QString decoded = QString::fromLatin1(file.readAll());
        DecoupeLignes lignes(decoded.size());
        lignes.ajouter(decoded);
        text = lignes.terminer().texte;
    }
    const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    std::vector<double> setting, opening, selecting, costs;
    for (int i = 0; i < repetitions; ++i) {
        VueTexte display;
        display.resize(649, 193);
        display.show();
        QCoreApplication::processEvents();
        const double before = residentMiB();
        QElapsedTimer timer;
        timer.start();
        display.definirTexte(text, IndexLignes(text));
        setting.push_back(double(timer.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents(); // the first paint
        opening.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        display.definirSelection(text.size() - 12, 6);
        QCoreApplication::processEvents();
        selecting.push_back(double(timer.nsecsElapsed()) / 1e6);
        costs.push_back(residentMiB() - before);
    }
    // Jumps to positions spread over the whole text, each selected and painted.
    std::vector<double> jumps;
    {
        VueTexte display;
        display.resize(649, 193);
        display.show();
        display.definirTexte(text, IndexLignes(text));
        QCoreApplication::processEvents();
        std::mt19937_64 random(12345);
        for (int i = 0; i < 2000; ++i) {
            const qsizetype at = qsizetype(random() % quint64(text.size() + 1));
            QElapsedTimer timer;
            timer.start();
            display.definirSelection(at, 5);
            display.viewport()->repaint();
            jumps.push_back(double(timer.nsecsElapsed()) / 1e3);
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s: %lld characters, %lld lines; setText median %.1f ms, "
                "with the first paint %.1f ms (min %.1f); "
                "select at the end median %.2f ms over %d runs; "
                "the view costs up to %.1f MiB resident; a jump anywhere with its paint median "
                "%.0f us (max %.0f); peak RSS %.0f MiB\n",
                argv[1], static_cast<long long>(text.size()),
                static_cast<long long>(IndexLignes(text).nombreLignes() - 1), median(setting),
                median(opening), *std::min_element(opening.begin(), opening.end()),
                median(selecting), repetitions, *std::max_element(costs.begin(), costs.end()),
                median(jumps), *std::max_element(jumps.begin(), jumps.end()),
                double(usage.ru_maxrss) / 1024.0);
    return 0;
}
