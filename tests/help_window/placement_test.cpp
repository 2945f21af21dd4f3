// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_window/placement.h"

#include <gtest/gtest.h>

TEST(HelpWindowPosition, BesideOrOverTheMainWindowAndAlwaysOnScreen)
{
    const QSize frame(378, 424);
    struct Case {
        QRect screen, owner;
        QPoint expected;
    } cases[] = {
        {{0, 0, 1920, 1040}, {605, 279, 710, 482}, {1315, 279}}, // room on the right
        {{0, 0, 1920, 1040}, {1200, 100, 710, 482}, {822, 100}}, // only on the left
        {{0, 0, 1024, 768}, {157, 143, 710, 482}, {323, 172}}, // neither: over it, centred
        {{0, 0, 1920, 1040}, {605, 800, 710, 482}, {1315, 616}}, // pulled up onto the screen
        {{1920, 30, 1280, 994}, {2400, 10, 710, 482}, {2022, 30}}, // second screen, below a bar
        {{0, 0, 300, 300}, {0, 0, 200, 200}, {0, 0}}, // too small: title bar shows
    };
    for (const Case& c : cases) {
        const QPoint at = positionFenetreAide(c.owner, frame, c.screen);
        EXPECT_EQ(at, c.expected) << c.owner.x() << "," << c.owner.y();
    }
}
