// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QKeyEvent;
class QWidget;

// The main window takes the keyboard when it first shows, and again whenever one of its own
// windows (dialog, message, help) goes away: some window managers give it back to no window.
// Alt+F4 that reaches the program, a grab of its own having kept it from the window manager,
// closes the window the user sees active.
void garderLeClavier(QWidget* principale);
// The same, with what asks the window system for the focus replaced (tests).
void garderLeClavier(QWidget* principale, std::function<void()> demanderLeClavier);

// The window managers' close shortcut (Alt+F4).
bool estRaccourciFermeture(const QKeyEvent& touche);
