// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/choix_fichier.h"
#include "platform/habillage.h"
#include "platform/lanceur.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <qpa/qwindowsysteminterface.h>

#include <gtest/gtest.h>

namespace {

TEST(HabillageQt, RoundedOutlineLeavesOutCornersAndFirstRowAndColumn)
{
    QWidget window;
    window.resize(710, 482);
    HabillageQt chrome;
    chrome.arrondirContour(&window, QRect(1, 1, 709, 481), 15);
    const QRegion mask = window.mask();
    for (const QPoint inside : {QPoint(355, 241), QPoint(1, 241), QPoint(709, 241), QPoint(355, 1),
                                QPoint(355, 481), QPoint(16, 16)})
        EXPECT_TRUE(mask.contains(inside)) << inside.x() << "," << inside.y();
    for (const QPoint outside :
         {QPoint(0, 0), QPoint(0, 241), QPoint(355, 0), QPoint(1, 1), QPoint(709, 1),
          QPoint(1, 481), QPoint(709, 481), QPoint(710, 241)})
        EXPECT_FALSE(mask.contains(outside)) << outside.x() << "," << outside.y();
}

// Stands in for the desktop's opener, so no browser starts.
class Ouvreur : public QObject {
    Q_OBJECT
public:
    QList<QUrl> ouvertes;
public slots:
    void ouvrir(const QUrl& adresse) { ouvertes << adresse; }
};

TEST(LanceurQt, HandsTheWholeAddressToTheDesktop)
{
    Ouvreur ouvreur;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &ouvreur, "ouvrir");
    const QString adresse = QStringLiteral("https://lexorquine.example/aide?page=1#haut");
    EXPECT_TRUE(LanceurQt().ouvrirAdresse(adresse));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(ouvreur.ouvertes.size(), 1);
    EXPECT_EQ(ouvreur.ouvertes[0].toString(), adresse);
}

// The window manager's close for the dialog just gone is for the main window the user saw then;
// a list of the dialog's left open would take the keys meant for the main window.
TEST(ChoixFichierQt, ACloseForTheDialogGoneClosesItsParent)
{
    QWidget parent;
    parent.show();
    QPointer<QWidget> dialogue;
    QTimer::singleShot(0, [&] {
        dialogue = QApplication::activeModalWidget();
        (new QMenu(dialogue))->popup({});
        dialogue->close();
    });
    EXPECT_EQ(ChoixFichierQt().choisirFichierTexte(&parent), QString());
    ASSERT_TRUE(dialogue && parent.isVisible() && !QApplication::activePopupWidget());
    QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
        dialogue->windowHandle());
    EXPECT_FALSE(parent.isVisible());
}

} // namespace

#include "platform_test.moc"
