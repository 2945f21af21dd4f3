// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/form1.h"
#include "platform/choix_affichage.h"
#include "platform/memoire_systeme.h"
#include "platform/traduction_qt.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <vector>

namespace {

void ecrire(std::FILE* flux, const QString& texte) { std::fputs(texte.toUtf8().constData(), flux); }

const QString kAide = QStringLiteral(
    "Utilisation : lexorquine [OPTION] [FICHIER.txt]\n"
    "Analyse un fichier texte : lignes, caractères, mots, mots différents, nombre\n"
    "d'occurrences de chaque mot, et recherche d'un mot ou d'un groupe de caractères.\n"
    "\n"
    "FICHIER.txt s'ouvre au démarrage, comme s'il était choisi avec le bouton\n"
    "d'ouverture ; un seul fichier s'ouvre, les suivants sont ignorés.\n"
    "\n"
    "Options :\n"
    "  -h, --help      affiche cette aide et quitte\n"
    "  -v, --version   affiche la version et quitte\n"
    "\n"
    "Les options des programmes Qt sont acceptées aussi, comme -platform offscreen.\n");

// What the command line asks for. Read twice: before any window, for the answers that need
// none (no display is needed to read the help), then once Qt has taken its own options out.
struct LigneDeCommande {
    QCommandLineParser analyse;
    QCommandLineOption aide{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}};

    LigneDeCommande()
    {
        // -platform and the like are Qt's words, not letters to take one by one.
        analyse.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        analyse.addOption(aide);
        analyse.addOption(version);
    }

    // The exit status when the program answers without its window, or -1.
    int repondreSansFenetre(const QStringList& arguments)
    {
        analyse.parse(arguments);
        if (analyse.isSet(aide)) {
            ecrire(stdout, kAide);
            return 0;
        }
        if (analyse.isSet(version)) {
            ecrire(stdout,
                   QStringLiteral("Lexorquine %1\nLicence GNU GPL version 3 ou ultérieure.\n")
                       .arg(QStringLiteral(LEXORQUINE_VERSION)));
            return 0;
        }
        return -1;
    }

    // The file to open at start, or an empty string; false when the line holds an unknown option.
    bool fichierDemande(const QStringList& arguments, QString& fichier)
    {
        if (!analyse.parse(arguments)) {
            const QString inconnue = analyse.unknownOptionNames().value(0);
            ecrire(stderr,
                   QStringLiteral("lexorquine : option inconnue « %1%2 ».\n"
                                  "Pour l'aide : lexorquine --help\n")
                       .arg(inconnue.size() == 1 ? u"-"_qs : u"--"_qs, inconnue));
            return false;
        }
        const QStringList fichiers = analyse.positionalArguments();
        if (fichiers.isEmpty())
            return true;
        fichier = QFileInfo(fichiers.constFirst()).absoluteFilePath();
        if (fichiers.size() > 1)
            ecrire(stderr,
                   QStringLiteral("lexorquine : un seul fichier s'ouvre à la fois ; « %1 » "
                                  "s'ouvre, %2 ignoré%3 : %4.\n")
                       .arg(fichiers.constFirst(),
                            fichiers.size() == 2 ? QStringLiteral("l'autre est")
                                                 : QStringLiteral("les autres sont"),
                            fichiers.size() == 2 ? QString() : QStringLiteral("s"),
                            QStringLiteral("« ") + fichiers.mid(1).join(QStringLiteral(" », « "))
                                + QStringLiteral(" »")));
        return true;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    LigneDeCommande ligne;
    {
        QStringList brute;
        for (int i = 0; i < argc; ++i)
            brute << QString::fromLocal8Bit(argv[i]);
        if (const int statut = ligne.repondreSansFenetre(brute); statut >= 0)
            return statut;
    }
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
    QString fichier;
    if (!ligne.fichierDemande(QApplication::arguments(), fichier))
        return 2;
    Form1 window;
    window.show();
    // Once the window shows, as if the file had been chosen in the dialog.
    if (!fichier.isEmpty())
        QTimer::singleShot(0, &window, [&window, fichier] { window.ouvrir(fichier); });
    return QApplication::exec();
}
