// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/form1.h"
#include "platform/choix_affichage.h"
#include "platform/memoire_systeme.h"
#include "platform/traduction_qt.h"

#include <QApplication>

#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    std::vector<char*> arguments(argv, argv + argc);
#ifdef Q_OS_LINUX
    switch (choisirAffichage(EnvironnementAffichage::actuel())) {
    case ChoixAffichage::Aucun:
        // Without a display Qt would abort with a cryptic message: say what to do instead.
        std::fprintf(stderr,
                     "Lexorquine a besoin d'un affichage graphique, et aucun n'est "
                     "disponible (DISPLAY n'est pas défini).\n"
                     "Sans écran, lancez-le sous un serveur X virtuel : "
                     "xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    case ChoixAffichage::X11: {
        // Told to Qt alone: an environment variable would reach the programs we start too.
        static char option[] = "-platform";
        static char xcb[] = "xcb";
        arguments.insert(arguments.begin() + 1, {option, xcb});
        break;
    }
    case ChoixAffichage::CommeDemande:
        break;
    }
#endif
    int nombre = int(arguments.size());
    arguments.push_back(nullptr);
    partagerMemoireLiberee();
    QApplication application(nombre, arguments.data());
    QApplication::setApplicationName(QStringLiteral("Lexorquine"));
    QApplication::setApplicationVersion(QStringLiteral(LEXORQUINE_VERSION));
    // The program ends through Form1 alone, whatever other windows come and go.
    QApplication::setQuitOnLastWindowClosed(false);
    // The file dialog and message boxes speak French like the rest of the program.
    traduireQtEnFrancais();
    Form1 window;
    window.show();
    return QApplication::exec();
}
