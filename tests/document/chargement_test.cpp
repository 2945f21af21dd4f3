// SPDX-License-Identifier: GPL-3.0-or-later
// The loader block by block against the whole-file oracle, and its memory limits.
#include "analysis/analyse.h"
#include "document/fichier_texte.h"
#include "document/memoire.h"
#include "document/ouverture.h"
#include "document/reference_chargement.h"
#include "write_file.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

std::string montrer(QByteArrayView octets)
{
    std::string s;
    for (const char c : octets) {
        const auto o = static_cast<unsigned char>(c);
        if (o >= 0x20 && o < 0x7F) {
            s += c;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", o);
            s += hex;
        }
    }
    return s;
}

// The index gathered while loading has the lines that the text's CR LF make.
void attendreLignes(const TexteCharge& charge)
{
    const QStringList lignes = charge.texte.toString().split(QStringLiteral("\r\n"));
    ASSERT_EQ(charge.lignes.nombreLignes(), lignes.size());
    qsizetype debut = 0;
    qsizetype plusLongue = 0;
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        EXPECT_EQ(charge.lignes.debut(i), debut) << i;
        EXPECT_EQ(charge.lignes.fin(i), debut + lignes[i].size()) << i;
        debut += lignes[i].size() + 2;
        plusLongue = std::max(plusLongue, lignes[i].size());
    }
    EXPECT_EQ(charge.lignes.plusLongue(), plusLongue);
}

void attendreEgal(const TexteCharge& obtenu, const TexteCharge& attendu)
{
    EXPECT_EQ(obtenu.texte, attendu.texte);
    EXPECT_EQ(obtenu.lignesNonVides, attendu.lignesNonVides);
    EXPECT_EQ(obtenu.caracteres, attendu.caracteres);
    attendreLignes(obtenu);
}

struct CasBlocs {
    const char* nom;
    QByteArray octets;
    QString texte; // what the whole file loads as
};

void PrintTo(const CasBlocs& c, std::ostream* out) { *out << c.nom; }

class CoupuresDeBlocs : public testing::TestWithParam<CasBlocs> { };

// Cut anywhere, in two or in blocks of every small size, the text is the same.
TEST_P(CoupuresDeBlocs, MemeTexteOuQueTombeLaCoupure)
{
    const CasBlocs& c = GetParam();
    const TexteCharge attendu = chargementDeReference(c.octets);
    ASSERT_EQ(attendu.texte, c.texte);
    attendreEgal(chargerOctets(c.octets), attendu);
    for (qsizetype k = 0; k <= c.octets.size(); ++k) {
        SCOPED_TRACE("coupure en " + std::to_string(k));
        attendreEgal(chargerOctets(c.octets, {k}), attendu);
    }
    for (qsizetype taille = 1; taille <= 5; ++taille) {
        SCOPED_TRACE("blocs de " + std::to_string(taille));
        std::vector<qsizetype> coupures;
        for (qsizetype k = taille; k < c.octets.size(); k += taille)
            coupures.push_back(k);
        attendreEgal(chargerOctets(c.octets, coupures), attendu);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cas, CoupuresDeBlocs,
    testing::Values(
        CasBlocs{"deuxOctets", "a\xC3\xA9z", u"aéz\r\n"_qs},
        CasBlocs{"troisOctets", "\xE2\x82\xAC\xE2\x82\xAC", u"€€\r\n"_qs},
        CasBlocs{"quatreOctets", "x\xF0\x9F\x98\x80y", u"x\U0001F600y\r\n"_qs},
        CasBlocs{"crLf", "ab\r\ncd\r\n\r\nef", u"ab\r\ncd\r\n\r\nef\r\n"_qs},
        CasBlocs{"crSeulEtLfSeul", "a\r\rb\n\nc\r", u"a\r\n\r\nb\r\n\r\nc\r\n"_qs},
        CasBlocs{"bomUtf8",
                 "\xEF\xBB\xBF"
                 "\xC3\xA9\r\n",
                 u"é\r\n"_qs},
        CasBlocs{"bomUtf8SeuleLigneVide", "\xEF\xBB\xBF\r\n\r\nx\xE9", u"ï»¿\r\n\r\nxé\r\n"_qs},
        CasBlocs{"bomUtf8PuisFauteSansSaut",
                 "\xEF\xBB\xBF"
                 "ab\xE9",
                 u"ï»¿abé\r\n"_qs},
        CasBlocs{"bomUtf16Le",
                 QByteArray("\xFF\xFE"
                            "a\0\r\0\n\0\xE9\0",
                            10),
                 u"a\r\né\r\n"_qs},
        CasBlocs{"bomUtf16Be", QByteArray("\xFE\xFF\0a\0\r\0\r\0b", 10), u"a\r\n\r\nb\r\n"_qs},
        CasBlocs{"pairesUtf16", QByteArray("\xFF\xFE\x3D\xD8\x00\xDE\x3D\xD8\x01\xDE", 10),
                 u"\U0001F600\U0001F601\r\n"_qs},
        CasBlocs{"fauteDansLePremierBloc", "\xE9t\xC3\xA9\r\n\xC3\xA9", u"étÃ©\r\nÃ©\r\n"_qs},
        CasBlocs{"fauteDansLeDernierBloc", "\xC3\xA9t\xC3\xA9\r\nl\xE2\x82\xAC\nfin\xE9",
                 u"Ã©tÃ©\r\nlâ‚¬\r\nfiné\r\n"_qs},
        CasBlocs{"quatreOctetsPuisFaute", "\xF0\x9F\x98\x80\r\xFF", u"ðŸ˜€\r\nÿ\r\n"_qs},
        CasBlocs{"sequenceCoupeeParLaFin", "\xC3\xA9\r\n\xE2\x82", u"Ã©\r\nâ‚\r\n"_qs},
        CasBlocs{"sequenceInterrompue",
                 "\xE2\x82"
                 "a\xC3\xA9",
                 u"â‚aÃ©\r\n"_qs},
        CasBlocs{"surrogatEncode", "ok\r\n\xED\xA0\x80", u"ok\r\ní\u00A0€\r\n"_qs},
        CasBlocs{"crEnFinPuisFaute", "\xC3\xA9\r\n\r\xE9", u"Ã©\r\n\r\né\r\n"_qs}),
    [](const testing::TestParamInfo<CasBlocs>& info) { return std::string(info.param.nom); });

// Seeds 1..n, or only the one given in the environment.
std::vector<quint64> graines(quint64 n)
{
    if (const char* g = std::getenv("LEXORQUINE_GRAINE"))
        return {std::strtoull(g, nullptr, 10)};
    std::vector<quint64> toutes;
    for (quint64 i = 1; i <= n; ++i)
        toutes.push_back(i);
    return toutes;
}

// Bytes built from pieces that sit on the rules' edges: valid and invalid sequences, marks,
// breaks, and now and then a mark of either kind in front.
QByteArray octetsAuHasard(std::mt19937_64& alea)
{
    static const QByteArray pieces[] = {
        "a",
        "mot ",
        "\r",
        "\n",
        "\r\n",
        "\xC3\xA9",
        "\xE2\x82\xAC",
        "\xF0\x9F\x98\x80",
        "\xEF\xBB\xBF",
        "\xC3",
        "\x80",
        "\xE2\x82",
        "\xC0\xAF",
        "\xED\xA0\x80",
        "\xF4\x90\x80\x80",
        "\xF8",
        "\xE9",
        "\x92",
        QByteArray(1, '\0'),
        "\xFF\xFE",
        "\xFE\xFF",
    };
    const auto nombre = std::size(pieces);
    QByteArray octets;
    switch (alea() % 8) {
    case 0:
        octets = "\xFF\xFE";
        break;
    case 1:
        octets = "\xEF\xBB\xBF";
        break;
    default:
        break;
    }
    const bool presqueValide = alea() % 2 == 0;
    const int longueur = int(alea() % 40);
    for (int i = 0; i < longueur; ++i) {
        // Half the texts keep to valid pieces, so that many stay UTF-8 a long way.
        const auto choix = presqueValide && alea() % 16 != 0 ? alea() % 9 : alea() % nombre;
        octets += pieces[choix];
    }
    return octets;
}

TEST(ChargementDifferentiel, EnBlocsCommeDunCoup)
{
    for (const quint64 graine : graines(4000)) {
        std::mt19937_64 alea(graine);
        const QByteArray octets = octetsAuHasard(alea);
        SCOPED_TRACE("graine " + std::to_string(graine) + ": " + montrer(octets));
        std::vector<qsizetype> coupures;
        for (qsizetype k = 0; k < octets.size(); ++k)
            if (alea() % 4 == 0)
                coupures.push_back(k);
        const TexteCharge attendu = chargementDeReference(octets);
        attendreEgal(chargerOctets(octets), attendu);
        attendreEgal(chargerOctets(octets, coupures), attendu);
        if (testing::Test::HasFailure())
            return;
    }
}

class FichiersEnBlocs : public testing::Test {
protected:
    QString ecrire(const char* nom, const QByteArray& octets)
    {
        const QString chemin = writeFile(dossier.path(), QString::fromUtf8(nom), octets);
        EXPECT_FALSE(chemin.isEmpty());
        return chemin;
    }
    QTemporaryDir dossier;
};

// Files of a few blocks: a sequence, a CR LF and the one fault on the blocks' edges.
TEST_F(FichiersEnBlocs, PlusieursBlocsCommeDunCoup)
{
    QByteArray prose;
    while (prose.size() < 3 * kTailleBlocLecture)
        prose += "L'\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 fin\r\n\n";
    struct Cas {
        const char* nom;
        QByteArray octets;
    };
    QByteArray fauteAuBord = prose.left(2 * kTailleBlocLecture - 1);
    fauteAuBord += "\xE9" + prose;
    QByteArray crLfAuBord = QByteArray(kTailleBlocLecture - 1, 'x') + "\r\n" + prose;
    QByteArray sequenceAuBord = QByteArray(kTailleBlocLecture - 2, 'x') + prose;
    const Cas cas[] = {
        {"utf8.txt", prose},
        {"faute_derniere.txt", prose + "\x92"},
        {"faute_au_bord.txt", fauteAuBord},
        {"crlf_au_bord.txt", crLfAuBord},
        {"sequence_au_bord.txt", sequenceAuBord},
        {"lf.txt", QByteArray(2 * kTailleBlocLecture + 3, '\n')},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const LectureFichier lu = lireFichierTexte(ecrire(c.nom, c.octets));
        ASSERT_TRUE(lu.ok()) << lu.erreur.toStdString();
        attendreEgal(lu.charge, chargementDeReference(c.octets));
        // The text keeps no room beyond what it holds.
        EXPECT_LE(lu.charge.texte.capacite(), lu.charge.texte.size() + 1);
    }
}

TEST_F(FichiersEnBlocs, RefusQuandLaMemoireManque)
{
    const QString chemin = ecrire("a.txt", QByteArray(3 << 20, 'a'));
    const qint64 besoin = besoinMemoireOuverture(3 << 20);
    const LectureFichier refuse = lireFichierTexte(chemin, {}, [&] { return besoin - 1; });
    EXPECT_EQ(refuse.erreur,
              u"Impossible de lire le fichier « a.txt ».\n"_qs
                  + texteMemoireInsuffisante(besoin, besoin - 1));
    EXPECT_TRUE(refuse.charge.texte.isEmpty());
    EXPECT_TRUE(lireFichierTexte(chemin, {}, [&] { return besoin; }).ok());
    // Unknown: nothing to compare with, the file is read.
    EXPECT_TRUE(lireFichierTexte(chemin, {}, [] { return qint64(-1); }).ok());
    EXPECT_TRUE(lireFichierTexte(chemin, {}, SourceMemoire()).ok());
}

struct CasMemoire {
    const char* nom;
    QByteArray meminfo;
    QByteArray status;
    qint64 limite;
    qint64 attendu;
};

void PrintTo(const CasMemoire& c, std::ostream* out) { *out << c.nom; }

class MemoireDisponible : public testing::TestWithParam<CasMemoire> { };

TEST_P(MemoireDisponible, LePlusPetitDesDeux)
{
    const CasMemoire& c = GetParam();
    EXPECT_EQ(memoireDisponibleSelon(c.meminfo, c.status, c.limite), c.attendu);
}

const QByteArray kMeminfo = "MemTotal:       24683752 kB\n"
                            "MemFree:        22821808 kB\n"
                            "MemAvailable:    2000000 kB\n"
                            "Buffers:            7924 kB\n";
const QByteArray kStatus = "Name:\tlexorquine\nVmPeak:\t  900000 kB\nVmSize:\t  500000 kB\n"
                           "VmRSS:\t   30000 kB\n";

INSTANTIATE_TEST_SUITE_P(
    Cas, MemoireDisponible,
    testing::Values(
        CasMemoire{"sansLimite", kMeminfo, kStatus, -1, 2000000LL * 1024},
        CasMemoire{"limiteLarge", kMeminfo, kStatus, 8LL << 30, 2000000LL * 1024},
        CasMemoire{"limiteEtroite", kMeminfo, kStatus, 1LL << 30, (1LL << 30) - 500000LL * 1024},
        CasMemoire{"limiteDepassee", kMeminfo, kStatus, 100LL << 20, 0},
        CasMemoire{"sansMemAvailable", "MemTotal: 100 kB\nMemFree: 50 kB\n", kStatus, -1, -1},
        CasMemoire{"seuleLaLimite", "", kStatus, 1LL << 30, (1LL << 30) - 500000LL * 1024},
        CasMemoire{"sansVmSize", kMeminfo, "Name:\tx\n", 1LL << 30, 1LL << 30},
        CasMemoire{"nomProche", "MemAvailableX: 5 kB\nMemAvailable: 7 kB", "", -1, 7 * 1024},
        CasMemoire{"valeurIllisible", "MemAvailable: beaucoup kB\n", "", -1, -1}),
    [](const testing::TestParamInfo<CasMemoire>& info) { return std::string(info.param.nom); });

TEST(MemoireDisponible, LeSystemeRepond)
{
#if defined(Q_OS_LINUX)
    EXPECT_GT(memoireDisponible(), 0);
#else
    GTEST_SKIP() << "Linux only";
#endif
}

TEST(BesoinMemoire, UnFichierDeSautsDeLigneTientDansLEstimation)
{
    for (const qint64 taille : {qint64(0), qint64(1), qint64(1) << 20, kTailleMaximaleFichier}) {
        // Each LF becomes CR LF in UTF-16, plus a line of its own in the view's index.
        EXPECT_GE(besoinMemoireOuverture(taille), 4 * taille + taille / 4) << taille;
        EXPECT_LE(besoinMemoireOuverture(taille), besoinMemoireOuverture(taille + 1));
    }
}

TEST(BesoinMemoire, MessageEnMioArrondisVersLaPrudence)
{
    EXPECT_EQ(texteMemoireInsuffisante((300LL << 20) + 1, (200LL << 20) - 1),
              u"Le fichier est trop grand pour la mémoire disponible : 301 Mio nécessaires, "
              "199 Mio disponibles."_qs);
    EXPECT_EQ(texteMemoireInsuffisante(5LL << 20, -1),
              u"Le fichier est trop grand pour la mémoire disponible : 5 Mio nécessaires, "
              "0 Mio disponibles."_qs);
}

// Kibibytes of address space in use.
qint64 vmSizeKo()
{
    std::ifstream f("/proc/self/status");
    std::string ligne;
    while (std::getline(f, ligne))
        if (ligne.rfind("VmSize:", 0) == 0)
            return std::atoll(ligne.c_str() + 7);
    return -1;
}

// Leaves this much more address space than is in use now.
void limiterEspace(qint64 octetsDePlus)
{
    const rlim_t limite = rlim_t(vmSizeKo() * 1024 + octetsDePlus);
    const rlimit r{limite, limite};
    if (setrlimit(RLIMIT_AS, &r) != 0) {
        std::fprintf(stderr, "setrlimit impossible\n");
        std::exit(3);
    }
}

// What the open command does with a file, run in a child whose address space is cut short:
// either message on stderr, then a normal exit.
[[noreturn]] void ouvrirSousLimite(const QString& chemin, qint64 octetsDePlus,
                                   const SourceMemoire& memoire, bool limiterApresLecture)
{
    if (!limiterApresLecture)
        limiterEspace(octetsDePlus);
    const LectureFichier lu = lireFichierTexte(chemin, {}, memoire);
    if (!lu.ok()) {
        std::fprintf(stderr, "%s\n", lu.erreur.toUtf8().constData());
        std::exit(0);
    }
    if (limiterApresLecture)
        limiterEspace(octetsDePlus);
    try {
        const AnalyseComplete analyse = analyserTexte(lu.charge.texte);
        std::fprintf(stderr, "analyse faite : %lld mots\n", static_cast<long long>(analyse.mots));
        std::exit(1);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s\n",
                     texteMemoireInsuffisante(besoinMemoireOuverture(lu.charge.texte.size()),
                                              memoireDisponible())
                         .toUtf8()
                         .constData());
        std::exit(0);
    }
}

class SousLimiteEspace : public FichiersEnBlocs {
protected:
    void SetUp() override
    {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
        GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than any limit";
#endif
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
};

// An accented letter is one character in a UTF-8 locale, two in the C locale.
const char* const kMessageMemoire
    = "trop grand pour la m.{1,2}moire disponible : [0-9]+ Mio n.{1,2}cessaires";

TEST_F(SousLimiteEspace, LEstimationRefuseAvantDeLire)
{
    const QString chemin = ecrire("grand.txt", QByteArray(48 << 20, 'a'));
    EXPECT_EXIT(ouvrirSousLimite(chemin, 64 << 20, memoireDisponible, false),
                testing::ExitedWithCode(0), kMessageMemoire);
}

TEST_F(SousLimiteEspace, UneAllocationRateeDevientLeMessage)
{
    // A source that knows nothing lets the read run into the limit itself.
    const QString chemin = ecrire("grand.txt", QByteArray(48 << 20, 'a'));
    EXPECT_EXIT(ouvrirSousLimite(
                    chemin, 64 << 20, [] { return qint64(-1); }, false),
                testing::ExitedWithCode(0), kMessageMemoire);
}

TEST_F(SousLimiteEspace, LAnalyseAussi)
{
    // Distinct words fill the analysis' table well past what is left once the text is in.
    QByteArray mots;
    for (int i = 0; mots.size() < (24 << 20); ++i)
        mots += "mot" + QByteArray::number(i, 36) + ' ';
    const QString chemin = ecrire("mots.txt", mots);
    EXPECT_EXIT(ouvrirSousLimite(chemin, 16 << 20, memoireDisponible, true),
                testing::ExitedWithCode(0), kMessageMemoire);
}

TEST_F(SousLimiteEspace, LOuvertureEntiereAussi)
{
    // Room for the text, not for its words: the failure comes while the file is still read, on
    // either thread.
    QByteArray mots;
    for (int i = 0; mots.size() < (24 << 20); ++i)
        mots += "mot" + QByteArray::number(i, 36) + ' ';
    const QString chemin = ecrire("mots.txt", mots);
    EXPECT_EXIT(
        {
            limiterEspace(96 << 20);
            const Ouverture o = preparerOuverture(chemin, {}, [] { return qint64(-1); });
            std::fprintf(stderr, "%s\n", o.erreur.toUtf8().constData());
            std::exit(o.erreur.isEmpty() ? 1 : 0);
        },
        testing::ExitedWithCode(0), kMessageMemoire);
}

} // namespace
