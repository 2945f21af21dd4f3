// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

class QWidget;

// What the window system does for a borderless main window.
class WindowChrome {
public:
    virtual ~WindowChrome() = default;
    // Only the part of the window inside this rounded rectangle is shown and takes the mouse.
    virtual void setRoundedOutline(QWidget* window, const QRect& outline, int cornerRadius) = 0;
    // No button in the task bar; call before the window is first shown, once it is where it
    // belongs.
    virtual void hideFromTaskBar(QWidget* window) = 0;
    virtual void stayOnTop(QWidget* window) = 0;
    // The window follows the mouse until the left button is released.
    virtual void startMove(QWidget* window) = 0;
};

class QtWindowChrome final : public WindowChrome {
public:
    void setRoundedOutline(QWidget* window, const QRect& outline, int cornerRadius) override;
    void hideFromTaskBar(QWidget* window) override;
    void stayOnTop(QWidget* window) override;
    void startMove(QWidget* window) override;
};
