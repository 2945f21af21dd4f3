// SPDX-License-Identifier: GPL-3.0-or-later
// The loader keeps a text one byte per character until a character with no Windows-1252 byte
// comes, wherever the blocks are cut, and keeps then the same text in UTF-16.
#include "qt_print.h"
#include "reference_chargement.h"

#include <gtest/gtest.h>

namespace {

std::vector<qsizetype> tousLes(qsizetype pas, qsizetype taille)
{
    std::vector<qsizetype> c;
    for (qsizetype i = pas; i < taille; i += pas)
        c.push_back(i);
    return c;
}

void verifier(const QByteArray& octets, qsizetype bloc, bool enOctets)
{
    SCOPED_TRACE(testing::Message() << "blocs de " << bloc);
    const TexteCharge lu = chargerOctets(octets, tousLes(bloc, octets.size()));
    const TexteCharge attendu = chargementDeReference(octets);
    EXPECT_EQ(lu.texte.estEnOctets(), enOctets);
    EXPECT_EQ(lu.texte, attendu.texte.toString());
    EXPECT_EQ(lu.lignesNonVides, attendu.lignesNonVides);
    EXPECT_EQ(lu.caracteres, attendu.caracteres);
}

const QString kBase = u"Œuvre é, déjà l'été passé\u0081 ou là\r\nà\rx\n\r\n€ fin\r"_qs;
constexpr qsizetype kBlocs[] = {1, 2, 3, 7, 64};

TEST(FormeTexte, ALateCharacterWithoutAByteTurnsTheTextToUtf16AtAnyBlockBoundary)
{
    for (const QString& sans : {u"\u0151"_qs, u"😀"_qs, u"\u2028"_qs, u"\u0080"_qs}) {
        for (qsizetype k = 0; k <= kBase.size(); ++k) {
            SCOPED_TRACE(testing::Message() << "à " << k);
            const QByteArray utf8 = (kBase.left(k) + sans + kBase.mid(k)).toUtf8();
            for (const qsizetype bloc : kBlocs)
                verifier(utf8, bloc, false);
        }
    }
}

// Megabytes already kept as bytes are widened by slices from their end, each given back as it
// goes: every slice must land where it belongs.
TEST(FormeTexte, ALateCharacterAfterMegabytesOfBytes)
{
    const QByteArray debut = kBase.toUtf8().repeated(60000); // 2.6 MB, 2.4 million characters
    for (const qsizetype bloc : {qsizetype(1) << 16, qsizetype(1) << 20})
        verifier(debut + u"\u0151 fin"_qs.toUtf8(), bloc, false);
}

TEST(FormeTexte, TextsWithABytePerCharacterStayBytes)
{
    QByteArray cp1252;
    for (const QChar c : kBase)
        cp1252.append(char(octetCp1252(c.unicode())));
    // UTF-8 that widens, then proves not to be UTF-8 at its last byte: read again as bytes.
    const QByteArray faux = (kBase + u"\u0151"_qs).toUtf8() + "\xE9";
    for (const qsizetype bloc : kBlocs) {
        verifier(kBase.toUtf8(), bloc, true);
        verifier(cp1252, bloc, true);
        verifier(faux, bloc, true);
    }
}

} // namespace
