// SPDX-License-Identifier: GPL-3.0-or-later
// Places at the device-pixel ratio that the run was given (QT_SCALE_FACTOR), on the screens that
// it describes to the offscreen platform (CMakeLists.txt). Qt's own record of a window in the
// screen's pixels is the reference.
#include "main_window/form1.h"
#include "platform/fakes.h"
#include "platform/habillage.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <qpa/qplatformscreen.h>
#include <qpa/qplatformwindow.h>

#include <gtest/gtest.h>

namespace {

QRect enPixelsEcran(const QWidget& fenetre) { return fenetre.windowHandle()->handle()->geometry(); }

TEST(Echelle, MainWindowOpensWholeAndCentredInTheScreensPixels)
{
    FakePlatform fakes;
    Form1 form{fakes.platform()};
    form.show();
    const qreal ratio = form.screen()->devicePixelRatio();
    // Else every run would test the same ratio.
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
        ASSERT_EQ(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
    }
    const QRect ecran = form.screen()->handle()->availableGeometry();
    const QRect fenetre = enPixelsEcran(form);
    EXPECT_EQ(fenetre.size(), (QSizeF(710, 482) * ratio).toSize());
    EXPECT_TRUE(ecran.contains(fenetre));
    // Off the centre by one logical pixel at most.
    EXPECT_LE(std::abs(2 * (fenetre.x() - ecran.x()) + fenetre.width() - ecran.width()), 2 * ratio)
        << fenetre.x();
    EXPECT_LE(std::abs(2 * (fenetre.y() - ecran.y()) + fenetre.height() - ecran.height()),
              2 * ratio)
        << fenetre.y();
}

TEST(Echelle, ScreenPixelsBecomeTheLogicalPlaceOnEveryScreen)
{
    for (QScreen* ecran : QGuiApplication::screens()) {
        for (const QPoint decalage : {QPoint(0, 0), QPoint(37, 11), QPoint(413, 319)}) {
            QWidget fenetre(nullptr, Qt::FramelessWindowHint);
            fenetre.setScreen(ecran);
            fenetre.setGeometry(QRect(ecran->geometry().topLeft() + decalage, QSize(100, 50)));
            fenetre.show();
            EXPECT_EQ(versPixelsLogiques(enPixelsEcran(fenetre).topLeft(), *ecran),
                      fenetre.geometry().topLeft())
                << ecran->name().toStdString() << " +" << decalage.x() << "," << decalage.y();
        }
    }
}

} // namespace
