// SPDX-License-Identifier: GPL-3.0-or-later
// The fast code against the literal procedures on random texts. On a
// failure the seed is printed; LEXORQUINE_GRAINE=<seed> replays that text.

#include "analysis/analyse.h"
#include "analysis/analyseur.h"
#include "analysis/occurrences.h"
#include "analysis/wc.h"
#include "generateur.h"
#include "reference.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::vector<reference::Entree> contenu(const TableOccurrences& t)
{
    std::vector<reference::Entree> r;
    for (qsizetype i = 1; i <= t.NbMotsTab(); ++i)
        r.push_back({t.mot(i), t.occurrences(i)});
    return r;
}

std::vector<reference::Entree> contenu(const lexique::Table& t)
{
    std::vector<reference::Entree> r;
    for (qsizetype i = 0; i < t.nbEntrees(); ++i)
        r.push_back({t.mot(i), t.occurrences(i)});
    return r;
}

std::string montrer(const QString& t)
{
    std::string s;
    for (QChar c : t) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
            s += char(c.unicode());
        else
            s += "\\u" + QString::number(c.unicode(), 16).rightJustified(4, u'0').toStdString();
    }
    return s;
}

// Seeds 1..n, or only the one given in the environment.
std::vector<quint64> graines(quint64 n)
{
    if (const char* g = std::getenv("LEXORQUINE_GRAINE"))
        return {std::strtoull(g, nullptr, 10)};
    std::vector<quint64> r;
    for (quint64 i = 1; i <= n; ++i)
        r.push_back(i);
    return r;
}

// Counts of threads unlike the machine's: each cuts a text in its own places.
constexpr int kFils[] = {1, 2, 3, 5, 8, 16};

// A place where a text can be cut for the merge: a separator of both rules.
qsizetype coupureAleatoire(const QString& t, std::mt19937_64& alea)
{
    std::vector<qsizetype> places{0, t.size()};
    for (qsizetype i = 0; i < t.size(); ++i)
        if (t[i] == u' ' || t[i] == u'\r' || t[i] == u',' || t[i] == u'\t')
            places.push_back(i);
    return places[alea() % places.size()];
}

TEST(Differentiel, CompteursDeMots)
{
    for (quint64 graine : graines(3000)) {
        std::mt19937_64 alea(graine);
        const QString texte = generateur::texteAleatoire(alea, int(alea() % 80));
        SCOPED_TRACE("graine " + std::to_string(graine) + ": " + montrer(texte));
        ASSERT_EQ(wc::NormaliserTexte(texte), reference::NormaliserTexte(texte));
        ASSERT_EQ(wc::CompterMots(texte), reference::CompterMots(texte));
        ASSERT_EQ(wc::CompterMotsDifferents(texte), reference::CompterMotsDifferents(texte));
    }
}

TEST(Differentiel, TableDesOccurrences)
{
    TableOccurrences table; // reused, as the main window does
    for (quint64 graine : graines(3000)) {
        std::mt19937_64 alea(graine);
        const QString texte = generateur::texteAleatoire(alea, int(alea() % 80));
        SCOPED_TRACE("graine " + std::to_string(graine) + ": " + montrer(texte));
        const auto attendu = reference::AnalyserMots(texte);
        table.AnalyserMots(texte);
        ASSERT_EQ(contenu(table), attendu);
        ASSERT_EQ(table.Rapport(), reference::Rapport(attendu));

        // The same results from the analysis that runs both rules at once.
        const AnalyseComplete complete = analyserTexte(texte);
        ASSERT_EQ(complete.mots, reference::CompterMots(texte));
        ASSERT_EQ(complete.motsDifferents, reference::CompterMotsDifferents(texte));
        ASSERT_EQ(contenu(complete.table), attendu);
        ASSERT_EQ(complete.rapport, table.Rapport());

        // And on any count of threads, whatever the length.
        for (const int fils : kFils) {
            SCOPED_TRACE("fils " + std::to_string(fils));
            const AnalyseComplete r = lexique::analyser(texte, fils);
            ASSERT_EQ(r.mots, complete.mots);
            ASSERT_EQ(r.motsDifferents, complete.motsDifferents);
            ASSERT_EQ(contenu(r.table), attendu);
            ASSERT_EQ(r.rapport, complete.rapport);
        }
    }
}

// The text with every character that has no Windows-1252 byte replaced, and its bytes.
std::pair<QString, QByteArray> enCp1252(const QString& texte)
{
    QString projete = texte;
    QByteArray octets;
    for (QChar& c : projete) {
        if (octetCp1252(c.unicode()) < 0)
            c = u'é';
        octets.append(char(octetCp1252(c.unicode())));
    }
    return {projete, octets};
}

// Two slices scanned apart and merged give the same as the whole text.
TEST(Differentiel, FusionDesTranches)
{
    for (quint64 graine : graines(2000)) {
        std::mt19937_64 alea(graine);
        const QString texte = generateur::texteAleatoire(alea, int(alea() % 80));
        const qsizetype coupure = coupureAleatoire(texte, alea);
        SCOPED_TRACE("graine " + std::to_string(graine) + " coupure " + std::to_string(coupure)
                     + ": " + montrer(texte));
        const QStringView debut = QStringView(texte).first(coupure);
        const QStringView suite = QStringView(texte).sliced(coupure);

        const auto attendu = reference::AnalyserMots(texte);
        const qint64 mots = reference::CompterMots(texte);
        const qint64 differents = reference::CompterMotsDifferents(texte);
        for (const lexique::Regles regles :
             {lexique::Toutes, lexique::MotsWc, lexique::Occurrences}) {
            SCOPED_TRACE("regles " + std::to_string(int(regles)));
            // Pieces of the usual size, and tiny ones that end at nearly every cut.
            const qsizetype morceau = graine % 2 ? lexique::kMorceauParDefaut : 5;
            lexique::Analyseur a(regles, morceau);
            lexique::Analyseur b(regles, morceau);
            a.ajouterTexte(debut);
            b.ajouterTexte(suite);
            a.fusionnerMots(b);
            a.fusionnerTable(b);
            if (regles & lexique::MotsWc) {
                ASSERT_EQ(a.mots(), mots);
                ASSERT_EQ(a.motsDifferents(), differents);
            }
            if (regles & lexique::Occurrences) {
                a.table().trier();
                ASSERT_EQ(contenu(a.table()), attendu);
            }
        }
    }
}

// The same for a text kept as bytes, which are looked up as they are.
TEST(Differentiel, FusionDesTranchesEnOctets)
{
    for (quint64 graine : graines(1000)) {
        std::mt19937_64 alea(graine);
        const auto [texte, octets] = enCp1252(generateur::texteAleatoire(alea, int(alea() % 80)));
        const qsizetype coupure = coupureAleatoire(texte, alea);
        SCOPED_TRACE("graine " + std::to_string(graine) + " coupure " + std::to_string(coupure)
                     + ": " + montrer(texte));
        const qsizetype morceau = graine % 2 ? lexique::kMorceauParDefaut : 5;
        lexique::AnalyseurOctets a(lexique::Toutes, morceau);
        lexique::AnalyseurOctets b(lexique::Toutes, morceau);
        a.ajouterTexte(lexique::VueOctets{QByteArrayView(octets).first(coupure)});
        b.ajouterTexte(lexique::VueOctets{QByteArrayView(octets).sliced(coupure)});
        a.fusionnerMots(b);
        a.fusionnerTable(b);
        a.table().trier();
        ASSERT_EQ(a.mots(), reference::CompterMots(texte));
        ASSERT_EQ(a.motsDifferents(), reference::CompterMotsDifferents(texte));
        ASSERT_EQ(contenu(a.table()), reference::AnalyserMots(texte));
    }
}

// The scans go by blocks of 64 characters: surrogate pairs, line feeds and
// word ends on either side of a block's edge.
TEST(Differentiel, BordsDeBlocs)
{
    const QString morceaux[] = {QStringLiteral("\U00010428\U00010400"),
                                QStringLiteral("e\u0301"),
                                QStringLiteral("x\ny"),
                                QStringLiteral("\n\n"),
                                QStringLiteral("\u00e9\u2019"),
                                QStringLiteral("\U0001F600"),
                                QStringLiteral(". "),
                                QStringLiteral("\u00df")};
    TableOccurrences table;
    for (int avant = 56; avant <= 72; ++avant) {
        for (const QString& m : morceaux) {
            const QString texte
                = QString(avant, u'a') + m + QStringLiteral("b \u00c9T\u00c9 a") + m + u'\n';
            SCOPED_TRACE(std::to_string(avant) + ": " + montrer(texte));
            ASSERT_EQ(wc::CompterMots(texte), reference::CompterMots(texte));
            ASSERT_EQ(wc::CompterMotsDifferents(texte), reference::CompterMotsDifferents(texte));
            table.AnalyserMots(texte);
            ASSERT_EQ(contenu(table), reference::AnalyserMots(texte));
        }
    }
}

// Long texts cut in as many parts as there are threads, up to many more than cores.
TEST(Differentiel, AnalyseCompleteSurTextesLongs)
{
    for (quint64 graine : graines(6)) {
        std::mt19937_64 alea(graine);
        const QString texte = generateur::texteAleatoire(alea, 60000 + int(alea() % 60000));
        SCOPED_TRACE("graine " + std::to_string(graine));
        TableOccurrences seule;
        seule.AnalyserMots(texte);
        for (const int fils : {1, 2, 3, 5, 8, 16, 64}) {
            SCOPED_TRACE("fils " + std::to_string(fils));
            const AnalyseComplete r = lexique::analyser(texte, fils);
            EXPECT_EQ(r.mots, wc::CompterMots(texte));
            EXPECT_EQ(r.motsDifferents, wc::CompterMotsDifferents(texte));
            EXPECT_EQ(contenu(r.table), contenu(seule));
            EXPECT_EQ(r.rapport, seule.Rapport());
        }
        // The same text kept one byte per character, on threads too.
        const auto [projete, octets] = enCp1252(texte);
        const AnalyseComplete large = lexique::analyser(QStringView(projete), 1);
        for (const int fils : {1, 3, 16}) {
            SCOPED_TRACE("octets, fils " + std::to_string(fils));
            const AnalyseComplete r = lexique::analyser(Texte::enCp1252(octets), fils);
            EXPECT_EQ(r.mots, large.mots);
            EXPECT_EQ(r.motsDifferents, large.motsDifferents);
            EXPECT_EQ(contenu(r.table), contenu(large.table));
            EXPECT_EQ(r.rapport, large.rapport);
        }
    }
}

} // namespace
