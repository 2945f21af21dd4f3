// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the help window's frame goes: right of the main window, else left of it, else over it;
// always inside the screen's available area.
QPoint positionFenetreAide(const QRect& owner, const QSize& frame, const QRect& available);
