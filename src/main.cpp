// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/form1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

int main(int argc, char* argv[])
{
#ifdef Q_OS_LINUX
    // Without a display Qt would abort with a cryptic message: say what to do instead.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "Lexorquine a besoin d'un affichage graphique, et aucun n'est "
                     "disponible (DISPLAY n'est pas défini).\n"
                     "Sans écran, lancez-le sous un serveur X virtuel : "
                     "xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }
#endif
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexorquine"));
    QApplication::setApplicationVersion(QStringLiteral(LEXORQUINE_VERSION));
    // The main window is a tool window: it quits only through its own button.
    QApplication::setQuitOnLastWindowClosed(false);
    // The file dialog and message boxes speak French like the rest of the program.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);
    Form1 window;
    window.show();
    return QApplication::exec();
}
