// SPDX-License-Identifier: GPL-3.0-or-later
// The open command works away from the window: meanwhile input is dropped, the search's timer
// is still, the busy pointer shows; then everything appears at once, or nothing changes.
#include "form_with_files.h"
#include "main_window/ouverture.h"
#include "main_window/text_display.h"
#include "search/recherche.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

using Ouvrir = FormWithFiles;

TEST_F(Ouvrir, DuringTheWorkInputIsDroppedAndTheTimerIsStill)
{
    form.Timer1->start();
    fakes.files.answers.push_back(write(u"a.txt"_qs, "un deux deux\r\n"));
    form.Cmdouvrir_Click();
    ASSERT_TRUE(form.ouvertureEnCours());
    EXPECT_FALSE(form.Timer1->isActive());
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

    QTest::mouseClick(form.CmdAide, Qt::LeftButton);
    QTest::keyClicks(form.TxtRecherche, u"xyz"_qs);
    fakes.files.answers.push_back(write(u"b.txt"_qs, "autre\r\n"));
    form.Cmdouvrir_Click(); // a second open waits for the first to end: it does not start
    EXPECT_EQ(form.aide(), nullptr);
    EXPECT_TRUE(form.TxtRecherche->text().isEmpty());
    EXPECT_EQ(fakes.files.dialogs, 1);

    attendreOuverture();
    EXPECT_EQ(form.Le_texte->text(), u"un deux deux\r\n"_qs);
    EXPECT_EQ(form.LblMots->text(), u"3 Mots"_qs);
    EXPECT_EQ(form.LblMotsDiff->text(), u"2 Mots différents"_qs);
    EXPECT_EQ(form.occurrences().NbMotsTab(), 2);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(form.Timer1->isActive()); // it goes on as before the open
    form.Timer1->stop();

    QTest::mouseClick(form.CmdAide, Qt::LeftButton); // input is taken again
    EXPECT_NE(form.aide(), nullptr);
}

TEST_F(Ouvrir, ARefusedOpenChangesNothingAndSaysWhy)
{
    const QString premier = writeAndOpen(u"a.txt"_qs, "un\r\n");
    const QString texte = form.Le_texte->text();
    const QString rapport = form.Resultat_Txt->text();
    for (const QString& chemin :
         {dir.filePath(u"absent.txt"_qs), write(u"notes.md"_qs, "x"), dir.path() + u"/d.txt"_qs}) {
        fakes.files.answers.push_back(chemin);
        form.Cmdouvrir_Click();
        attendreOuverture();
        EXPECT_EQ(form.Le_texte->text(), texte) << qPrintable(chemin);
        EXPECT_EQ(form.Resultat_Txt->text(), rapport);
        EXPECT_EQ(form.Label1->text(), premier);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(fakes.files.errors.size(), 3);
}

TEST(PreparerOuverture, WorksAwayFromAnyWindowAndGivesUpWhenAsked)
{
    QTemporaryDir dossier;
    const QString chemin = writeFile(dossier.path(), u"a.txt"_qs, "le chat\rle chien\n");
    std::atomic<bool> abandon = false;
    Ouverture o = preparerOuverture(chemin, abandon);
    EXPECT_TRUE(o.erreur.isEmpty());
    EXPECT_EQ(o.charge.text, u"le chat\r\nle chien\r\n"_qs);
    EXPECT_EQ(o.lignes.nombreLignes(), 3);
    EXPECT_EQ(o.analyse.mots, 4);
    EXPECT_EQ(o.lignesRapport.texte(), o.analyse.rapport);

    abandon = true;
    o = preparerOuverture(chemin, abandon);
    EXPECT_TRUE(o.abandonnee);
    EXPECT_TRUE(o.charge.text.isEmpty());

    // Too little memory left for the text: the memory message, nothing read.
    abandon = false;
    o = preparerOuverture(chemin, abandon, [] { return qint64(1024); });
    EXPECT_TRUE(o.erreur.contains(u"trop grand pour la mémoire disponible"_qs))
        << qPrintable(o.erreur);
}

// The words are analysed while the file is read; whatever the sizes of the blocks and of the
// pieces, the result is the analysis of the whole text, done after it is read.
TEST(PreparerOuverture, LAnalysePendantLaLectureDonneLeMemeResultat)
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
        {"fauteALaFin", prose + "\xE9"}, // read again as Windows-1252 at the very end
        {"fauteAuMilieu", prose.left(60000) + "\x92" + prose},
        {"utf16", "\xFF\xFE" + QByteArray("m\0o\0t\0 \0", 8).repeated(20000)},
        {"sansCoupure", QByteArray(90000, 'x')},
        {"sauts", QByteArray(70000, '\n')},
        {"vide", QByteArray()},
    };
    QTemporaryDir dossier;
    const std::atomic<bool> abandon = false;
    for (const Cas& c : cas) {
        const QString chemin
            = writeFile(dossier.path(), QString::fromUtf8(c.nom) + u".txt"_qs, c.octets);
        const TextFileRead lu = readTextFile(chemin);
        ASSERT_TRUE(lu.ok());
        const AnalyseComplete attendu = analyserTexte(lu.loaded.text);
        for (const ReglagesOuverture& r :
             {ReglagesOuverture{}, ReglagesOuverture{4096, 100, 10}, ReglagesOuverture{509, 3, 2},
              ReglagesOuverture{65536, 20000, 1}}) {
            SCOPED_TRACE(std::string(c.nom) + " " + std::to_string(r.bloc));
            const Ouverture o = preparerOuverture(chemin, abandon, memoireDisponible, r);
            ASSERT_TRUE(o.erreur.isEmpty()) << qPrintable(o.erreur);
            EXPECT_EQ(o.charge.text, lu.loaded.text);
            EXPECT_EQ(o.analyse.mots, attendu.mots);
            EXPECT_EQ(o.analyse.motsDifferents, attendu.motsDifferents);
            EXPECT_EQ(o.analyse.table.NbMotsTab(), attendu.table.NbMotsTab());
            EXPECT_EQ(o.analyse.rapport, attendu.rapport);
        }
    }
}

} // namespace
