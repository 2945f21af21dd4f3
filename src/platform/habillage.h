// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>

class QScreen;
class QWidget;

// A place given in the screen's own pixels (the X server's), in the logical pixels that Qt's
// geometry uses: they differ by the screen's device-pixel ratio, around the screen's origin.
QPoint versPixelsLogiques(QPoint pixelsEcran, const QScreen& ecran);

// What the window system does for a borderless main window.
class Habillage {
public:
    virtual ~Habillage() = default;
    // Only the part of the window inside this rounded rectangle is shown and takes the mouse.
    virtual void arrondirContour(QWidget* window, const QRect& outline, int cornerRadius) = 0;
    // No button in the task bar; call before the window is first shown, once it is where it
    // belongs.
    virtual void cacherDeLaBarreDesTaches(QWidget* window) = 0;
    virtual void garderAuPremierPlan(QWidget* window) = 0;
    // The window follows the mouse until the left button is released.
    virtual void commencerDeplacement(QWidget* window) = 0;
};

class HabillageQt final : public Habillage {
public:
    void arrondirContour(QWidget* window, const QRect& outline, int cornerRadius) override;
    void cacherDeLaBarreDesTaches(QWidget* window) override;
    void garderAuPremierPlan(QWidget* window) override;
    void commencerDeplacement(QWidget* window) override;
};
