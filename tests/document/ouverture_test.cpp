// SPDX-License-Identifier: GPL-3.0-or-later
// The open worker, away from any window: the whole result or a French message, never a
// partial document, whatever stops or fails.
#include "document/ouverture.h"
#include "write_file.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

TEST(PreparerOuverture, LitIndexeEtAnalyse)
{
    QTemporaryDir dossier;
    const QString chemin = writeFile(dossier.path(), u"a.txt"_qs, "le chat\rle chien\n");
    const Ouverture o = preparerOuverture(chemin, {});
    ASSERT_TRUE(o.document) << qPrintable(o.erreur);
    EXPECT_TRUE(o.erreur.isEmpty());
    EXPECT_EQ(o.document->charge.texte, u"le chat\r\nle chien\r\n"_qs);
    EXPECT_EQ(o.document->charge.lignes.nombreLignes(), 3);
    EXPECT_EQ(o.document->analyse.mots, 4);
    EXPECT_EQ(o.document->lignesRapport.texte().toString(), o.document->analyse.rapport);

    // Too little memory left for the text: the memory message, nothing read.
    const Ouverture refus = preparerOuverture(chemin, {}, [] { return qint64(1024); });
    EXPECT_FALSE(refus.document);
    EXPECT_TRUE(refus.erreur.contains(u"trop grand pour la mémoire disponible"_qs))
        << qPrintable(refus.erreur);

    // Whatever the memory source throws comes back as a message too.
    const Ouverture panne = preparerOuverture(chemin, {}, []() -> qint64 { throw 42; });
    EXPECT_FALSE(panne.document);
    EXPECT_TRUE(panne.erreur.startsWith(u"Impossible de lire le fichier « a.txt »."_qs))
        << qPrintable(panne.erreur);
}

// Whatever the size of the blocks, and wherever the byte that is not UTF-8 falls, the result
// is the analysis of the whole text as one reading of it gives.
TEST(PreparerOuverture, MemeResultatQuelleQueSoitLaCoupe)
{
    const QByteArray prose = QByteArray("L'\xC3\xA9t\xC3\xA9, l'\xC3\x89T\xC3\x89 ; fin\r\n"
                                        "aujourd'hui 12 345\n\n")
                                 .repeated(4000);
    struct Cas {
        const char* nom;
        QByteArray octets;
    };
    const Cas cas[] = {
        {"utf8", prose},
        {"fauteALaFin", prose + "\xE9"},
        {"fauteAuMilieu", prose.left(60000) + "\x92" + prose},
        {"sequenceCoupeeALaFin", prose + "\xC3"},
        {"utf16", "\xFF\xFE" + QByteArray("m\0o\0t\0 \0", 8).repeated(20000)},
        {"sansCoupure", QByteArray(90000, 'x')},
        {"sauts", QByteArray(70000, '\n')},
        {"vide", QByteArray()},
    };
    QTemporaryDir dossier;
    for (const Cas& c : cas) {
        const QString chemin
            = writeFile(dossier.path(), QString::fromUtf8(c.nom) + u".txt"_qs, c.octets);
        const LectureFichier lu = lireFichierTexte(chemin);
        ASSERT_TRUE(lu.ok());
        const AnalyseComplete attendu = analyserTexte(lu.charge.texte);
        for (const qsizetype bloc : {qsizetype(1) << 20, qsizetype(4096), qsizetype(509)}) {
            SCOPED_TRACE(std::string(c.nom) + " " + std::to_string(bloc));
            const Ouverture o = preparerOuverture(chemin, {}, memoireDisponible, bloc);
            ASSERT_TRUE(o.document) << qPrintable(o.erreur);
            EXPECT_EQ(o.document->charge.texte, lu.charge.texte);
            EXPECT_EQ(o.document->analyse.mots, attendu.mots);
            EXPECT_EQ(o.document->analyse.motsDifferents, attendu.motsDifferents);
            EXPECT_EQ(o.document->analyse.rapport, attendu.rapport);
        }
    }
}

// A stop requested before or at any moment of the work: the whole result or nothing, and no
// message either way.
TEST(PreparerOuverture, UnArretDonneToutOuRien)
{
    QTemporaryDir dossier;
    const QByteArray prose = QByteArray("un deux trois, quatre\r\n").repeated(200000);
    const QString chemin = writeFile(dossier.path(), u"long.txt"_qs, prose);
    std::stop_source demande;
    demande.request_stop();
    const Ouverture avant = preparerOuverture(chemin, demande.get_token());
    EXPECT_FALSE(avant.document);
    EXPECT_TRUE(avant.erreur.isEmpty());

    int entieres = 0;
    for (int k = 0; k < 40; ++k) {
        std::stop_source arret;
        std::jthread arreter([&] {
            std::this_thread::sleep_for(std::chrono::microseconds(500 * k));
            arret.request_stop();
        });
        const Ouverture o = preparerOuverture(chemin, arret.get_token(), memoireDisponible, 4096);
        EXPECT_TRUE(o.erreur.isEmpty()) << qPrintable(o.erreur);
        if (o.document) {
            ++entieres;
            EXPECT_EQ(o.document->analyse.mots, 800000);
            EXPECT_EQ(o.document->charge.texte.size(), prose.size());
        }
    }
    RecordProperty("entieres", entieres);
}

} // namespace
