// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The variables that decide which display the program talks to.
struct EnvironnementAffichage {
    QString qtQpaPlatform;
    QString display;
    QString waylandDisplay;

    static EnvironnementAffichage actuel();
};

enum class ChoixAffichage {
    CommeDemande, // Qt's own choice, or the one the user asked for
    X11, // the window places itself, follows the mouse and stays on top: X11 allows it
    Aucun, // no display at all
};

ChoixAffichage choisirAffichage(const EnvironnementAffichage& environnement);
