// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Everything the main window shows about a freshly loaded text, worked out
// at once: the word counts of `wc`, the occurrence table and its report.

#include "analysis/occurrences.h"
#include "text/texte.h"

#include <QString>
#include <QStringView>

#include <stop_token>

struct AnalyseComplete {
    qint64 mots = 0; // wc::CompterMots
    qint64 motsDifferents = 0; // wc::CompterMotsDifferents
    TableOccurrences table; // as left by AnalyserMots
    Texte rapport; // table.TexteRapport(): in bytes for a text kept in bytes
};

// Same results as the separate calls, on any number of threads; long texts
// are shared between `fils` threads at most, or the machine's cores when 0.
// Once `arret` is requested it gives up within a few pieces of text, and its
// result is of no use.
AnalyseComplete analyserTexte(QStringView texte, std::stop_token arret = {}, int fils = 0);
AnalyseComplete analyserTexte(const Texte& texte, std::stop_token arret = {}, int fils = 0);
