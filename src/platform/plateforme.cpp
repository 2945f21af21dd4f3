// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/plateforme.h"

#include "platform/choix_fichier.h"
#include "platform/habillage.h"
#include "platform/lanceur.h"

#include <QCoreApplication>

Plateforme plateformeQt()
{
    static ChoixFichierQt fichiers;
    static LanceurQt lanceur;
    static HabillageQt habillage;
    return {&fichiers, &lanceur, &habillage, [] { QCoreApplication::exit(0); }};
}
