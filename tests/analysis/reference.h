// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The counting procedures written out the slow, literal way: character by
// character replacements, a linear search per word and a bubble sort. Only
// the tests use them, as the yardstick for the fast code.

#include <QString>
#include <QStringList>

#include <string_view>
#include <vector>

namespace reference {

// The separators of the word count, written out here apart from the program's own table, for
// the procedures below, the random texts and the fuzzer.
inline constexpr std::u16string_view kSeparateurs
    = u",;:!?./()[]{}=+-_'#~%$\u00A3*\u00AB\u00BB\"\r\n\t";

QString NormaliserTexte(QString texte);
QStringList Couper(const QString& normalise); // pieces, empty ones included
qint64 CompterMots(const QString& texte);
qint64 CompterMotsDifferents(const QString& texte);

struct Entree {
    QString mot;
    qint64 occurrences;
    bool operator==(const Entree&) const = default;
};

std::vector<Entree> AnalyserMots(QString texte);
QString Rapport(const std::vector<Entree>& table);

} // namespace reference
