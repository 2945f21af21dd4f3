// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target over the word counts and the occurrence table. The first
// byte picks how the rest becomes text: UTF-16 (little-endian pairs), or one
// byte per character as a Windows-1252 file would load. Short texts are also
// checked against the literal procedures of the tests.

#include "analysis/analyse.h"
#include "analysis/analyseur.h"
#include "analysis/occurrences.h"
#include "analysis/wc.h"
#include "reference.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void verifier(bool condition, const char* quoi)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", quoi);
        std::abort();
    }
}

// 0x80-0x9F of Windows-1252; the five unassigned codes keep their value.
constexpr char16_t kCp1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString texteDe(const uint8_t* data, size_t size)
{
    if (size == 0)
        return {};
    const uint8_t mode = data[0];
    ++data;
    --size;
    QString t;
    if (mode & 1) {
        t.resize(qsizetype(size));
        for (size_t i = 0; i < size; ++i)
            t[qsizetype(i)] = QChar(data[i] >= 0x80 && data[i] < 0xA0 ? kCp1252[data[i] - 0x80]
                                                                      : char16_t(data[i]));
    } else {
        t.resize(qsizetype(size / 2));
        std::memcpy(t.data(), data, (size / 2) * 2);
    }
    return t;
}

bool estBlanc(QChar c)
{
    if (c == u' ')
        return true;
    for (char16_t s : reference::kSeparateurs)
        if (c == s)
            return true;
    return false;
}

// The report is the header, then "   <count>     <word>" lines, in table order.
void verifierRapport(const TableOccurrences& t, const QString& rapport)
{
    const QString entete
        = QStringLiteral(" Occurrence des mots \r\n ------------------------------");
    verifier(rapport.startsWith(entete), "report header");
    qsizetype pos = entete.size();
    for (qsizetype i = 1; i <= t.NbMotsTab(); ++i) {
        const QString ligne = QStringLiteral("\r\n   ") + QString::number(t.occurrences(i))
            + QStringLiteral("     ") + t.mot(i);
        verifier(QStringView(rapport).sliced(pos).startsWith(ligne), "report line");
        pos += ligne.size();
    }
    verifier(pos == rapport.size(), "report end");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString texte = texteDe(data, size);

    const qint64 mots = wc::CompterMots(texte);
    const qint64 differents = wc::CompterMotsDifferents(texte);
    verifier(differents <= mots, "distinct <= words");
    verifier((differents == 0) == (mots == 0), "distinct zero only without words");
    const QString normalise = wc::NormaliserTexte(texte);
    verifier(normalise.size() <= texte.size(), "normalised not longer");
    for (qsizetype i = 0; i < normalise.size(); ++i) {
        verifier(!estBlanc(normalise[i]) || normalise[i] == u' ', "no separator left");
        verifier(i == 0 || normalise[i] != u' ' || normalise[i - 1] != u' ', "no double space");
    }
    verifier(wc::CompterMots(normalise) == mots, "normalising keeps the words");

    TableOccurrences table;
    table.AnalyserMots(texte);
    qint64 total = 0;
    for (qsizetype i = 1; i <= table.NbMotsTab(); ++i) {
        verifier(table.occurrences(i) >= 1, "count at least 1");
        verifier(i == 1 || table.occurrences(i) <= table.occurrences(i - 1),
                 "counts do not increase");
        verifier(!table.mot(i).isEmpty(), "no empty word");
        total += table.occurrences(i);
    }
    const QString rapport = table.Rapport();
    verifierRapport(table, rapport);

    // Adding every word again doubles every count and adds no entry.
    TableOccurrences double_ = table;
    for (qsizetype i = 1; i <= table.NbMotsTab(); ++i)
        for (qint64 k = 0; k < table.occurrences(i) && k < 4; ++k)
            double_.AjouterMot(table.mot(i));
    verifier(double_.NbMotsTab() == table.NbMotsTab(), "re-adding adds no entry");

    const AnalyseComplete complete = analyserTexte(texte);
    verifier(complete.mots == mots && complete.motsDifferents == differents, "complete counts");
    verifier(complete.rapport == rapport, "complete report");
    for (const int fils : {1, 2, 3, 5, 8, 16}) {
        const AnalyseComplete r = lexique::analyser(texte, fils);
        verifier(r.mots == mots && r.motsDifferents == differents, "counts on threads");
        verifier(r.rapport == rapport, "report on threads");
    }
    // Kept one byte per character, when every character has one.
    QByteArray octets;
    for (const QChar c : texte)
        octets.append(char(octetCp1252(c.unicode())));
    if (std::all_of(texte.begin(), texte.end(),
                    [](QChar c) { return octetCp1252(c.unicode()) >= 0; }))
        for (const int fils : {1, 3}) {
            const AnalyseComplete r = lexique::analyser(Texte::enCp1252(octets), fils);
            verifier(r.mots == mots && r.motsDifferents == differents, "counts of the bytes");
            verifier(r.rapport == rapport, "report of the bytes");
        }

    if (texte.size() <= 400) {
        verifier(normalise == reference::NormaliserTexte(texte), "reference normalisation");
        verifier(mots == reference::CompterMots(texte), "reference word count");
        verifier(differents == reference::CompterMotsDifferents(texte), "reference distinct count");
        const auto attendu = reference::AnalyserMots(texte);
        verifier(qsizetype(attendu.size()) == table.NbMotsTab(), "reference table size");
        qint64 totalAttendu = 0;
        for (size_t i = 0; i < attendu.size(); ++i) {
            verifier(attendu[i].mot == table.mot(qsizetype(i) + 1), "reference word");
            verifier(attendu[i].occurrences == table.occurrences(qsizetype(i) + 1),
                     "reference count");
            totalAttendu += attendu[i].occurrences;
        }
        verifier(total == totalAttendu, "words scanned");
        verifier(rapport == reference::Rapport(attendu), "reference report");
    }
    return 0;
}
