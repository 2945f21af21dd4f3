// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader gets from the main window: names, the status, the results and counts
// told as notifications, and the keys that search.
#include "main_window/form1.h"
#include "main_window/form_with_files.h"
#include "search/recherche.h"
#include "text_view/vue_texte.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

// What readers were told, in order: the names of the notifications as each appeared, and
// where the caret of the loaded text moved.
std::vector<QString> annonces;
std::vector<int> curseur;

// As when a screen reader listens from the start: Qt tells events only then.
struct LecteurDEcran {
    LecteurDEcran()
    {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        QAccessible::installUpdateHandler([](QAccessibleEvent* e) {
            QAccessibleInterface* i = e->accessibleInterface();
            if (e->type() == QAccessible::ObjectShow && i && i->role() == QAccessible::Notification)
                annonces.push_back(i->text(QAccessible::Name));
            if (e->type() == QAccessible::TextCaretMoved
                && e->object()->objectName() == u"Le_texte"_qs)
                curseur.push_back(static_cast<QAccessibleTextCursorEvent*>(e)->cursorPosition());
        });
        annonces.clear();
        curseur.clear();
    }
    ~LecteurDEcran()
    {
        QAccessible::installUpdateHandler(nullptr);
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
    }
};

class Accessibilite : private LecteurDEcran, public FormWithFiles {
protected:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.ChkCherche->setChecked(false);
    }
    QAccessibleInterface* de(QObject* objet)
    {
        return QAccessible::queryAccessibleInterface(objet);
    }
    void cliquer(QWidget* element) { QTest::mouseClick(element, Qt::LeftButton); }
    // Messages close together are merged: this waits for the one just given.
    void attendreAnnonces(std::size_t nombre)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return annonces.size() >= nombre; }, 5000));
    }
};

TEST_F(Accessibilite, TheTextsAreNamedForWhatTheyHoldAndTheResultIsTheStatus)
{
    EXPECT_EQ(de(form.Le_texte)->text(QAccessible::Name), u"Texte du fichier"_qs);
    EXPECT_EQ(de(form.Resultat_Txt)->text(QAccessible::Name), u"Occurrences des mots"_qs);
    EXPECT_EQ(de(form.Label2)->role(), QAccessible::StatusBar);
    EXPECT_EQ(de(form.Label2)->text(QAccessible::Name), u"Résultat"_qs);
    EXPECT_EQ(de(form.LblMots)->role(), QAccessible::StaticText);
    EXPECT_EQ(de(&form)->role(), QAccessible::Window);
    EXPECT_EQ(de(&form)->text(QAccessible::Name), u"Lexorquine"_qs);
}

TEST_F(Accessibilite, NoNameIsSpokenTwiceNorWithStrayBlanks)
{
    for (QWidget* element : form.findChildren<QWidget*>()) {
        QAccessibleInterface* i = de(element);
        const QString nom = i->text(QAccessible::Name);
        const QString description = i->text(QAccessible::Description);
        EXPECT_EQ(nom, nom.simplified()) << element->objectName().toStdString();
        EXPECT_EQ(description, description.simplified()) << element->objectName().toStdString();
        // A reader leaves out a description that the name already holds.
        if (!description.isEmpty() && nom.contains(description, Qt::CaseInsensitive)) {
            EXPECT_EQ(description, nom) << element->objectName().toStdString();
        }
    }
    EXPECT_EQ(de(form.Fram2)->text(QAccessible::Name), u"Analyse"_qs);
}

TEST_F(Accessibilite, EachResultIsToldAndTheCountsOfAnOpenToo)
{
    form.Le_texte->setFocus();
    writeAndOpen(u"conte.txt"_qs, "raconter et contes\r\n");
    attendreAnnonces(1);
    form.TxtRecherche->setText(u"conte"_qs);
    form.CmdRecherche->setFocus();
    for (int appui = 0; appui < 3; ++appui) {
        cliquer(form.CmdRecherche);
        attendreAnnonces(2 + appui);
    }
    const QString fin = u"Recherche terminée '' conte '' a été trouvé 2 fois."_qs;
    // Told whatever has the focus: the step puts it in the text.
    const std::vector<QString> attendues = {
        u"1 lignes, 18 Caractères, 3 Mots, 3 Mots différents"_qs,
        u"1"_qs,
        u"2"_qs,
        fin,
    };
    EXPECT_EQ(annonces, attendues);
    EXPECT_EQ(de(form.Label2)->text(QAccessible::Name), fin);
}

TEST_F(Accessibilite, TheSameMessageTwiceIsToldTwiceAndAQuickRunOnlyByItsLast)
{
    form.CmdRecherche->setFocus();
    cliquer(form.CmdRecherche);
    attendreAnnonces(1);
    cliquer(form.CmdRecherche);
    attendreAnnonces(2);
    EXPECT_EQ(annonces, std::vector<QString>(2, u"Sélectionnez un mot"_qs));
    annonces.clear();
    writeAndOpen(u"conte.txt"_qs, "conte conte conte conte conte conte\r\n");
    attendreAnnonces(1);
    form.TxtRecherche->setText(u"conte"_qs);
    form.ChkCherche->setChecked(true);
    // Seven steps within the pause: told by the end of the run, a step or none before it.
    form.CmdRecherche_Click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.Timer1->isActive(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return annonces.back() == u"Recherche terminée '' conte '' a été trouvé 6 fois."_qs;
        },
        5000));
    EXPECT_LE(annonces.size(), 3u);
}

TEST_F(Accessibilite, TheProgramsFastMovesAreToldWhereTheyStopAndEveryKeyAtOnce)
{
    form.Le_texte->definirTexte(u"un deux trois quatre cinq six sept huit neuf dix"_qs);
    form.Le_texte->setFocus();
    QTest::qWait(300);
    curseur.clear();
    for (int position = 1; position <= 40; ++position)
        form.Le_texte->definirSelection(position, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !curseur.empty() && curseur.back() == 40; }, 2000));
    EXPECT_LE(curseur.size(), 2u);
    curseur.clear();
    for (int fois = 0; fois < 3; ++fois)
        QTest::keyClick(form.Le_texte, Qt::Key_Right);
    EXPECT_EQ(curseur, (std::vector<int>{41, 42, 43}));
}

TEST_F(Accessibilite, TheSearchBoxTellsItsWordsEvenAfterALeadingBlank)
{
    form.TxtRecherche->setText(u" un conte"_qs);
    QAccessibleTextInterface* texte = de(form.TxtRecherche)->textInterface();
    ASSERT_NE(texte, nullptr);
    int debut = -1, fin = -1;
    EXPECT_EQ(texte->textAtOffset(0, QAccessible::WordBoundary, &debut, &fin), u" "_qs);
    EXPECT_EQ(texte->textAfterOffset(0, QAccessible::WordBoundary, &debut, &fin), u"un "_qs);
    EXPECT_EQ(texte->textBeforeOffset(9, QAccessible::WordBoundary, &debut, &fin), u"conte"_qs);
    EXPECT_EQ(debut, 4);
    EXPECT_EQ(fin, 9);
    EXPECT_EQ(de(form.TxtRecherche)->text(QAccessible::Value), u" un conte"_qs);
}

TEST_F(Accessibilite, F3AndReturnInTheSearchBoxStepOnFromAnywhere)
{
    writeAndOpen(u"conte.txt"_qs, "un conte, deux contes\r\n");
    form.TxtRecherche->setText(u"conte"_qs);
    QTest::keyClick(form.TxtRecherche, Qt::Key_Return);
    EXPECT_EQ(form.recherche().etapes(), 1);
    EXPECT_EQ(form.Le_texte->debutSelection(), 3);
    ASSERT_EQ(QApplication::focusWidget(), form.Le_texte);
    QTest::keyClick(form.Le_texte, Qt::Key_F3);
    EXPECT_EQ(form.recherche().etapes(), 2);
    EXPECT_EQ(form.Le_texte->debutSelection(), 15);
}

} // namespace
