// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class FileChooser;
class Launcher;
class WindowChrome;

// Everything the windows ask of the system, gathered so tests can hand in doubles.
struct Platform {
    FileChooser* files;
    Launcher* launcher;
    WindowChrome* chrome;
    std::function<void()> endProgram;
};

// The real one: Qt dialogs, the desktop's opener, the window manager, QCoreApplication::exit.
Platform qtPlatform();
