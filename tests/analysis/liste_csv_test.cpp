// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/liste_csv.h"
#include "analysis/occurrences.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

// RFC 4180 records with ";" between the fields, read as a spreadsheet reads them.
QList<QStringList> lireCsv(const QString& csv)
{
    QList<QStringList> lignes;
    QStringList ligne;
    QString champ;
    bool entreGuillemets = false;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        if (csv[i] == u'"') {
            if (!entreGuillemets && i > 0 && csv[i - 1] == u'"')
                champ += u'"'; // a doubled quote
            entreGuillemets = !entreGuillemets;
        } else if (!entreGuillemets && csv[i] == u';') {
            ligne << std::exchange(champ, {});
        } else if (!entreGuillemets && csv.mid(i, 2) == u"\r\n") {
            ++i;
            ligne << std::exchange(champ, {});
            lignes << std::exchange(ligne, {});
        } else {
            champ += csv[i];
        }
    }
    EXPECT_TRUE(champ.isEmpty() && ligne.isEmpty()) << "dernière ligne sans fin";
    return lignes;
}

TEST(ListeCsv, RelueParUnTableurElleRendLaTable)
{
    TableOccurrences table;
    table.AnalyserMots(u"L'été ; « dit-il » \"oui\" l'ÉTÉ, été 42 çà\r\nÇÀ Ça");
    // Spellings that the word rules never make, for the fields that need quotes.
    for (const char16_t* mot : {u"a;b", u"\"q\"", u"c\rd"})
        table.AjouterMot(mot);
    const QByteArray octets = listeCsv(table);
    ASSERT_TRUE(octets.startsWith("\xEF\xBB\xBF")) << "pas de BOM";
    QList<QStringList> attendu{{u"Mot"_qs, u"Occurrences"_qs}};
    for (qsizetype i = 1; i <= table.NbMotsTab(); ++i)
        attendu << QStringList{table.mot(i), QString::number(table.occurrences(i))};
    EXPECT_EQ(lireCsv(QString::fromUtf8(octets.mid(3))), attendu);
    // Quotes only where they must be.
    for (const char* ligne : {"\r\nL'été;2\r\n", "\r\nçà;2\r\n", "\r\n\"a;b\";1\r\n",
                              "\r\n\"\"\"q\"\"\";1\r\n", "\r\n\"c\rd\";1\r\n"})
        EXPECT_TRUE(octets.contains(ligne)) << ligne;
}

} // namespace
