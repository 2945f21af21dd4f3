// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clavier.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A main window that counts its requests for the keyboard: the window system, not the offscreen
// platform, decides where the focus goes, so the requests are what the program does.
struct Principale {
    QWidget fenetre;
    int demandes = 0;

    Principale()
    {
        garderLeClavier(&fenetre, [this] { ++demandes; });
        fenetre.show();
    }
    // The requests once the events under way are handled.
    int demandesApres()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        return demandes;
    }
};

struct CasFermeture {
    const char* nom;
    bool modale;
    std::function<void(QDialog&)> fermer;
};

TEST(GarderLeClavier, AsksAtFirstShowAndAfterEveryWayAWindowOfItsOwnGoes)
{
    const CasFermeture cas[] = {
        {"OK", false, [](QDialog& d) { d.accept(); }},
        {"Escape", false, [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"close box", false, [](QDialog& d) { d.close(); }},
        {"modal, answered", true, [](QDialog& d) { d.accept(); }},
        {"modal, Escape", true, [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"modal, close box", true, [](QDialog& d) { d.close(); }},
    };
    for (const CasFermeture& c : cas) {
        SCOPED_TRACE(c.nom);
        Principale principale;
        const int auDepart = principale.demandesApres();
        EXPECT_EQ(auDepart, 1);
        QDialog dialogue(&principale.fenetre);
        dialogue.setModal(c.modale);
        dialogue.show();
        EXPECT_EQ(principale.demandesApres(), auDepart);
        c.fermer(dialogue);
        ASSERT_FALSE(dialogue.isVisible());
        EXPECT_EQ(principale.demandesApres(), auDepart + 1);
    }
}

TEST(GarderLeClavier, AMessageThatFollowsADialogKeepsTheKeyboardUntilItGoes)
{
    Principale principale;
    const int auDepart = principale.demandesApres();
    QDialog dialogue(&principale.fenetre);
    dialogue.show();
    // The dialog's answer is refused at once, by a message over the main window.
    QMessageBox message(QMessageBox::Warning, QStringLiteral("Lexorquine"), QStringLiteral("non"),
                        QMessageBox::Ok, &principale.fenetre);
    int pendantLeMessage = -1;
    QTimer::singleShot(0, &message, [&] {
        pendantLeMessage = principale.demandesApres();
        message.accept();
    });
    dialogue.hide();
    message.exec();
    EXPECT_EQ(pendantLeMessage, auDepart);
    EXPECT_EQ(principale.demandesApres(), auDepart + 1);
}

TEST(GarderLeClavier, LeavesAloneMenusAndTheWindowsOfOthers)
{
    Principale principale;
    const int auDepart = principale.demandesApres();
    QMenu menu(&principale.fenetre);
    menu.addAction(QStringLiteral("Copier"));
    menu.popup(QPoint(10, 10));
    menu.hide();
    QWidget autre;
    autre.show();
    QDialog sien(&autre);
    sien.show();
    sien.hide();
    EXPECT_EQ(principale.demandesApres(), auDepart);
}

// Alt+F4 that reaches the program, a grab having kept it from the window manager, closes the
// window seen active: the modal dialog while it shows, else the main window.
TEST(GarderLeClavier, TheCloseKeyClosesTheWindowSeen)
{
    for (const bool avecDialogue : {true, false}) {
        Principale principale;
        QDialog dialogue(&principale.fenetre);
        dialogue.setModal(true);
        dialogue.setVisible(avecDialogue);
        QTest::keyClick(&principale.fenetre, Qt::Key_F4, Qt::AltModifier);
        EXPECT_EQ(principale.fenetre.isVisible(), avecDialogue) << avecDialogue;
        EXPECT_FALSE(dialogue.isVisible());
    }
}

} // namespace
