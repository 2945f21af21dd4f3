// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QPixmap>

// The program's pictures and its classic font, in one place for both windows.
namespace look {

QPixmap background();
QIcon programIcon();
QIcon helpIcon();
QIcon quitIcon();
// The pointing hand shown over the clickable elements; hot spot at the finger tip.
QCursor handCursor();
// "MS Sans Serif" where it exists, else the closest sans-serif face.
QFont classicFont(qreal pointSize, bool bold);

} // namespace look
