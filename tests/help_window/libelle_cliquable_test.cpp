// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_window/libelle_cliquable.h"

#include <QAccessible>
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

struct CasTouche {
    const char* nom;
    Qt::Key touche;
    bool repetee;
    int clics;
};

TEST(LibelleCliquable, ReturnAndSpaceClickItAsAReaderPressesTheLink)
{
    const CasTouche cas[] = {
        {"Return", Qt::Key_Return, false, 1}, {"Enter", Qt::Key_Enter, false, 1},
        {"Space", Qt::Key_Space, false, 1},   {"Space held", Qt::Key_Space, true, 0},
        {"a letter", Qt::Key_A, false, 0},
    };
    for (const CasTouche& c : cas) {
        SCOPED_TRACE(c.nom);
        LibelleCliquable label(QStringLiteral("  exemple.org "));
        int clics = 0;
        QObject::connect(&label, &LibelleCliquable::clique, [&] { ++clics; });
        QKeyEvent appui(QEvent::KeyPress, c.touche, Qt::NoModifier, {}, c.repetee);
        QCoreApplication::sendEvent(&label, &appui);
        EXPECT_EQ(clics, c.clics);
    }
    LibelleCliquable label(QStringLiteral("  exemple.org "));
    int clics = 0;
    QObject::connect(&label, &LibelleCliquable::clique, [&] { ++clics; });
    QAccessibleInterface* lien = QAccessible::queryAccessibleInterface(&label);
    EXPECT_EQ(lien->role(), QAccessible::Link);
    EXPECT_EQ(lien->text(QAccessible::Name), u"exemple.org"_qs);
    lien->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clics, 1);
}

} // namespace
