// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_window/libelle_cliquable.h"

#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

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

TEST(LibelleCliquable, ALeftClickReleasedOnItClicksAndNoPressReachesTheParent)
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
        auto* label = new LibelleCliquable(QStringLiteral("lien"), &fond);
        label->setGeometry(0, 0, 40, 20);
        int clics = 0;
        QObject::connect(label, &LibelleCliquable::clique, [&] { ++clics; });
        QTest::mousePress(label, c.bouton, {}, {5, 5});
        QTest::mouseRelease(label, c.bouton, {}, c.relache);
        EXPECT_EQ(clics, c.clics);
        EXPECT_EQ(fond.appuis, 0);
    }
}

TEST(LibelleCliquable, TellsEveryMoveOverIt)
{
    LibelleCliquable label(QStringLiteral("lien"));
    label.resize(40, 20);
    label.setMouseTracking(true);
    int survols = 0;
    QObject::connect(&label, &LibelleCliquable::survole, [&] { ++survols; });
    for (const QPoint p : {QPoint(1, 1), QPoint(10, 5), QPoint(30, 15)}) {
        QMouseEvent move(QEvent::MouseMove, p, label.mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&label, &move);
    }
    EXPECT_EQ(survols, 3);
}

} // namespace
