// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/platform.h"

#include "platform/file_chooser.h"
#include "platform/launcher.h"
#include "platform/window_chrome.h"

#include <QCoreApplication>

Plateforme plateformeQt()
{
    static ChoixFichierQt fichiers;
    static LanceurQt lanceur;
    static HabillageQt habillage;
    return {&fichiers, &lanceur, &habillage, [] { QCoreApplication::exit(0); }};
}
