// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/choix_affichage.h"

#include <gtest/gtest.h>

namespace {

const char* nom(ChoixAffichage choix)
{
    switch (choix) {
    case ChoixAffichage::CommeDemande:
        return "comme demandé";
    case ChoixAffichage::X11:
        return "X11";
    case ChoixAffichage::Aucun:
        return "aucun";
    }
    return "?";
}

TEST(ChoixAffichage, AnExplicitPlatformWinsElseX11WheneverThereIsOne)
{
    const struct {
        const char* qpa;
        const char* display;
        const char* wayland;
        ChoixAffichage attendu;
    } cas[] = {
        // A Wayland session with XWayland: the X server, which lets the window do its job.
        {"", ":0", "wayland-0", ChoixAffichage::X11},
        {"", ":1", "", ChoixAffichage::X11},
        // Wayland without any X server: Qt does what it can.
        {"", "", "wayland-0", ChoixAffichage::CommeDemande},
        // Whatever the user asked for, even what cannot work here.
        {"wayland", ":0", "wayland-0", ChoixAffichage::CommeDemande},
        {"offscreen", "", "", ChoixAffichage::CommeDemande},
        {"xcb", "", "", ChoixAffichage::CommeDemande},
        {"vnc:size=800x600", ":0", "", ChoixAffichage::CommeDemande},
        // Set but empty is not asking.
        {"", "", "", ChoixAffichage::Aucun},
    };
    for (const auto& c : cas) {
        const EnvironnementAffichage environnement{
            QString::fromUtf8(c.qpa), QString::fromUtf8(c.display), QString::fromUtf8(c.wayland)};
        EXPECT_STREQ(nom(choisirAffichage(environnement)), nom(c.attendu))
            << "QT_QPA_PLATFORM=" << c.qpa << " DISPLAY=" << c.display
            << " WAYLAND_DISPLAY=" << c.wayland;
    }
}

} // namespace
