// SPDX-License-Identifier: GPL-3.0-or-later
// Times the whole open command through the real main window, offscreen: from the press of the
// open button to the text, its counts and the report shown.
//   open_file_timing FILE [REPETITIONS]   (FILE: a path, or a name in the corpus folder)
#include "corpus/corpus.h"
#include "main_window/form1.h"
#include "platform/fakes.h"

#include <QApplication>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [REPETITIONS]\n", argv[0]);
        return 2;
    }
    const QString path = fichierCorpus(QString::fromLocal8Bit(argv[1]));
    const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    std::vector<double> seconds;
    for (int i = 0; i < repetitions; ++i) {
        FakePlatform fakes;
        Form1 form(fakes.platform());
        form.show();
        QCoreApplication::processEvents();
        fakes.files.answers.push_back(path);
        QElapsedTimer timer;
        timer.start();
        form.Cmdouvrir_Click();
        QCoreApplication::processEvents(); // let the window paint what changed
        seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
        if (!fakes.files.errors.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(fakes.files.errors.constFirst()));
            return 1;
        }
    }
    std::sort(seconds.begin(), seconds.end());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("open %s: median %.3f s, min %.3f s, max %.3f s over %d runs; peak RSS %.0f MiB\n",
                argv[1], seconds[seconds.size() / 2], seconds.front(), seconds.back(), repetitions,
                double(usage.ru_maxrss) / 1024.0);
    return 0;
}
