// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/texte_en_cours.h"

void TexteEnCours::publier(const char16_t* texte, qsizetype taille, bool reecrit)
{
    {
        std::lock_guard verrou(garde_);
        etat_.texte = texte;
        etat_.taille = taille;
        etat_.version += reecrit;
    }
    changement_.notify_all();
}

void TexteEnCours::finir(bool reussi)
{
    {
        std::lock_guard verrou(garde_);
        etat_.fini = true;
        etat_.echoue = !reussi;
    }
    changement_.notify_all();
}

TexteEnCours::Etat TexteEnCours::attendre(qsizetype taille, int version, Lecture& lecture,
                                          std::stop_token arret)
{
    {
        std::unique_lock verrou(garde_);
        changement_.wait(verrou, arret, [&] {
            return etat_.fini || etat_.version != version || etat_.taille > taille;
        });
    }
    lecture = Lecture(place_);
    std::lock_guard verrou(garde_);
    return etat_;
}
