// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// The window comes back by itself when the window manager minimises it: the program has no
// task-bar button through which the user could bring it back.
void empecherReduction(QWidget* fenetre);
