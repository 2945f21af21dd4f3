// SPDX-License-Identifier: GPL-3.0-or-later
// The open command works away from the window: meanwhile input is dropped, the search's timer
// is still, the busy pointer shows; then everything appears at once, or nothing changes.
#include "form_with_files.h"
#include "search/recherche.h"
#include "text_view/vue_texte.h"

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
    EXPECT_EQ(form.Le_texte->texte().toString(), u"un deux deux\r\n"_qs);
    EXPECT_EQ(form.LblMots->text(), u"3 Mots"_qs);
    EXPECT_EQ(form.LblMotsDiff->text(), u"2 Mots différents"_qs);
    EXPECT_TRUE(
        form.Resultat_Txt->texte().toString().endsWith(u"\r\n   2     deux\r\n   1     un"_qs));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(form.Timer1->isActive()); // it goes on as before the open
    form.Timer1->stop();

    QTest::mouseClick(form.CmdAide, Qt::LeftButton); // input is taken again
    EXPECT_NE(form.aide(), nullptr);
}

// Alt+F4 that a grab of the dialog kept from the window manager reaches the program as a key.
TEST_F(Ouvrir, DuringTheWorkTheCloseKeyAloneEndsTheProgram)
{
    fakes.files.answers.push_back(write(u"a.txt"_qs, "un\r\n"));
    form.Cmdouvrir_Click();
    for (const auto& [touche, avec] : {std::pair{Qt::Key_F4, Qt::ControlModifier},
                                       {Qt::Key_F3, Qt::AltModifier},
                                       {Qt::Key_F4, Qt::AltModifier}})
        QTest::keyClick(form.Le_texte, touche, avec);
    EXPECT_EQ(fakes.programEnds, 1);
    attendreOuverture();
}

TEST_F(Ouvrir, ARefusedOpenChangesNothingAndSaysWhy)
{
    const QString premier = writeAndOpen(u"a.txt"_qs, "un\r\n");
    const QString texte = form.Le_texte->texte().toString();
    const QString rapport = form.Resultat_Txt->texte().toString();
    for (const QString& chemin :
         {dir.filePath(u"absent.txt"_qs), write(u"notes.md"_qs, "x"), dir.path() + u"/d.txt"_qs}) {
        fakes.files.answers.push_back(chemin);
        form.Cmdouvrir_Click();
        attendreOuverture();
        EXPECT_EQ(form.Le_texte->texte().toString(), texte) << qPrintable(chemin);
        EXPECT_EQ(form.Resultat_Txt->texte().toString(), rapport);
        EXPECT_EQ(form.Label1->text(), premier);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(fakes.files.errors.size(), 3);
}

} // namespace
