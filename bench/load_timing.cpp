// SPDX-License-Identifier: GPL-3.0-or-later
// Times the loader alone (read, decode, line ends, counts) and its peak memory.
//   load_timing FILE [REPETITIONS]   (FILE: a path, or a name in the corpus folder)
// The peak is the process's highest resident size during the loads, less what it held before
// the first one; each load's text is released before the next starts.
#include "corpus/corpus.h"
#include "document/fichier_texte.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Kibibytes of one field of /proc/self/status ("VmRSS", "VmHWM").
long champStatus(const char* champ)
{
    std::ifstream f("/proc/self/status");
    std::string ligne;
    const std::string cle = std::string(champ) + ":";
    while (std::getline(f, ligne))
        if (ligne.rfind(cle, 0) == 0)
            return std::atol(ligne.c_str() + cle.size());
    return -1;
}

// Seconds of processor time this process has used: on a shared machine the wall clock also
// counts the others' work.
double secondesProcesseur()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [REPETITIONS]\n", argv[0]);
        return 2;
    }
    const QString path = fichierCorpus(QString::fromLocal8Bit(argv[1]));
    const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const double taille = double(QFileInfo(path).size());

    const long avant = champStatus("VmRSS");
    std::vector<double> seconds;
    std::vector<double> processeur;
    qint64 caracteres = 0;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        const double debut = secondesProcesseur();
        timer.start();
        const LectureFichier lu = lireFichierTexte(path);
        seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
        processeur.push_back(secondesProcesseur() - debut);
        if (!lu.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(lu.erreur));
            return 1;
        }
        caracteres = lu.charge.texte.size();
    }
    const double picMio = double(champStatus("VmHWM") - avant) / 1024.0;
    std::sort(seconds.begin(), seconds.end());
    std::sort(processeur.begin(), processeur.end());
    std::printf("load %s: median %.3f s (processor %.3f s), min %.3f s, max %.3f s over %d "
                "runs; peak %.0f MiB = %.2f x the file; text %lld characters\n",
                argv[1], seconds[seconds.size() / 2], processeur[processeur.size() / 2],
                seconds.front(), seconds.back(), repetitions, picMio,
                picMio * 1024 * 1024 / std::max(taille, 1.0), static_cast<long long>(caracteres));
    return 0;
}
