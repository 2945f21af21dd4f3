// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_window/placement.h"

#include <algorithm>

namespace {

int clampInto(int start, int length, int areaStart, int areaLength)
{
    // Too big to fit: keep the start (the title bar) reachable.
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

} // namespace

QPoint positionFenetreAide(const QRect& owner, const QSize& frame, const QRect& available)
{
    QRect placed(QPoint(owner.right() + 1, owner.top()), frame);
    if (placed.right() > available.right()) {
        placed.moveRight(owner.left() - 1);
        if (placed.left() < available.left())
            placed.moveCenter(owner.center());
    }
    return {clampInto(placed.left(), frame.width(), available.left(), available.width()),
            clampInto(placed.top(), frame.height(), available.top(), available.height())};
}
