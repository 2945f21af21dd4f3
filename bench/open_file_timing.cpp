// SPDX-License-Identifier: GPL-3.0-or-later
// Times the whole open command through the real main window, offscreen: from the press of the
// open button to the text, its counts and the report shown, and compares it with `wc -l -m -w`
// on the same file in the same run. Also reports the memory the open took and the longest time
// the window's event loop went without a turn.
//   open_file_timing FILE [REPETITIONS]   (FILE: a path, or a name in the corpus folder)
#include "corpus/corpus.h"
#include "document/memoire.h"
#include "main_window/form1.h"
#include "platform/fakes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A field of /proc/self/status, in KiB.
qint64 champStatut(const char* nom)
{
    QFile statut(QStringLiteral("/proc/self/status"));
    if (!statut.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefixe = QByteArray(nom) + ':';
    for (const QByteArray& ligne : statut.readAll().split('\n'))
        if (ligne.startsWith(prefixe))
            return ligne.mid(prefixe.size()).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

// Lets the peak resident size start again from the current one.
void remettrePicAZero()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

double mediane(std::vector<double> valeurs)
{
    std::sort(valeurs.begin(), valeurs.end());
    return valeurs[valeurs.size() / 2];
}

struct Mesure {
    double secondes = 0;
    double pireAttenteMs = 0; // longest stretch without a turn of the event loop
    double memoireMio = 0; // peak resident size during the open, above the size before it
};

Mesure ouvrir(const QString& chemin)
{
    FakePlatform fakes;
    Form1 form(fakes.platform());
    form.show();
    QCoreApplication::processEvents();
    fakes.files.answers.push_back(chemin);

    const qint64 avant = champStatut("VmRSS");
    remettrePicAZero();
    QEventLoop boucle;
    bool clique = false;
    QElapsedTimer duree;
    QTimer::singleShot(0, [&] {
        duree.start();
        form.Cmdouvrir_Click();
        clique = true;
    });
    // The open is over once the busy pointer is gone.
    QTimer verification;
    verification.setInterval(1);
    // The longest time between two ticks is the longest the window went without answering.
    QElapsedTimer horloge;
    horloge.start();
    qint64 dernierTour = 0;
    qint64 pire = 0;
    QObject::connect(&verification, &QTimer::timeout, [&] {
        const qint64 maintenant = horloge.nsecsElapsed();
        pire = std::max(pire, maintenant - dernierTour);
        dernierTour = maintenant;
        if (clique && QGuiApplication::overrideCursor() == nullptr)
            boucle.quit();
    });
    verification.start();
    dernierTour = horloge.nsecsElapsed();
    boucle.exec();
    Mesure m;
    m.secondes = double(duree.nsecsElapsed()) / 1e9;
    m.memoireMio = double(champStatut("VmHWM") - avant) / 1024.0;
    m.pireAttenteMs = double(pire) / 1e6;
    if (!fakes.files.errors.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(fakes.files.errors.constFirst()));
        std::exit(1);
    }
    return m;
}

double tempsWc(const QString& chemin)
{
    QElapsedTimer duree;
    duree.start();
    QProcess wc;
    wc.setStandardOutputFile(QProcess::nullDevice());
    wc.start(QStringLiteral("wc"),
             {QStringLiteral("-l"), QStringLiteral("-m"), QStringLiteral("-w"), chemin});
    wc.waitForFinished(-1);
    return double(duree.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    partagerMemoireLiberee();
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [REPETITIONS]\n", argv[0]);
        return 2;
    }
    const QString chemin = fichierCorpus(QString::fromLocal8Bit(argv[1]));
    const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const double taille = double(QFileInfo(chemin).size()) / (1024.0 * 1024.0);

    std::vector<double> secondes, attentes, memoires, wc;
    for (int i = 0; i < repetitions; ++i) {
        wc.push_back(tempsWc(chemin));
        const Mesure m = ouvrir(chemin);
        secondes.push_back(m.secondes);
        attentes.push_back(m.pireAttenteMs);
        memoires.push_back(m.memoireMio);
    }
    std::printf("open %s (%.0f MiB), medians of %d: %.3f s (wc -l -m -w %.3f s, ratio %.2f); "
                "memory %.0f MiB = %.2f x the file; longest event-loop gap %.0f ms (worst %.0f)\n",
                argv[1], taille, repetitions, mediane(secondes), mediane(wc),
                mediane(secondes) / mediane(wc), mediane(memoires), mediane(memoires) / taille,
                mediane(attentes), *std::max_element(attentes.begin(), attentes.end()));
    return 0;
}
