// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Random texts made of the pieces the counting rules care about.

#include <QString>

#include <random>

namespace generateur {

QString texteAleatoire(std::mt19937_64& alea, int nbMorceaux);

} // namespace generateur
