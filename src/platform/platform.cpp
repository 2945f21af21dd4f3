// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/platform.h"

#include "platform/file_chooser.h"
#include "platform/launcher.h"
#include "platform/window_chrome.h"

#include <QCoreApplication>

Platform qtPlatform()
{
    static QtFileChooser files;
    static QtLauncher launcher;
    static QtWindowChrome chrome;
    return {&files, &launcher, &chrome, [] { QCoreApplication::exit(0); }};
}
