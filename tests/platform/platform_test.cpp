// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clickable_label.h"
#include "platform/launcher.h"
#include "platform/window_chrome.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>
#include <QWidget>

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

// A parent that notes the presses that reach it.
class Fond : public QWidget {
public:
    int appuis = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++appuis; }
};

struct CasClic {
    const char* nom;
    Qt::MouseButton bouton;
    QPoint relache; // where the button goes up, in the label's coordinates
    int clics;
};

TEST(ClickableLabel, ALeftClickReleasedOnItClicksAndNoPressReachesTheParent)
{
    const CasClic cas[] = {
        {"left, released inside", Qt::LeftButton, {5, 5}, 1},
        {"left, released outside", Qt::LeftButton, {80, 5}, 0},
        {"right", Qt::RightButton, {5, 5}, 0},
        {"middle", Qt::MiddleButton, {5, 5}, 0},
    };
    for (const CasClic& c : cas) {
        SCOPED_TRACE(c.nom);
        Fond fond;
        auto* label = new ClickableLabel(QStringLiteral("lien"), &fond);
        label->setGeometry(0, 0, 40, 20);
        int clics = 0;
        QObject::connect(label, &ClickableLabel::clicked, [&] { ++clics; });
        QTest::mousePress(label, c.bouton, {}, {5, 5});
        QTest::mouseRelease(label, c.bouton, {}, c.relache);
        EXPECT_EQ(clics, c.clics);
        EXPECT_EQ(fond.appuis, 0);
    }
}

TEST(ClickableLabel, TellsEveryMoveOverIt)
{
    ClickableLabel label(QStringLiteral("lien"));
    label.resize(40, 20);
    label.setMouseTracking(true);
    int survols = 0;
    QObject::connect(&label, &ClickableLabel::survole, [&] { ++survols; });
    for (const QPoint p : {QPoint(1, 1), QPoint(10, 5), QPoint(30, 15)}) {
        QMouseEvent move(QEvent::MouseMove, p, label.mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&label, &move);
    }
    EXPECT_EQ(survols, 3);
}

} // namespace

#include "platform_test.moc"
