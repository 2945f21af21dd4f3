// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/choix_affichage.h"

#include <QtGlobal>

EnvironnementAffichage EnvironnementAffichage::actuel()
{
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
            qEnvironmentVariable("WAYLAND_DISPLAY")};
}

ChoixAffichage choisirAffichage(const EnvironnementAffichage& environnement)
{
    if (!environnement.qtQpaPlatform.isEmpty())
        return ChoixAffichage::CommeDemande;
    // Under Wayland the X server of the session (XWayland) still lets a window do all that.
    if (!environnement.display.isEmpty())
        return ChoixAffichage::X11;
    if (!environnement.waylandDisplay.isEmpty())
        return ChoixAffichage::CommeDemande;
    return ChoixAffichage::Aucun;
}
