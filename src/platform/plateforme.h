// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class ChoixFichier;
class Lanceur;
class Habillage;

// Everything the windows ask of the system, gathered so tests can hand in doubles.
struct Plateforme {
    ChoixFichier* fichiers;
    Lanceur* lanceur;
    Habillage* habillage;
    std::function<void()> finirProgramme;
};

// The real one: Qt dialogs, the desktop's opener, the window manager, QCoreApplication::exit.
Plateforme plateformeQt();
