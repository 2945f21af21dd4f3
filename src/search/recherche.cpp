#include "search/recherche.h"

#include "main_window/form1.h"

Recherche::Recherche(Form1& form) : QObject(&form), form_(form) {}

void Recherche::Reinitialiser()
{
    PosRecherche = 1;
    NbTrouves = 0;
}
