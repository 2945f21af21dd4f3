// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/form_with_files.h"
#include "text_view/vue_texte.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>

#include <memory>

namespace {

using Depot = FormWithFiles;

// A dropped file meets the checks and messages of a chosen one; only one, and not during an open.
TEST_F(Depot, UnFichierDeposeSOuvreCommeUnFichierChoisi)
{
    const QString conte = write(u"conte.txt"_qs, "Il était une fois.\r\n");
    const QString notes = write(u"notes.md"_qs, "# titre\n");
    const struct {
        QStringList chemins;
        bool pendantOuverture, pris, ouvert;
        QString erreur;
    } cas[] = {
        {{conte}, false, true, true, {}},
        {{notes}, false, true, false, u"« notes.md » n'est pas un fichier texte (.txt)."_qs},
        {{dir.filePath(u"absent.txt"_qs)}, false, true, false, u"n'existe plus"_qs},
        {{conte, notes}, false, false, false, {}},
        {{conte}, true, false, true, {}},
    };
    for (const auto& c : cas) {
        FakePlatform doublures;
        Form1 fenetre(doublures.platform());
        if (c.pendantOuverture)
            fenetre.ouvrir(conte);
        QMimeData donnees;
        QList<QUrl> adresses;
        for (const QString& chemin : c.chemins)
            adresses << QUrl::fromLocalFile(chemin);
        donnees.setUrls(adresses);
        // As from a file manager: the pointer comes in, then the button is let go.
        QDragEnterEvent entree({60, 100}, Qt::CopyAction | Qt::MoveAction, &donnees, Qt::LeftButton,
                               Qt::NoModifier);
        QDropEvent depot({60, 100}, Qt::CopyAction | Qt::MoveAction, &donnees, Qt::LeftButton,
                         Qt::NoModifier);
        depot.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(&fenetre, &entree);
        QApplication::sendEvent(&fenetre, &depot);
        EXPECT_EQ(entree.isAccepted() && depot.isAccepted(), c.pris);
        EXPECT_EQ(depot.dropAction() == Qt::CopyAction, c.pris) << "moved away";
        QTest::qWait(0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !fenetre.ouvertureEnCours(); }, 60000));
        EXPECT_EQ(fenetre.Label1->text() == conte, c.ouvert) << c.chemins.join(u' ').toStdString();
        EXPECT_EQ(doublures.files.errors.size(), c.erreur.isEmpty() ? 0 : 1);
        EXPECT_TRUE(doublures.files.errors.value(0).contains(c.erreur));
    }
}

TEST_F(Depot, LesMenusDesDeuxBoitesEtLaListeEnregistree)
{
    const auto entrees = [](VueTexte* boite) {
        QStringList r;
        const std::unique_ptr<QMenu> menu(boite->creerMenuContextuel());
        for (QAction* a : menu->actions())
            r << a->text().section(u'\t', 0, 0) + (a->isEnabled() ? u'+' : u'-');
        return r;
    };
    const QString copier = u"&Copier"_qs, tout = u"Tout &sélectionner"_qs,
                  liste = u"&Enregistrer la liste…"_qs;
    EXPECT_EQ(entrees(form.Le_texte), QStringList({copier + u'-', tout + u'-'}));
    EXPECT_EQ(entrees(form.Resultat_Txt).value(3), liste + u'-');
    const QString texte = writeAndOpen(u"conte.txt"_qs, "Un; \"deux\" l'été un\r\n");
    form.Le_texte->definirSelection(0, 2);
    EXPECT_EQ(entrees(form.Le_texte), QStringList({copier + u'+', tout + u'+'}));
    EXPECT_EQ(entrees(form.Resultat_Txt),
              QStringList({copier + u'-', tout + u'+', u"+"_qs, liste + u'+'}));
    for (const QKeySequence& touche : {QKeySequence(Qt::Key_Menu), QKeySequence(u"Shift+F10"_qs)}) {
        QTest::keySequence(form.Resultat_Txt, touche);
        ASSERT_TRUE(qobject_cast<QMenu*>(QApplication::activePopupWidget())) << touche[0].key();
        QApplication::activePopupWidget()->close();
    }

    fakes.files.saveAnswers = {dir.filePath(u"liste.csv"_qs), dir.filePath(u"non/liste.csv"_qs)};
    form.EnregistrerListe();
    form.EnregistrerListe();
    EXPECT_EQ(fakes.files.offered, QStringList(2, dir.filePath(u"conte.csv"_qs)));
    QFile fichier(dir.filePath(u"liste.csv"_qs));
    ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
    EXPECT_EQ(fichier.readAll(), "\xEF\xBB\xBFMot;Occurrences\r\nUn;2\r\ndeux;1\r\nl'été;1\r\n");
    EXPECT_EQ(fakes.files.errors.size(), 1) << "a failed save says nothing";
    EXPECT_EQ(form.Label1->text(), texte);
}

} // namespace
